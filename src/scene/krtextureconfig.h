// Texture configurations: one XML file per picture naming its image, its frame grid and its named
// frame ranges (root element "Texture").
#pragma once

#include "engine/krconfig.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A named range of frames of a sheet; frame numbers index the sprite's frame table.
struct Animation {
    std::string m_name;
    int32_t m_startFrame = 0;
    int32_t m_endFrame = 0;
};

class KRTextureConfig : public KRConfig {
  public:
    explicit KRTextureConfig(const KRConfig& read) : KRConfig(read) {}

    std::string Describe() const override;
    // A new KRTextureConfig filled from the tree's elements.
    std::unique_ptr<KRConfig> CreateTyped() const override;

    float m_width = 0.0f;
    float m_height = 0.0f;
    // Frame columns and rows as written; the sprite decides what a usable grid is.
    float m_scaleX = 0.0f;
    float m_scaleY = 0.0f;
    int32_t m_defaultFrame = 0;
    std::string m_file;
    // 255 when left out, so that a file without it asks for no quad of its own.
    int32_t m_alpha = 255;
    bool m_single = false;
    std::vector<Animation> m_animations;
};

// The loader pattern for a texture file. Many sprites share a few files, so a file already read that
// has settled and not changed since is not read again: the typed configuration made from it, which
// sprites only read, is handed out again. Single-threaded, like every sprite.
std::shared_ptr<const KRTextureConfig> LoadTextureConfig(const std::string& file, ConfigLoad* outcome);

// atoi and atof as the files were written for, without their undefined results: an integer past the
// int32 range is clamped, a number past the float range becomes an infinity.
int32_t ConfigInt(const std::string& text);
float ConfigFloat(const std::string& text);
