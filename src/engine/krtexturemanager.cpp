#include "engine/krtexturemanager.h"

#include "engine/krlog.h"
#include "engine/lookupgeneration.h"

plat::Result TextureManager::Create(const std::string& file, std::unique_ptr<plat::Texture>& out) {
    if (m_device == nullptr) {
        return plat::kErrInvalidCall;
    }
    return plat::D3DXCreateTextureFromFileExA(m_device, file, plat::kD3dxDefault, plat::kD3dxDefault,
                                              plat::kD3dxDefault, 0, plat::kFmtUnknown, plat::kPoolManaged,
                                              plat::kD3dxDefault, plat::kD3dxDefault, 0, out);
}

bool TextureManager::Load(const TextureDesc& desc) {
    auto it = m_entries.find(desc.file);
    if (it != m_entries.end()) {
        LogLine("texture " + desc.file + " is already loaded.");
        ++it->second.count;
        return true;
    }
    std::unique_ptr<plat::Texture> texture;
    if (plat::Failed(Create(desc.file, texture))) {
        return false;
    }
    m_entries.emplace(desc.file, Entry{std::move(texture), desc, 1});
    Changed();
    return true;
}

bool TextureManager::Bind(const std::string& file) {
    auto it = m_entries.find(file);
    if (it == m_entries.end()) {
        LogLine("Couldn't find texture: " + file);
        return false;
    }
    return BindEntry(it->second);
}

bool TextureManager::Bind(const std::string& file, Cache& cache) {
    if (cache.owner != this || cache.generation != m_generation) {
        auto it = m_entries.find(file);
        if (it == m_entries.end()) {
            cache.owner = nullptr;
            LogLine("Couldn't find texture: " + file);
            return false;
        }
        cache.owner = this;
        cache.generation = m_generation;
        cache.found = &*it;
    }
    return BindEntry(cache.found->second);
}

bool TextureManager::BindEntry(const Entry& entry) {
    // Between a device loss and its reset the texture is gone.
    if (m_device == nullptr || !entry.texture) {
        return false;
    }
    m_device->SetTexture(0, entry.texture.get());
    return true;
}

void TextureManager::Changed() {
    m_generation = NextLookupGeneration();
}

bool TextureManager::Unload(const std::string& file) {
    auto it = m_entries.find(file);
    if (it == m_entries.end()) {
        LogLine("Couldn't find texture to unload!");
        return false;
    }
    if (--it->second.count > 0) {
        LogLine("Texture count decremented.");
        return true;
    }
    m_entries.erase(it);
    Changed();
    return true;
}

void TextureManager::ReleaseAll() {
    m_entries.clear();
    Changed();
}

void TextureManager::ReleaseTextures() {
    for (auto& [file, entry] : m_entries) {
        entry.texture.reset();
    }
    Changed();
}

void TextureManager::RebuildTextures() {
    for (auto& [file, entry] : m_entries) {
        if (!entry.texture) {
            Create(file, entry.texture);
        }
    }
    Changed();
}
