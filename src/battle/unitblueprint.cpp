#include "battle/unitblueprint.h"

#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "scene/krtextureconfig.h"

#include <cmath>
#include <filesystem>
#include <system_error>

namespace {

// atof's rules, except that a number the file cannot mean (not finite) is 0.
float StatFloat(const ConfigNode& blueprint, const char* name) {
    const float value = ConfigFloat(blueprint.GetChildValue(name));
    return std::isfinite(value) ? value : 0.0f;
}

} // namespace

std::unique_ptr<KRConfig> KRUnitConfig::CreateTyped() const {
    auto typed = std::make_unique<KRUnitConfig>(static_cast<const KRConfig&>(*this));
    for (const ConfigNode& node : m_nodes) {
        auto unit = std::make_unique<KRUnit>(node.m_name);
        unit->m_typeName = node.m_name;
        unit->HP = StatFloat(node, "HP");
        unit->STR = StatFloat(node, "STR");
        unit->VIT = StatFloat(node, "VIT");
        unit->DEF = StatFloat(node, "DEF");
        unit->MoveSpd = StatFloat(node, "MoveSpd");
        unit->Range = ConfigInt(node.GetChildValue("Range"));
        unit->Accuracy = StatFloat(node, "Accuracy");
        unit->Cost = StatFloat(node, "Cost");
        unit->AttkSpd = StatFloat(node, "AttkSpd");
        unit->Evade = StatFloat(node, "Evade");
        unit->Energy = StatFloat(node, "Energy");
        unit->Force = StatFloat(node, "Force");
        unit->Slots = StatFloat(node, "Slots");
        typed->units.push_back(std::move(unit));
    }
    return typed;
}

std::unique_ptr<KRUnit> CreateUnitFromBlueprint(const std::string& typeName) {
    // Without the file the merchants simply offer nothing; the reader would log every arrival.
    std::error_code error;
    if (!std::filesystem::exists(AssetPaths::kBaseUnitBluePrint, error)) {
        return nullptr;
    }
    const KRConfig read = ReadConfig(AssetPaths::kBaseUnitBluePrint);
    if (read.m_fileName == kConfigErrorFile) {
        return nullptr;
    }
    std::unique_ptr<KRUnitConfig> blueprints = TypedConfig<KRUnitConfig>(read);
    if (!blueprints) {
        LogLine("Fail to load BluePrint from XML");
        return nullptr;
    }
    std::unique_ptr<KRUnit> result;
    for (const auto& blueprint : blueprints->units) {
        if (blueprint != nullptr && blueprint->m_typeName == typeName) {
            // With duplicates the last one wins.
            result = std::make_unique<KRUnit>(*blueprint);
            result->m_sprite.m_visible = true;
            result->m_sprite.m_currentFrame = 0;
            result->m_boundingBox.m_position = {0.0f, 1.0f, 0.0f};
        }
    }
    return result;
}
