// A new game and the HUD box action dispatcher, on the engine singleton with a realm and the kingdom HUD
// as the game has them.
#include "flow_support.h"
#include "engine/engine.h"
#include "flow/boxdispatcher.h"
#include "flow/krscripts.h"
#include "kingdom/gamedata.h"
#include "kingdom/kingdomeditorstate.h"
#include "kingdom/kingdomhud.h"
#include "realm/playereditor.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace flowtest;

class Dispatcher : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSingleton());
        Engine& e = engine();
        ASSERT_TRUE(e.m_audio.Init());
        if (e.m_scripts.m_scripts.empty()) {
            e.m_scripts.Register();
        }
        if (e.m_playerEditor == nullptr) {
            world().m_playerEditor = std::make_unique<PlayerEditor>(&e, &world(), [] { return 0; });
            e.m_playerEditor = world().m_playerEditor.get();
            Captured([&] { BuildKingdomHud(e); });
        }
        e.m_request = REQUEST_RUN;
        e.m_quitting = false;
        e.m_stack.clear();
        e.m_timer.maxDelta = 0.05;
        realm().m_paused = false;
        realm().m_selectedUnit = nullptr;
        world().m_toolMode = TOOL_SELECT;
    }

    static Engine& engine() { return Engine::Instance(); }
    static GameData& world() { return *engine().m_gameData; }
    static PlayerEditor& realm() { return *engine().m_playerEditor; }
    static Lines Dispatch(BoxActionId id, BoxObject* box = nullptr) {
        return Captured([&] { DispatchBoxAction(id, box); });
    }
};

TEST_F(Dispatcher, TheBuildIdsChooseTheirToolsAndDropTheSelectedUnit) {
    const std::pair<BoxActionId, ToolMode> tools[] = {{4, 3},  {5, 4},  {6, 2},   {7, 8},   {8, 5},  {9, 7},
                                                      {10, 6}, {11, 9}, {18, 11}, {19, 10}, {20, 12}};
    KRUnit unit;
    for (const auto& [id, mode] : tools) {
        realm().m_selectedUnit = &unit;
        EXPECT_EQ(Dispatch(id), Lines{}) << id;
        EXPECT_EQ(world().m_toolMode, mode) << id;
        EXPECT_EQ(realm().m_selectedUnit, nullptr) << id;
    }
    realm().m_selectedUnit = nullptr;
}

TEST_F(Dispatcher, CountersAndPagesKeepToTheirRanges) {
    realm().m_purchaseGroupSize = 1.0f;
    Dispatch(14);
    EXPECT_FLOAT_EQ(realm().m_purchaseGroupSize, 1.0f);
    for (int i = 0; i < 9; ++i) {
        Dispatch(13);
    }
    EXPECT_FLOAT_EQ(realm().m_purchaseGroupSize, 9.0f);
    for (BoxActionId id = 51; id <= 58; ++id) {
        Dispatch(id);
        EXPECT_EQ(realm().m_panelMode, id - 46);
    }
    Dispatch(62);
    EXPECT_EQ(realm().m_chosenMastery, 62);
    Dispatch(69);
    EXPECT_EQ(realm().m_unitPanelPage, 3);
    // No action: nothing moves and nothing is said.
    for (BoxActionId id : {0, 43, 49, 75, 90, 100, 112, -1}) {
        EXPECT_EQ(Dispatch(id), Lines{}) << id;
    }
    EXPECT_EQ(realm().m_panelMode, 12);
    EXPECT_EQ(world().m_toolMode, TOOL_SELECT);
}

TEST_F(Dispatcher, ThePauseBoxTogglesAndIsTheOnlyOneThatActsWhilePaused) {
    Dispatch(102);
    EXPECT_TRUE(realm().m_paused);
    EXPECT_DOUBLE_EQ(engine().m_timer.maxDelta, 0.0);
    EXPECT_EQ(realm().m_pauseBox->m_label.m_text, "Resume");
    EXPECT_EQ(Dispatch(4), Lines{});
    EXPECT_EQ(world().m_toolMode, TOOL_SELECT);
    Dispatch(102);
    EXPECT_FALSE(realm().m_paused);
    EXPECT_DOUBLE_EQ(engine().m_timer.maxDelta, 0.05);
    EXPECT_EQ(realm().m_pauseBox->m_label.m_text, "Pause");
}

TEST_F(Dispatcher, MenuBoxesSelectEachOtherAndTheLogFoldsTheMessageBox) {
    BoxObject* build = realm().m_buildMenuBox;
    BoxObject* army = realm().m_armyRosterBox;
    build->m_commands.clear();
    army->m_commands.clear();
    build->m_selectByte = false;
    army->m_selectByte = true;
    Dispatch(98);
    Dispatch(99);
    ASSERT_EQ(build->m_commands.size(), 1u);
    EXPECT_EQ(build->m_commands.front().m_kind, BoxCommandKind::Select);
    EXPECT_TRUE(army->m_commands.empty()) << "an already selected menu";
    // A recruitment closes an open Army list, with or without a unit.
    army->m_folded = true;
    Dispatch(16);
    ASSERT_EQ(army->m_commands.size(), 1u);
    EXPECT_EQ(army->m_commands.front().m_kind, BoxCommandKind::Click);
    build->m_commands.clear();
    army->m_commands.clear();
    army->m_folded = false;

    realm().m_messageBoxVisible = true;
    Dispatch(44);
    EXPECT_TRUE(realm().m_messageWindowBox->m_folded);
    EXPECT_FALSE(realm().m_messageBoxVisible);
    Dispatch(44);
    EXPECT_FALSE(realm().m_messageWindowBox->m_folded);
    EXPECT_TRUE(realm().m_messageBoxVisible);
}

TEST_F(Dispatcher, ScreenIdsRunTheirScriptsAndMailBoxesPostTheirMail) {
    Dispatch(1);
    EXPECT_EQ(engine().m_request, REQUEST_CHANGE);
    EXPECT_EQ(engine().m_lastRequestedState, &KingdomEditorState::Instance());
    engine().m_request = REQUEST_RUN;
    Dispatch(111);
    EXPECT_EQ(engine().m_request, REQUEST_POP);

    BoxObject notice;
    notice.m_mailText = "Wolves at the gate";
    notice.m_mailKind = MAIL_ALERT;
    Captured([&] { world().m_mailList.Clear(); });
    Dispatch(106, &notice);
    ASSERT_EQ(world().m_mailList.m_mails.size(), 1u);
    EXPECT_EQ(world().m_mailList.m_mails.front()->m_text, "Wolves at the gate");
    EXPECT_EQ(world().m_mailList.m_mails.front()->m_kind, MAIL_ALERT);
    EXPECT_EQ(realm().m_dismissRequest, &notice);
    realm().m_dismissRequest = nullptr;
    Captured([&] { world().m_mailList.Clear(); });
}

TEST_F(Dispatcher, DisbandingRemovesOnlyANewlyPurchasedUnit) {
    realm().m_purchasedUnits.push_back(std::make_unique<KRUnit>());
    KRUnit* unit = realm().m_purchasedUnits.back().get();
    realm().m_selectedUnit = unit;
    EXPECT_EQ(Dispatch(17), Lines{"what! disbanding a unit thats not called new purchased unit!!"});
    EXPECT_EQ(realm().m_purchasedUnits.size(), 1u);
    unit->m_name = "New Purchased Unit";
    Dispatch(17);
    EXPECT_TRUE(realm().m_purchasedUnits.empty());
    EXPECT_EQ(realm().m_selectedUnit, nullptr);
}

TEST_F(Dispatcher, AddMoneyGrantsAThousandInMoneyAndTenOfEverythingElse) {
    PlayerEditor& r = realm();
    for (float& stock : r.m_stock) {
        stock = 1.0f;
    }
    r.m_land = 2.0f;
    r.m_masteryPoints = 3;
    Captured([] { RunScript(engine().m_scripts, "AddMoney"); });
    for (int k = 0; k < RESOURCE_COUNT; ++k) {
        EXPECT_FLOAT_EQ(r.m_stock[k], k == RESOURCE_MONEY ? 1001.0f : 11.0f) << k;
    }
    EXPECT_FLOAT_EQ(r.m_land, 12.0f);
    EXPECT_EQ(r.m_masteryPoints, 13);
}

TEST_F(Dispatcher, ANewGameIsTheTutorialMapWithNothingCarriedOver) {
    Dispatch(102);
    realm().m_invasions.emplace_back();
    realm().m_invasions.back().m_countdown = -3.0f;
    realm().m_level = 4;
    realm().m_strengthFactor = 2.5f;
    realm().m_invasionBudget = 80.0f;
    realm().m_purchasedUnits.push_back(std::make_unique<KRUnit>());
    world().m_clickedTile = nullptr;
    Captured([] { EXPECT_TRUE(RunScript(engine().m_scripts, "StartGame")); });

    EXPECT_EQ(engine().m_request, REQUEST_CHANGE);
    EXPECT_EQ(engine().m_lastRequestedState, &KingdomEditorState::Instance());
    EXPECT_FALSE(realm().m_paused);
    EXPECT_EQ(realm().m_pauseBox->m_label.m_text, "Pause");
    EXPECT_TRUE(realm().m_invasions.empty());
    EXPECT_EQ(realm().m_level, 0);
    EXPECT_FLOAT_EQ(realm().m_strengthFactor, 1.0f);
    EXPECT_FLOAT_EQ(realm().m_invasionBudget, 25.0f);
    // Only the starting army, on the map.
    ASSERT_EQ(realm().m_purchasedUnits.size(), world().m_unitRecords.size());
    EXPECT_EQ(world().m_playerUnits.size(), world().m_unitRecords.size());
    const TileMap& map = world().m_tileMap;
    EXPECT_EQ(map.Rows(), 17u);
    EXPECT_EQ(map.Cols(), 17u);
    ASSERT_NE(world().m_capitalTile, nullptr);
    EXPECT_EQ(world().m_capitalTile, map.GetTile(10, 11));
    ASSERT_NE(map.FindBuildingAt(13, 13), nullptr);
    EXPECT_EQ(map.FindBuildingAt(13, 13)->m_buildingType, BUILDING_KEEP);

    // While another request waits, a new game leaves the running one alone.
    Captured([&] { world().m_tileMap.SetTileType(0, 0, TILE_PATH); });
    realm().m_level = 3;
    Captured([] { RunScript(engine().m_scripts, "StartGame"); });
    EXPECT_EQ(realm().m_level, 3);
    EXPECT_EQ(map.GetTile(0, 0)->m_type, TILE_PATH);
    realm().m_level = 0;
    world().m_capitalTile = nullptr;
    Captured([&] { world().m_tileMap.Clear(); });
}

} // namespace
