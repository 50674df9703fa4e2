#include "scene/krtextureconfig.h"

#include "engine/krfilestamp.h"
#include "engine/krlog.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <unordered_map>

namespace {

// A texture file as it was read: its stamp, the type it carried, the cached configuration for that
// type (borrowed, only compared) and the typed configuration made from it.
struct ReadTexture {
    FileStamp stamp;
    std::string type;
    const KRConfig* cached = nullptr;
    std::shared_ptr<const KRTextureConfig> typed;
};

std::unordered_map<std::string, ReadTexture>& ReadTextures() {
    static std::unordered_map<std::string, ReadTexture> read;
    return read;
}

} // namespace

int32_t ConfigInt(const std::string& text) {
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

float ConfigFloat(const std::string& text) {
    double value = std::strtod(text.c_str(), nullptr);
    if (std::isnan(value)) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    if (value > FLT_MAX) {
        return std::numeric_limits<float>::infinity();
    }
    if (value < -FLT_MAX) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

std::string KRTextureConfig::Describe() const {
    std::string out = KRConfig::Describe();
    out += m_file + "\n";
    out += FormatString("%d", m_single ? 1 : 0) + "\n";
    out += FormatString("%d", m_alpha) + "\n";
    for (float value : {m_width, m_height, m_scaleX, m_scaleY}) {
        out += FormatString("%.2f", static_cast<double>(value)) + "\n";
    }
    return out;
}

std::unique_ptr<KRConfig> KRTextureConfig::CreateTyped() const {
    auto typed = std::make_unique<KRTextureConfig>(static_cast<const KRConfig&>(*this));
    for (const ConfigNode& node : m_nodes) {
        const std::string& name = node.m_name;
        if (name == "File") {
            typed->m_file = node.m_text;
        } else if (name == "Single") {
            // Only the exact words count; anything else leaves the flag as it was.
            if (node.m_text == "true") {
                typed->m_single = true;
            } else if (node.m_text == "false") {
                typed->m_single = false;
            }
        } else if (name == "Alpha") {
            typed->m_alpha = ConfigInt(node.m_text);
        } else if (name == "Width") {
            typed->m_width = ConfigFloat(node.m_text);
        } else if (name == "Height") {
            typed->m_height = ConfigFloat(node.m_text);
        } else if (name == "ScaleX") {
            typed->m_scaleX = ConfigFloat(node.m_text);
        } else if (name == "ScaleY") {
            typed->m_scaleY = ConfigFloat(node.m_text);
        } else if (name == "DefaultFrame") {
            typed->m_defaultFrame = ConfigInt(node.m_text);
        } else if (name == "Animation") {
            for (const std::unique_ptr<ConfigNode>& child : node.m_children) {
                if (child == nullptr) {
                    continue;
                }
                typed->m_animations.push_back({child->m_name, ConfigInt(child->GetChildValue("StartFrame")),
                                               ConfigInt(child->GetChildValue("EndFrame"))});
            }
        }
    }
    return typed;
}

std::shared_ptr<const KRTextureConfig> LoadTextureConfig(const std::string& file, ConfigLoad* outcome) {
    auto& readTextures = ReadTextures();
    FileStamp stamp;
    const bool settled = SettledFileStamp(file, stamp);
    if (settled) {
        auto known = readTextures.find(file);
        // Unchanged bytes read to the same type, and the cache answers a type it still holds with the
        // configuration the typed one was made from; a file written since is forgotten there and read
        // anew here.
        if (known != readTextures.end() && known->second.stamp == stamp &&
            ConfigCache::Instance().Find(file, known->second.type) == known->second.cached) {
            if (outcome != nullptr) {
                *outcome = ConfigLoad::Loaded;
            }
            return known->second.typed;
        }
    }
    KRConfig read = ReadConfig(file);
    std::shared_ptr<const KRTextureConfig> typed = TypedConfig<KRTextureConfig>(read, outcome);
    if (typed && settled) {
        readTextures[file] = {stamp, read.m_type, ConfigCache::Instance().Find(file, read.m_type), typed};
    } else {
        readTextures.erase(file);
    }
    return typed;
}
