// What the harnesses and the kingdom benchmark share in making a world without the loading screen: the
// texture folders, a grid of typed tiles and units standing at home on it.
#pragma once

#include "battle/krunit.h"
#include "engine/engine.h"
#include "engine/krtexturescan.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"

#include <filesystem>
#include <memory>
#include <string>

namespace harness {

// The folders whose texture configurations the screens of a world use, listed and loaded.
inline void LoadWorldTextures(Engine& engine) {
    GameData& world = *engine.m_gameData;
    for (const char* folder : {"../Assets", "../Assets/Tiles", "../Assets/Buttons", "../Assets/Boxes",
                               "../Assets/Buildings", "../Assets/Units", "../Assets/Textures/Skybox"}) {
        ListTextureConfigFiles(std::filesystem::path(folder).wstring(), world);
        LoadTextureConfigFiles(folder, world, engine);
    }
}

// A side x side grid with a Capital building; tileType(row, col) gives each cell.
template <typename TileTypeOf>
void MakeGrid(Engine& engine, uint32_t side, uint32_t capitalRow, uint32_t capitalCol, TileTypeOf tileType) {
    TileMap& map = engine.m_gameData->m_tileMap;
    map.Clear();
    map.StartGrid(side, side);
    for (uint32_t row = 0; row < side; ++row) {
        for (uint32_t col = 0; col < side; ++col) {
            auto tile = std::make_unique<KRTile>(row, col, tileType(row, col));
            tile->Load(engine);
            map.AppendTile(std::move(tile));
        }
    }
    map.PlaceBuilding(capitalRow, capitalCol, BUILDING_CAPITAL);
}

// A purchased unit at home on the map, as one placed from the Army list would be.
inline KRUnit* Station(Engine& engine, std::unique_ptr<KRUnit> owned, uint32_t row, uint32_t col) {
    PlayerEditor& realm = *engine.m_playerEditor;
    realm.m_purchasedUnits.push_back(std::move(owned));
    KRUnit* unit = realm.m_purchasedUnits.back().get();
    unit->Load(engine);
    unit->m_pos = {static_cast<float>(col), 0.0f, static_cast<float>(row)};
    unit->Initialize();
    unit->m_homePos = unit->m_pos;
    unit->m_lifeState = UNIT_ACTIVE;
    KRUnit::RemoveDeadMiniUnits(unit);
    unit->m_boundingBox.m_position = {unit->m_pos.x, 0.0f, -unit->m_pos.z};
    engine.m_gameData->AddPlayerUnit(unit);
    return unit;
}

// A unit of a type word, its soldiers loaded, stationed as above.
inline KRUnit* StationType(Engine& engine, const std::string& type, uint32_t row, uint32_t col) {
    auto unit = std::make_unique<KRUnit>(type);
    unit->m_typeName = type;
    for (KRMiniUnit& soldier : unit->m_soldiers) {
        soldier.Load(engine);
    }
    return Station(engine, std::move(unit), row, col);
}

} // namespace harness
