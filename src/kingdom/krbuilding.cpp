#include "kingdom/krbuilding.h"

namespace {

struct BuildingRow {
    const char* name;
    const char* textureConfig;
};

const BuildingRow kBuildingTable[kKnownBuildingTypes] = {
    {"Unknown", "../Assets/Tiles/tilegate.xml"},           {"Capital", "../Assets/tilecapital.xml"},
    {"Barracks", "../Assets/Buildings/barracks_bldg.xml"}, {"Farm", "../Assets/Buildings/farm_bldg.xml"},
    {"House", "../Assets/Buildings/house_bldg.xml"},       {"Smith", "../Assets/Buildings/smith_bldg.xml"},
    {"TechLab", "../Assets/Buildings/techlab_bldg.xml"},   {"Spire", "../Assets/Buildings/spire_bldg.xml"},
    {"BioLab", "../Assets/Buildings/biolab_bldg.xml"},     {"Keep", "../Assets/Buildings/dark_bldg.xml"},
};

constexpr const char* kUnknownBuildingName = "Unknown";
constexpr const char* kUnknownBuildingTexture = "../Assets/Units/elemental_unit.xml";

} // namespace

KRBuilding::KRBuilding(BuildingType type)
    : KRGameObject("KRBuilding", TextureConfigForType(type)), m_buildingType(type) {}

void KRBuilding::Update(float delta) {
    m_sprite.Animate(&delta);
}

std::string KRBuilding::TypeName(BuildingType type) {
    return IsKnownType(type) ? kBuildingTable[type].name : kUnknownBuildingName;
}

std::string KRBuilding::TextureConfigForType(BuildingType type) {
    return IsKnownType(type) ? kBuildingTable[type].textureConfig : kUnknownBuildingTexture;
}
