#include "engine/krtexturemanager.h"

#include "engine/krlog.h"

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
    return true;
}

bool TextureManager::Bind(const std::string& file) {
    auto it = m_entries.find(file);
    if (it == m_entries.end()) {
        LogLine("Couldn't find texture: " + file);
        return false;
    }
    // Between a device loss and its reset the texture is gone.
    if (m_device == nullptr || !it->second.texture) {
        return false;
    }
    m_device->SetTexture(0, it->second.texture.get());
    return true;
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
    return true;
}

void TextureManager::ReleaseAll() {
    m_entries.clear();
}

void TextureManager::ReleaseTextures() {
    for (auto& [file, entry] : m_entries) {
        entry.texture.reset();
    }
}

void TextureManager::RebuildTextures() {
    for (auto& [file, entry] : m_entries) {
        if (!entry.texture) {
            Create(file, entry.texture);
        }
    }
}
