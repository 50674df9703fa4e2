#include "scene/krguiconfig.h"

#include "engine/krlog.h"
#include "scene/krtextureconfig.h"

namespace {

const std::string* FindAttribute(const ConfigAttributes& attributes, const std::string& name) {
    for (const auto& [key, value] : attributes) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

// Placement is required; an element without it is placed at 0 rather than read from nothing.
const std::string& PlacementText(const ConfigAttributes& attributes, const std::string& item,
                                 const std::string& name) {
    static const std::string kZero = "0";
    const std::string* value = FindAttribute(attributes, name);
    if (value == nullptr) {
        LogLine("GUI item " + item + " has no " + name + ", using 0");
        return kZero;
    }
    return *value;
}

} // namespace

std::string KRGUIConfig::Describe() const {
    std::string out = KRConfig::Describe();
    for (const GUIConfigEntry& entry : m_entries) {
        out += entry.m_name + " " + entry.m_type + " " + entry.m_action + " " + entry.m_file + " ";
        out += FormatString("%2.f %2.f %d %d", static_cast<double>(entry.m_x), static_cast<double>(entry.m_y),
                            entry.m_w, entry.m_h);
        out += "\n";
    }
    return out;
}

std::unique_ptr<KRConfig> KRGUIConfig::CreateTyped() const {
    auto typed = std::make_unique<KRGUIConfig>(static_cast<const KRConfig&>(*this));
    static const ConfigAttributes kNone;
    for (const auto& [name, text] : m_childValues) {
        // Attributes are kept per tag, first element first: a repeated tag repeats the first one.
        auto found = m_attributesByElement.find(name);
        const ConfigAttributes& attributes = found != m_attributesByElement.end() ? found->second : kNone;
        GUIConfigEntry entry;
        entry.m_name = name;
        if (const std::string* value = FindAttribute(attributes, "type")) {
            entry.m_type = *value;
        }
        if (const std::string* value = FindAttribute(attributes, "action")) {
            entry.m_action = *value;
        }
        if (const std::string* value = FindAttribute(attributes, "file")) {
            entry.m_file = *value;
        }
        if (const std::string* value = FindAttribute(attributes, "index")) {
            typed->m_index = ConfigInt(*value);
        }
        entry.m_x = ConfigFloat(PlacementText(attributes, name, "x"));
        entry.m_y = ConfigFloat(PlacementText(attributes, name, "y"));
        entry.m_w = ConfigInt(PlacementText(attributes, name, "w"));
        entry.m_h = ConfigInt(PlacementText(attributes, name, "h"));
        typed->m_entries.push_back(std::move(entry));
    }
    return typed;
}
