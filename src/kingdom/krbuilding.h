// A building standing on one cell of the tile map. Its type decides its picture, its display name and
// what the economy counts it as.
#pragma once

#include "scene/krgameobject.h"

#include <cstdint>
#include <string>

// The codes 2 to 9 equal the tool modes that place them.
using BuildingType = int32_t;
inline constexpr BuildingType BUILDING_UNKNOWN = 0;
inline constexpr BuildingType BUILDING_CAPITAL = 1;
inline constexpr BuildingType BUILDING_BARRACKS = 2;
inline constexpr BuildingType BUILDING_FARM = 3;
inline constexpr BuildingType BUILDING_HOUSE = 4;
inline constexpr BuildingType BUILDING_SMITH = 5;
inline constexpr BuildingType BUILDING_TECHLAB = 6;
inline constexpr BuildingType BUILDING_SPIRE = 7;
inline constexpr BuildingType BUILDING_BIOLAB = 8;
inline constexpr BuildingType BUILDING_KEEP = 9;
// Types 0 to 9 are known; anything else only ever comes from a damaged file.
inline constexpr BuildingType kKnownBuildingTypes = 10;

class KRBuilding : public KRGameObject {
  public:
    explicit KRBuilding(BuildingType type);
    // Copies are kept as the record of demolished buildings.
    KRBuilding(const KRBuilding&) = default;
    KRBuilding& operator=(const KRBuilding&) = default;
    ~KRBuilding() override = default;

    void Update(float delta) override;

    std::string TypeName() const { return TypeName(m_buildingType); }
    static std::string TypeName(BuildingType type);
    static std::string TextureConfigForType(BuildingType type);
    static bool IsKnownType(BuildingType type) { return type >= 0 && type < kKnownBuildingTypes; }

    BuildingType m_buildingType;
    float m_health = 5.0f;
    float m_maxHealth = 5.0f;
    uint32_t m_col = 0;
    uint32_t m_row = 0;
};
