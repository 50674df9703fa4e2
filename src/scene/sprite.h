// A textured unit quad whose texture is a grid of frames, with named frame ranges played on the
// sprite's own wall clock. Described by a texture configuration (scene/krtextureconfig.h).
#pragma once

#include "engine/krgeometry.h"
#include "engine/krtexturemanager.h"
#include "engine/krtimer.h"
#include "platform/d3dx.h"
#include "platform/platform.h"
#include "scene/krtextureconfig.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class Engine;

inline constexpr const char* kDefaultTextureFile = "../Assets/defaulttexture.png";

// Grids past these are refused as broken files rather than built.
inline constexpr uint32_t kMaxFrameColumns = 4096;
inline constexpr uint32_t kMaxFrameRows = 4096;
inline constexpr uint32_t kMaxFrames = 65536;

class Sprite {
  public:
    // The animation timer reads the given clock, or the platform's.
    explicit Sprite(plat::Clock* clock = nullptr);

    // Initial values, then the configuration; a configuration that cannot be used gives the
    // default texture as one frame.
    void InitWithXML(const std::string& xmlFile, bool billboard);
    void InitWithXMLConfigObject(const KRConfig& config, bool billboard);

    bool ApplyTextureConfig(const std::string& xmlFile);
    bool ApplyTextureConfigObject(const KRConfig& config);
    void SetFallbackTexture(const std::string& file);

    // Makes the texture and the quad resident in the renderer's managers.
    void Load(Engine& engine);

    bool SetAnimation(const std::string& name);
    void StopAnimation();
    // One step at most; a delta of exactly 0 (the game paused) freezes the sprite.
    void Animate(const float* delta);

    plat::Matrix FrameTextureMatrix() const;
    void Draw(Engine& engine);

    bool m_playing = false;
    bool m_oneShot = false;
    bool m_hold = false;
    std::string m_xmlName;
    GeometryDesc m_quad;
    std::string m_textureFile = kDefaultTextureFile;
    int32_t m_width = 0;
    int32_t m_height = 0;
    // Stored only; drawing picks its quad by the fade level.
    int32_t m_alpha = 0;
    uint32_t m_columns = 1;
    uint32_t m_rows = 1;
    // Used only by billboard drawing.
    plat::Vector3 m_position{0.0f, 0.0f, 0.0f};
    // 0 opaque, then 1 (most transparent), 2 and 3; see Draw.
    int32_t m_fadeLevel = 0;
    bool m_visible = true;
    bool m_layFlat = false;
    bool m_billboard = false;
    float m_scale[2] = {1.0f, 1.0f};
    plat::Vector3 m_facing{0.0f, 0.0f, 1.0f};
    uint32_t m_currentFrame = 0;
    uint32_t m_startFrame = 0;
    uint32_t m_endFrame = 0;
    // (column, row) per frame, row by row.
    std::vector<std::pair<uint32_t, uint32_t>> m_frames;
    float m_secondsPerFrame = 0.05f;
    // Times the picture repeats across the quad, left to right; only a sheet of one frame repeats whole.
    uint32_t m_repeatAcross = 1;
    FrameTimer m_animTimer;
    std::map<std::string, Animation> m_animations;
    // Where the renderer keeps the texture and the quad, found at the last draw.
    TextureManager::Cache m_textureCache;
    GeometryManager::Cache m_quadCache;

  private:
    void ResetToInitial(bool billboard);
    bool ApplyTyped(const KRTextureConfig& config);
};

// The quad name chosen by a fade level: "Quad.0", "Quad.190", "Quad.127", "Quad.63", else "Quad.255".
int32_t FadeLevelAlpha(int32_t fadeLevel);
