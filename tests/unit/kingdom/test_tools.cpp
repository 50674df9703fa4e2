// The tool rules of the kingdom screen on small maps: costs, refusals with their messages, demolishing,
// paths that must connect, cracks, and tile placement.
#include "battle/krunit.h"
#include "captured_log.h"
#include "kingdom/kingdomeditorstate.h"
#include "kingdom/kingdomhud.h"
#include "kingdom_support.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"
#include "scene/worldobject.h"

#include <algorithm>

using kingdomtest::KingdomEngineTest;
using kingdomtest::MakeMap;
using kingdomtest::Picture;
using logtest::CapturedLog;

namespace {

class Tools : public KingdomEngineTest {
  protected:
    void SetUp() override {
        KingdomEngineTest::SetUp();
        world().m_playerEditor = std::make_unique<PlayerEditor>(engine.get(), &world(), [] { return 0; });
        engine->m_playerEditor = world().m_playerEditor.get();
        realm().m_tutorial = false;
        realm().m_messages.clear();
        world().m_mailList.Clear();
    }
    PlayerEditor& realm() { return *engine->m_playerEditor; }
    float& money() { return realm().m_stock[RESOURCE_MONEY]; }

    void Click(ToolMode mode, uint32_t row, uint32_t col) {
        world().m_toolMode = mode;
        world().m_clickedTile = world().m_tileMap.GetTile(row, col);
        ASSERT_NE(world().m_clickedTile, nullptr);
        KingdomEditorState::ApplyToolToTile(*engine);
    }
    std::vector<std::string> MailTexts() {
        std::vector<std::string> texts;
        for (const auto& mail : world().m_mailList.m_mails) {
            texts.push_back(mail->m_text);
        }
        return texts;
    }
};

TEST_F(Tools, ABuildingCostsAHundredOnAPathAndIsRefusedElsewhere) {
    MakeMap(world().m_tileMap, {"C##.", "....", "...."});
    money() = 100.0f;
    Click(3, 1, 0); // Empty: not a place for a building
    EXPECT_EQ(Picture(world().m_tileMap)[1], "....");
    EXPECT_FLOAT_EQ(money(), 100.0f);
    EXPECT_TRUE(realm().m_messages.empty());

    Click(3, 0, 1);
    EXPECT_EQ(Picture(world().m_tileMap)[0], "CB#.");
    const KRBuilding* farm = world().m_tileMap.FindBuildingAt(0, 1);
    ASSERT_NE(farm, nullptr);
    EXPECT_EQ(farm->m_buildingType, BUILDING_FARM);
    EXPECT_FLOAT_EQ(money(), 0.0f);

    // Broke: every tool but the path is refused, with the message and one mail.
    Click(3, 0, 2);
    Click(TOOL_CRACK, 1, 1);
    EXPECT_EQ(Picture(world().m_tileMap), (std::vector<std::string>{"CB#.", "....", "...."}));
    ASSERT_EQ(realm().m_messages.size(), 2u);
    EXPECT_EQ(realm().m_messages.front().m_text, "You Don't Have Enough Money");
    EXPECT_EQ(MailTexts(), (std::vector<std::string>{"My Lord, our coffers are empty!"}));
}

TEST_F(Tools, ABuildingNeedsTheWholePriceAndAFreeCell) {
    MakeMap(world().m_tileMap, {"C##"});
    money() = 99.0f;
    Click(4, 0, 1);
    EXPECT_EQ(Picture(world().m_tileMap)[0], "C##");
    EXPECT_FLOAT_EQ(money(), 99.0f);
    EXPECT_TRUE(realm().m_messages.empty());
}

TEST_F(Tools, APathMustTouchTheKingdomAndUsesTheAllowanceNotMoney) {
    MakeMap(world().m_tileMap, {"C...", "....", "...."});
    money() = 0.0f;
    realm().m_land = 2.0f;
    Click(TOOL_PATH, 0, 1);
    Click(TOOL_PATH, 2, 3); // touches nothing
    EXPECT_EQ(Picture(world().m_tileMap), (std::vector<std::string>{"C#..", "....", "...."}));
    EXPECT_FLOAT_EQ(realm().m_land, 1.0f);
    ASSERT_EQ(world().m_tileMap.m_pavedTiles.size(), 1u);
    EXPECT_EQ(world().m_tileMap.m_pavedTiles.front().m_type, TILE_PATH);
    EXPECT_TRUE(realm().m_messages.empty());

    Click(TOOL_PATH, 0, 2);
    EXPECT_FLOAT_EQ(realm().m_land, 0.0f);
    Click(TOOL_PATH, 0, 3); // allowance spent
    EXPECT_EQ(Picture(world().m_tileMap)[0], "C##.");
}

TEST_F(Tools, DemolishingLeavesPathKeepsACopyAndSparesTheCapital) {
    MakeMap(world().m_tileMap, {"C#.", "###"});
    money() = 500.0f;
    Click(3, 1, 1);
    ASSERT_EQ(Picture(world().m_tileMap)[1], "#B#");
    Click(TOOL_DEMOLISH, 1, 1);
    EXPECT_EQ(Picture(world().m_tileMap)[1], "###");
    EXPECT_EQ(world().m_tileMap.FindBuildingAt(1, 1), nullptr);
    ASSERT_EQ(world().m_tileMap.m_removedBuildings.size(), 1u);
    EXPECT_EQ(world().m_tileMap.m_removedBuildings.front().m_buildingType, BUILDING_FARM);
    EXPECT_EQ(world().m_tileMap.m_removedBuildings.front().m_row, 1u);
    EXPECT_FLOAT_EQ(money(), 400.0f); // free

    Click(TOOL_DEMOLISH, 0, 2); // nothing stands there
    EXPECT_EQ(Picture(world().m_tileMap)[0], "C#.");
    EXPECT_EQ(world().m_tileMap.m_removedBuildings.size(), 1u);

    Click(TOOL_DEMOLISH, 0, 0);
    EXPECT_EQ(Picture(world().m_tileMap)[0], "C#.");
    const std::string tabs(18, '\t');
    // Three lines: the second starts with a blank before its tabs.
    EXPECT_EQ(MailTexts(), (std::vector<std::string>{"My Lord, are you crazy?!\n " + tabs +
                                                     "Please don't destroy our capital\n" + tabs +
                                                     "You are suppose to defend it"}));
}

TEST_F(Tools, CrackTakesOnlyEmptyAndPath) {
    MakeMap(world().m_tileMap, {".#BGC"});
    money() = 10.0f;
    for (uint32_t col = 0; col < 5; ++col) {
        Click(TOOL_CRACK, 0, col);
    }
    EXPECT_EQ(Picture(world().m_tileMap)[0], "xxBGC");
    EXPECT_FLOAT_EQ(money(), 10.0f);
}

TEST_F(Tools, AToolLeavesNoPointerToTheTileItReplaced) {
    MakeMap(world().m_tileMap, {"C#."});
    money() = 100.0f;
    Click(3, 0, 1);
    // The clicked tile is either gone from the world or the tile now in the cell.
    EXPECT_TRUE(world().m_clickedTile == nullptr || world().m_clickedTile == world().m_tileMap.GetTile(0, 1));
}

TEST_F(Tools, PlacingTilesAllowsOneCapital) {
    MakeMap(world().m_tileMap, {"C..", "..."});
    money() = 5.0f;
    world().m_editSubMode = 2;
    world().m_typeToPlace = TILE_CAPITAL;
    world().m_previewObject = std::make_unique<KRTile>(0, 0, TILE_CAPITAL);
    Click(TOOL_SELECT, 1, 1);
    EXPECT_EQ(Picture(world().m_tileMap)[1], "...");
    EXPECT_EQ(MailTexts(), (std::vector<std::string>{"You can only have 1 Capital"}));

    world().m_typeToPlace = TILE_PATH;
    world().m_previewObject = std::make_unique<KRTile>(0, 0, TILE_PATH);
    Click(TOOL_SELECT, 1, 1);
    EXPECT_EQ(Picture(world().m_tileMap)[1], ".#.");
    EXPECT_FLOAT_EQ(money(), 4.0f);
    EXPECT_EQ(world().m_clickedTile, nullptr);
}

TEST_F(Tools, ABuildingThatWouldCloseTheLastWayInIsRefusedForFree) {
    MakeMap(world().m_tileMap, {"G###", "#..#", "###C"});
    money() = 300.0f;
    Click(3, 0, 1); // the road round the other side still leads in
    CapturedLog log;
    engine->m_input.pressCount[MOUSE_LEFT] = 7;
    Click(4, 2, 1);
    Click(4, 2, 1); // held over the cell: one letter, one line
    Click(4, 2, 2);
    Click(4, 2, 1);
    engine->m_input.pressCount[MOUSE_LEFT] = 8; // pressed anew
    Click(4, 2, 1);
    const std::string kept = "Kept the way in open at Tile - Building | (Row: 2, Col: ";
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{kept + "1)", kept + "2)", kept + "1)"}));
    EXPECT_EQ(Picture(world().m_tileMap), (std::vector<std::string>{"GB##", "#..#", "###C"}));
    EXPECT_FLOAT_EQ(money(), 200.0f);
    EXPECT_EQ(MailTexts(),
              (std::vector<std::string>{"My Lord, keep a road open from the gates to our capital!"}));
}

TEST_F(Tools, ATilePaintedOverTheLastWayInItsGateOrItsCapitalIsRefusedForFree) {
    MakeMap(world().m_tileMap, {"G#C"});
    money() = 5.0f;
    world().m_editSubMode = 2;
    world().m_previewObject = std::make_unique<KRTile>(0, 0, TILE_EMPTY);
    for (const auto& [col, type] : {std::pair{1u, TILE_EMPTY},
                                    {1u, TILE_BARRACKS},
                                    {0u, TILE_PATH},
                                    {2u, TILE_PATH},
                                    {1u, TILE_CRACK}}) {
        world().m_typeToPlace = type;
        Click(TOOL_SELECT, 0, col);
    }
    EXPECT_EQ(Picture(world().m_tileMap)[0], "GxC"); // only the crack still lets them in
    EXPECT_FLOAT_EQ(money(), 4.0f);
    EXPECT_EQ(MailTexts().size(), 1u);
}

class UnitTools : public Tools {
  protected:
    void SetUp() override {
        Tools::SetUp();
        BuildKingdomHud(*engine);
        MakeMap(world().m_tileMap, {"C#..", ".#x.", "...."});
        money() = 500.0f;
        realm().m_land = 5.0f;
    }
    void TearDown() override {
        world().m_playerUnits.clear();
        Tools::TearDown();
    }
    // A purchased unit standing at (row, col) on the map.
    KRUnit* Station(uint32_t row, uint32_t col) {
        realm().m_purchasedUnits.push_back(std::make_unique<KRUnit>("Elvenkind"));
        KRUnit* unit = realm().m_purchasedUnits.back().get();
        unit->m_pos = {static_cast<float>(col), 0.0f, static_cast<float>(row)};
        world().AddPlayerUnit(unit);
        return unit;
    }
};

TEST_F(UnitTools, AUnitOnACellBlocksEveryToolAndTilePlacement) {
    Station(1, 1);
    Station(2, 0);
    const std::vector<std::string> before = Picture(world().m_tileMap);
    for (ToolMode mode : {TOOL_DEMOLISH, TOOL_CRACK, 3}) {
        Click(mode, 1, 1);
    }
    Click(TOOL_PATH, 2, 0);
    EXPECT_EQ(Picture(world().m_tileMap), before);
    EXPECT_FLOAT_EQ(money(), 500.0f);
    EXPECT_FLOAT_EQ(realm().m_land, 5.0f);

    world().m_editSubMode = 2;
    world().m_typeToPlace = TILE_GATE;
    world().m_previewObject = std::make_unique<KRTile>(0, 0, TILE_GATE);
    Click(TOOL_SELECT, 2, 0);
    EXPECT_EQ(MailTexts(), (std::vector<std::string>{"This Tile is occupied"}));
    EXPECT_EQ(Picture(world().m_tileMap), before);
    // One cell over the unit's place is free.
    Click(TOOL_SELECT, 2, 1);
    EXPECT_EQ(Picture(world().m_tileMap)[2], ".G..");
}

TEST_F(UnitTools, ASelectedPurchasedUnitMarchesOntoPathOrCrackOnly) {
    KRUnit* unit = Station(0, 1);
    unit->Size = 3;
    unit->m_soldiers.resize(3, KRMiniUnit(unit, KRUnit::SpriteFileOfType("Elvenkind")));
    Click(TOOL_SELECT, 0, 1);
    ASSERT_EQ(realm().m_selectedUnit, unit);
    ASSERT_NE(realm().m_selectionMarker, nullptr);
    EXPECT_TRUE(realm().m_selectionMarker->m_sprite.m_visible);

    Click(TOOL_SELECT, 2, 3); // Empty: stays
    EXPECT_FLOAT_EQ(unit->m_pos.x, 1.0f);
    EXPECT_FLOAT_EQ(unit->m_pos.z, 0.0f);

    Click(TOOL_SELECT, 1, 2); // Crack
    EXPECT_FLOAT_EQ(unit->m_pos.x, 2.0f);
    EXPECT_FLOAT_EQ(unit->m_pos.z, 1.0f);
    EXPECT_FLOAT_EQ(unit->m_homePos.x, 2.0f);
    EXPECT_FLOAT_EQ(unit->m_homePos.z, 1.0f);
    EXPECT_EQ(unit->m_lifeState, UNIT_ACTIVE);
    EXPECT_FALSE(unit->m_sprite.m_visible);
    EXPECT_FLOAT_EQ(unit->m_boundingBox.m_position.x, 2.0f);
    EXPECT_FLOAT_EQ(unit->m_boundingBox.m_position.z, -1.0f);
    EXPECT_EQ(world().m_playerUnits.size(), 1u);
    EXPECT_EQ(world().FindUnitOnTile(world().m_tileMap.GetTile(1, 2)), unit);
    // The squad stands in a row around its new place.
    ASSERT_EQ(unit->m_soldiers.size(), 3u);
    float lowest = 10.0f;
    for (const KRMiniUnit& soldier : unit->m_soldiers) {
        lowest = std::min(lowest, soldier.m_formationSpot.x);
    }
    EXPECT_FLOAT_EQ(lowest, 1.75f);

    // A technology is selected like any unit but never leaves its roster for the map.
    realm().m_baseUnits.push_back(std::make_unique<KRUnit>("Golem"));
    realm().m_selectedUnit = realm().m_baseUnits.back().get();
    Click(TOOL_SELECT, 1, 1);
    EXPECT_EQ(world().m_playerUnits.size(), 1u);
    EXPECT_EQ(world().FindUnitOnTile(world().m_tileMap.GetTile(1, 1)), nullptr);
}

TEST_F(UnitTools, SelectingAUnitOnTheMapPutsTheGlowOverItsRosterBoxWhileTheArmyListIsOpen) {
    KRUnit* unit = Station(0, 1);
    BoxObject* army = realm().m_armyRosterBox;
    ASSERT_NE(army, nullptr);
    BoxObject* back = army->m_next;
    ASSERT_NE(back, nullptr);
    // A roster box for the unit, chained in after the "<<" arrow.
    world().m_hudBoxes.push_back(std::make_unique<BoxObject>());
    BoxObject* roster = world().m_hudBoxes.back().get();
    roster->m_linkedUnit = unit;
    roster->m_actionId = 104;
    roster->m_panel = ROSTER_PURCHASED;
    roster->m_layoutPosition = {-3.0f, 0.0f, -4.5f};
    roster->m_boundingBox.m_scale[0] = 0.75f;
    roster->m_boundingBox.m_scale[1] = 0.75f;
    roster->m_next = back->m_next;
    back->m_next = roster;
    BoxObject* glow = realm().m_unitTooltipBox;
    ASSERT_NE(glow, nullptr);

    back->m_folded = true; // the list is closed
    Click(TOOL_SELECT, 0, 1);
    EXPECT_EQ(realm().m_selectedUnit, unit);
    EXPECT_NE(glow->m_layoutPosition.x, -3.0f);

    back->m_folded = false;
    realm().m_tooltipActionId = 0;
    Click(TOOL_SELECT, 0, 1);
    EXPECT_FLOAT_EQ(glow->m_layoutPosition.x, -3.0f);
    EXPECT_FLOAT_EQ(glow->m_layoutPosition.z, -4.5f);
    EXPECT_TRUE(glow->m_sprite.m_visible);
    EXPECT_EQ(realm().m_tooltipActionId, 104);
    EXPECT_EQ(realm().m_tooltipKind, ROSTER_PURCHASED);
}

TEST_F(UnitTools, ClickingARosterBoxSelectsItsUnitAndMarksItOnTheMap) {
    KRUnit* unit = Station(2, 3);
    unit->m_boundingBox.m_position = {3.0f, 0.0f, -2.0f};
    world().m_hudBoxes.push_back(std::make_unique<BoxObject>());
    BoxObject* roster = world().m_hudBoxes.back().get();
    roster->m_linkedUnit = unit;
    roster->m_actionId = 104;
    world().m_toolMode = TOOL_PATH;
    WorldObject* marker = realm().m_selectionMarker;
    ASSERT_NE(marker, nullptr);
    marker->m_sprite.m_visible = false;

    roster->QueueCommand(BoxCommandKind::Click, 0.0f);
    roster->Update(0.016f);
    EXPECT_EQ(realm().m_selectedUnit, unit);
    EXPECT_EQ(world().m_toolMode, TOOL_SELECT);
    EXPECT_EQ(realm().m_lastClickedBox, roster);
    EXPECT_TRUE(marker->m_sprite.m_visible);
    EXPECT_FLOAT_EQ(marker->m_boundingBox.m_position.x, 3.0f);
}

} // namespace
