// Textures by file path, counted by the sprites that use them.
#pragma once

#include "platform/gfx.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

// What a sprite asks for: its texture file, then its width, height and alpha.
struct TextureDesc {
    std::string file;
    int32_t width = 0;
    int32_t height = 0;
    int32_t alpha = 0;
};

class TextureManager {
  public:
    struct Entry {
        std::unique_ptr<plat::Texture> texture;
        TextureDesc desc;
        int32_t count = 0;
    };

    // The device is borrowed; every texture goes before it does.
    void SetDevice(plat::Device* device) { m_device = device; }

    // A sprite's own memory of where its texture is, so that drawing need not look the path up.
    struct Cache {
        const TextureManager* owner = nullptr;
        uint64_t generation = 0;
        // The manager's own node. A cache holds the look-up of one file: whoever binds another file with it
        // clears it first (comparing the names on every draw costs a tile map a cache miss a tile).
        const std::pair<const std::string, Entry>* found = nullptr;
    };

    bool Load(const TextureDesc& desc);
    bool Bind(const std::string& file);
    // As Bind; the look-up is made again only when the path, the manager or its entries changed.
    bool Bind(const std::string& file, Cache& cache);
    bool Unload(const std::string& file);
    void ReleaseAll();

    // Device resets: the textures go, paths and counts stay; then they are read again.
    void ReleaseTextures();
    void RebuildTextures();

    const std::map<std::string, Entry>& Entries() const { return m_entries; }

  private:
    plat::Result Create(const std::string& file, std::unique_ptr<plat::Texture>& out);
    bool BindEntry(const Entry& entry);
    // Any change to the entries makes every cache stale.
    void Changed();

    plat::Device* m_device = nullptr;
    std::map<std::string, Entry> m_entries;
    uint64_t m_generation = 0;
};
