// A small world to fight on: the engine of the unit tests with a realm, a hand-drawn tile map, and
// units made ready for a battle without pictures.
#pragma once

#include "battle/unit_support.h"
#include "engine/engine.h"
#include "kingdom/gamedata.h"
#include "realm/playereditor.h"

#include <memory>
#include <string>
#include <vector>

namespace battletest {

class BattleTest : public unittest::UnitTest {
  protected:
    void SetUp() override {
        UnitTest::SetUp();
        world().m_playerEditor = std::make_unique<PlayerEditor>(engine.get(), &world(), [] { return 0; });
        engine->m_playerEditor = world().m_playerEditor.get();
        std::fill(std::begin(realm().m_masteryMod), std::end(realm().m_masteryMod), 0.0f);
    }
    void TearDown() override {
        world().m_projectiles.clear();
        world().m_scatterEffects.clear();
        world().m_enemyUnits.clear();
        world().m_playerUnits.clear();
        engine->m_playerEditor = nullptr;
        world().m_playerEditor.reset();
        UnitTest::TearDown();
    }

    GameData& world() { return *engine->m_gameData; }
    PlayerEditor& realm() { return *world().m_playerEditor; }

    // Rows of the map, one character per cell: '.' empty, '#' path, 'B' building, 'G' gate, 'C' capital
    // (with its building), '~' crack.
    void DrawMap(const std::vector<std::string>& rows) {
        TileMap& map = world().m_tileMap;
        map.StartGrid(static_cast<uint32_t>(rows.size()), static_cast<uint32_t>(rows[0].size()));
        for (uint32_t r = 0; r < rows.size(); ++r) {
            for (uint32_t c = 0; c < rows[r].size(); ++c) {
                const char cell = rows[r][c];
                const TileType type = cell == '#'   ? TILE_PATH
                                      : cell == 'B' ? TILE_BUILDING
                                      : cell == 'G' ? TILE_GATE
                                      : cell == 'C' ? TILE_CAPITAL
                                      : cell == '~' ? TILE_CRACK
                                                    : TILE_EMPTY;
                map.AppendTile(std::make_unique<KRTile>(r, c, type));
                if (cell == 'C') {
                    map.PlaceBuilding(r, c, BUILDING_CAPITAL);
                }
            }
        }
        world().FindCapitalTile();
    }

    // A unit of the given side standing Active at (column, row).
    static std::unique_ptr<KRUnit> MakeUnit(bool playerSide, float col, float row, int32_t size = 1) {
        auto unit = std::make_unique<KRUnit>("Golem");
        unit->m_typeName = playerSide ? "Guard" : "Raider";
        unit->m_playerSide = playerSide;
        unit->m_race = RACE_GOLEM;
        unit->Size = size;
        unit->m_soldiers.clear();
        for (int32_t i = 0; i < size; ++i) {
            unit->m_soldiers.emplace_back(unit.get(), unit->m_sprite.m_xmlName);
        }
        unit->m_pos = unit->m_homePos = unit->m_waypoint = {col, 0.0f, row};
        unit->Initialize();
        unit->m_waypoint = unit->m_pos;
        unit->m_lifeState = UNIT_ACTIVE;
        KRUnit::RemoveDeadMiniUnits(unit.get());
        return unit;
    }
};

} // namespace battletest
