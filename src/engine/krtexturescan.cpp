#include "engine/krtexturescan.h"

#include "engine/engine.h"
#include "engine/krconfig.h"
#include "engine/krlog.h"
#include "kingdom/gamedata.h"
#include "scene/sprite.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// UTF-8 of a wide path. A value that is no Unicode character shows as '?' and makes the result false:
// such a folder cannot be named on disk.
bool WideToUtf8(const std::wstring& wide, std::string& out) {
    bool valid = true;
    out.clear();
    for (wchar_t wc : wide) {
        auto c = static_cast<uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || c == 0) {
            out += '?';
            valid = false;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return valid;
}

} // namespace

bool ListTextureConfigFiles(const std::wstring& folder, GameData& gameData) {
    std::string narrow;
    bool nameable = WideToUtf8(folder, narrow);
    // The pattern the listing was written for; the log line that follows continues it.
    LogText(narrow + "\\*");
    if (!nameable) {
        return false;
    }
    std::error_code error;
    fs::directory_iterator entry(fs::path(narrow), error);
    if (error) {
        return false;
    }
    for (; entry != fs::directory_iterator(); entry.increment(error)) {
        std::error_code typeError;
        if (entry->is_directory(typeError)) {
            continue;
        }
        std::string name = entry->path().filename().string();
        if (name.find(".xml") != std::string::npos) {
            gameData.m_textureConfigs.emplace(name, name);
        }
    }
    if (error) {
        return false;
    }
    LogLine("All Texture XML Files Added: ");
    return true;
}

bool LoadTextureConfigFiles(const std::string& folder, GameData& gameData, Engine& engine) {
    for (const auto& listed : gameData.m_textureConfigs) {
        std::string file = folder + "/" + listed.first;
        // Names listed from another folder are tried here too; where there is no such file, nothing
        // is said. A file that is there but broken is logged by the configuration layer.
        std::error_code error;
        if (!fs::is_regular_file(fs::path(file), error)) {
            continue;
        }
        KRConfig config = ReadConfig(file);
        if (config.m_fileName == kConfigErrorFile || config.m_elementName != "Texture") {
            continue;
        }
        // The sprite goes; what it loaded stays resident.
        Sprite sprite;
        sprite.InitWithXMLConfigObject(config, false);
        sprite.Load(engine);
    }
    return true;
}
