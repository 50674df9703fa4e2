// The tool rules of the kingdom screen on small maps: costs, refusals with their messages, demolishing,
// paths that must connect, cracks, and tile placement.
#include "kingdom/kingdomeditorstate.h"
#include "kingdom_support.h"
#include "realm/playereditor.h"

using kingdomtest::KingdomEngineTest;
using kingdomtest::MakeMap;
using kingdomtest::Picture;

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
    EXPECT_EQ(MailTexts(), (std::vector<std::string>{"My Lord, are you crazy?!\n \n" + tabs +
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

} // namespace
