// The world's list of the player's units on the map: finding the unit on a tile and adding units once.
#include "battle/unit_support.h"

#include "engine/engine.h"
#include "kingdom/gamedata.h"
#include "kingdom/krtile.h"

#include <gtest/gtest.h>

#include <list>

namespace {

using unittest::UnitTest;

class UnitWorldTest : public UnitTest {
  protected:
    GameData& world() { return *engine->m_gameData; }
};

TEST_F(UnitWorldTest, TheUnitOnATileStandsAtItsColumnAndRowWithZeroHeight) {
    const KRTile tile(13, 11, TILE_PATH);
    KRUnit mirrored;
    mirrored.m_pos = {11.0f, 0.0f, -13.0f};
    KRUnit swapped;
    swapped.m_pos = {13.0f, 0.0f, 11.0f};
    KRUnit raised;
    raised.m_pos = {11.0f, 0.5f, 13.0f};
    KRUnit nearly;
    nearly.m_pos = {11.0f, 0.0f, 13.001f};
    KRUnit standing;
    standing.m_pos = {11.0f, 0.0f, 13.0f};
    KRUnit second;
    second.m_pos = {11.0f, 0.0f, 13.0f};
    for (KRUnit* unit : {&mirrored, &swapped, &raised, &nearly}) {
        world().AddPlayerUnit(unit);
    }
    EXPECT_EQ(world().FindUnitOnTile(&tile), nullptr);
    world().AddPlayerUnit(&standing);
    world().AddPlayerUnit(&second);
    // The first of two on one cell.
    EXPECT_EQ(world().FindUnitOnTile(&tile), &standing);
    EXPECT_EQ(world().FindUnitOnTile(nullptr), nullptr);
    const KRTile corner(0, 0, TILE_PATH);
    EXPECT_EQ(world().FindUnitOnTile(&corner), nullptr);
    world().m_playerUnits.clear();
}

TEST_F(UnitWorldTest, AUnitIsAddedToTheMapOnlyOnce) {
    KRUnit first;
    KRUnit second;
    world().AddPlayerUnit(&first);
    world().AddPlayerUnit(&second);
    world().AddPlayerUnit(&first);
    world().AddPlayerUnit(nullptr);
    EXPECT_EQ(world().m_playerUnits, (std::list<KRUnit*>{&first, &second}));
    world().m_playerUnits.clear();
}

} // namespace
