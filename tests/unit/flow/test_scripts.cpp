// The script registry and the scripts that act on the engine alone, run on the engine singleton as the
// game runs them; the engine's numbered commands.
#include "flow_support.h"
#include "engine/engine.h"
#include "flow/krscripts.h"
#include "battle/krunit.h"
#include "battle/uniteditorstate.h"
#include "realm/playereditor.h"
#include "kingdom/gamedata.h"
#include "kingdom/kingdomeditorstate.h"
#include "platform/null/nullaudio.h"
#include "platform/null/nullgraphics.h"
#include "platform/null/nullplatform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace flowtest;

class Scripts : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(StartSingleton());
        Engine& e = engine();
        ASSERT_TRUE(e.m_audio.Init());
        if (e.m_scripts.m_scripts.empty()) {
            e.m_scripts.Register();
        }
        // Each test starts on a running engine with time and sound as a fresh game has them.
        e.m_request = REQUEST_RUN;
        e.m_quitting = false;
        e.m_stack.clear();
        e.m_showDebugInfo = false;
        e.m_timer.maxDelta = 0.05;
        e.m_timer.scale = 1.0;
        e.m_timer.scaleOn = false;
        e.m_audio.effectsGroup.SetPaused(false);
        e.m_audio.musicGroup.SetPaused(false);
        e.m_audio.musicGroup.SetVolume(1.0f);
    }

    static Engine& engine() { return Engine::Instance(); }

    static bool Run(const std::string& name) { return RunScript(engine().m_scripts, name); }

    static bool Paused(const plat::ChannelGroup& group) {
        bool paused = false;
        EXPECT_EQ(group.GetPaused(&paused), plat::kAudioOk);
        return paused;
    }
    static float Volume(const plat::ChannelGroup& group) {
        float volume = -1.0f;
        EXPECT_EQ(group.GetVolume(&volume), plat::kAudioOk);
        return volume;
    }
};

TEST_F(Scripts, TheRegistryHoldsTheFiftyTwoNamesInOrderWithTheTwoPairsSharingAFunction) {
    std::istringstream written(
        "GoToStory StartGame LoadGame Options PopState Pause Resume ChangeTileType SaveMap ResetMap "
        "ExpandMap ToggleView TimeMultiplierOn TimeMultiplierOff TimeMultiplierIncrement "
        "TimeMultiplierDecrement UStatAddHp UStatMinusHp UStatAddStr UStatMinusStr UStatAddVit "
        "UStatMinusVit UStatAddDef UStatMinusDef UStatAddMoveSpd UStatMinusMovSpd UStatAddRange "
        "UStatMinusRange ChangeUnitType MainMenu Kingdom Unit Warring ReturnPrevState UStatConfirm "
        "UStatReset Resolution800x600 Resolution1024x768 Resolution1440x900 FullScreenToggle "
        "ToggleMuteMusic ToggleDisplayDebugInfo PushPauseMenu PauseMenuReturnToGame ExitToMainMenu "
        "ExitGame PushCredits PushHowToPlay PushQuitConfirmation AddMoney SkipCorvessaSplash "
        "SkipLumbrakeSplash");
    const std::vector<std::string> names{std::istream_iterator<std::string>(written),
                                         std::istream_iterator<std::string>()};
    ASSERT_EQ(names.size(), 52u);
    std::vector<std::string> order;
    for (const ScriptRow& row : kScriptTable) {
        order.emplace_back(row.m_name);
    }
    EXPECT_EQ(order, names);
    const auto& scripts = engine().m_scripts.m_scripts;
    std::set<std::string> registered;
    std::set<ScriptFunction> functions;
    for (const auto& [name, function] : scripts) {
        registered.insert(name);
        functions.insert(function);
        EXPECT_NE(function, nullptr) << name;
    }
    EXPECT_EQ(registered, std::set<std::string>(names.begin(), names.end()));
    EXPECT_EQ(functions.size(), 50u);
    EXPECT_EQ(scripts.at("PopState"), scripts.at("ReturnPrevState"));
    EXPECT_EQ(scripts.at("MainMenu"), scripts.at("ExitToMainMenu"));
}

TEST_F(Scripts, ANameThatIsNotRegisteredIsReportedWithoutItselfAndRunsNothing) {
    for (const std::string& name : {std::string("UStatMinusMoveSpd"), std::string("pause"), std::string(""),
                                    std::string("PopState ")}) {
        bool result = true;
        EXPECT_EQ(Captured([&] { result = Run(name); }), Lines{"Cannot find script by name"}) << name;
        EXPECT_FALSE(result) << name;
    }
    EXPECT_EQ(engine().m_request, REQUEST_RUN);
}

TEST_F(Scripts, PopStateAndReturnPrevStateAskForAPopOnlyWhenNothingIsPending) {
    for (const char* name : {"PopState", "ReturnPrevState"}) {
        engine().m_request = REQUEST_RUN;
        EXPECT_EQ(Captured([&] { EXPECT_TRUE(Run(name)); }), Lines{}) << name;
        EXPECT_EQ(engine().m_request, REQUEST_POP) << name;
        // A second request in the frame is refused; the first stands.
        EXPECT_EQ(Captured([&] { EXPECT_TRUE(Run(name)); }), Lines{"Pop State request rejected."}) << name;
        EXPECT_EQ(engine().m_request, REQUEST_POP) << name;
    }
    engine().m_request = REQUEST_RUN;
    engine().m_quitting = true;
    EXPECT_EQ(Captured([&] { Run("PopState"); }), Lines{"Pop State request rejected."});
    EXPECT_EQ(engine().m_request, REQUEST_RUN);
}

TEST_F(Scripts, MainMenuAndExitToMainMenuGoToTheRootAndResumeEvenWhenRefused) {
    for (const char* name : {"MainMenu", "ExitToMainMenu"}) {
        engine().m_request = REQUEST_RUN;
        Run("Pause");
        EXPECT_EQ(Captured([&] { Run(name); }), Lines{}) << name;
        EXPECT_EQ(engine().m_request, REQUEST_POP_TO_ROOT) << name;
        EXPECT_DOUBLE_EQ(engine().m_timer.maxDelta, 0.05) << name;

        Run("Pause");
        engine().m_request = REQUEST_CHANGE;
        EXPECT_EQ(Captured([&] { Run(name); }), Lines{"Return to Root State request rejected."}) << name;
        EXPECT_EQ(engine().m_request, REQUEST_CHANGE) << name;
        EXPECT_DOUBLE_EQ(engine().m_timer.maxDelta, 0.05) << name;
        EXPECT_FALSE(Paused(engine().m_audio.effectsGroup)) << name;
        EXPECT_FLOAT_EQ(Volume(engine().m_audio.musicGroup), 1.0f) << name;
    }
}

TEST_F(Scripts, WarringAndUnitLeaveTheGameModeAsItWasWhenTheirChangeIsRefused) {
    Engine& e = engine();
    if (PlayerEditor* realm = e.m_playerEditor) {
        realm->m_invasions.emplace_back();
    }
    e.m_gameData->m_gameMode = GAME_MODE_KINGDOM;
    e.m_request = REQUEST_PUSH;
    EXPECT_EQ(Captured([] { Run("Warring"); }), Lines{"Change State request rejected."});
    EXPECT_EQ(e.m_gameData->m_gameMode, GAME_MODE_KINGDOM);
    // Already stacked: refused without a word.
    e.m_request = REQUEST_RUN;
    e.m_stack = {&UnitEditorState::Instance()};
    EXPECT_EQ(Captured([] { Run("Unit"); }), Lines{});
    EXPECT_EQ(e.m_gameData->m_gameMode, GAME_MODE_KINGDOM);
    e.m_stack.clear();
    if (PlayerEditor* realm = e.m_playerEditor) {
        realm->m_invasions.pop_back();
    }
}

TEST_F(Scripts, ExitGameQuitsOverAnyPendingRequest) {
    engine().m_request = REQUEST_PUSH;
    EXPECT_EQ(Captured([&] { EXPECT_TRUE(Run("ExitGame")); }), Lines{});
    EXPECT_EQ(engine().m_request, REQUEST_QUIT);
    EXPECT_TRUE(engine().m_quitting);
}

TEST_F(Scripts, PauseStopsGameTimeAndEffectsAndLowersTheMusicAndResumeUndoesIt) {
    Run("Pause");
    EXPECT_DOUBLE_EQ(engine().m_timer.maxDelta, 0.0);
    EXPECT_TRUE(Paused(engine().m_audio.effectsGroup));
    EXPECT_FALSE(Paused(engine().m_audio.musicGroup));
    EXPECT_FLOAT_EQ(Volume(engine().m_audio.musicGroup), 0.3f);
    // With the game delta clamped to 0, a frame moves no game time.
    engine().m_timer.clampOn = true;
    g_clock.now += 40;
    engine().m_timer.Tick();
    EXPECT_DOUBLE_EQ(engine().m_timer.gameDelta, 0.0);
    Run("Resume");
    EXPECT_DOUBLE_EQ(engine().m_timer.maxDelta, 0.05);
    EXPECT_FALSE(Paused(engine().m_audio.effectsGroup));
    EXPECT_FLOAT_EQ(Volume(engine().m_audio.musicGroup), 1.0f);
}

TEST_F(Scripts, TheTimeMultiplierSwitchesAndStepsByHalvesButNeverBelowAHalf) {
    Run("TimeMultiplierOn");
    EXPECT_TRUE(engine().m_timer.scaleOn);
    Run("TimeMultiplierOff");
    EXPECT_FALSE(engine().m_timer.scaleOn);
    Run("TimeMultiplierIncrement");
    EXPECT_DOUBLE_EQ(engine().m_timer.scale, 1.5);
    Run("TimeMultiplierIncrement");
    EXPECT_DOUBLE_EQ(engine().m_timer.scale, 2.0);
    for (int i = 0; i < 5; ++i) {
        Run("TimeMultiplierDecrement");
    }
    // From 2.0: 1.5, 1.0, 0.5 and then no lower, so game time never stops or runs backwards.
    EXPECT_DOUBLE_EQ(engine().m_timer.scale, 0.5);
    engine().m_timer.scale = 0.7; // a value between the steps
    Run("TimeMultiplierDecrement");
    EXPECT_DOUBLE_EQ(engine().m_timer.scale, 0.5);
}

TEST_F(Scripts, TheDebugOverlayAndTheMusicMuteToggle) {
    Run("ToggleDisplayDebugInfo");
    EXPECT_TRUE(engine().m_showDebugInfo);
    Run("ToggleDisplayDebugInfo");
    EXPECT_FALSE(engine().m_showDebugInfo);

    Run("ToggleMuteMusic");
    EXPECT_TRUE(Paused(engine().m_audio.musicGroup));
    Run("ToggleMuteMusic");
    EXPECT_FALSE(Paused(engine().m_audio.musicGroup));

    plat::ChannelGroup music = engine().m_audio.musicGroup;
    engine().m_audio.musicGroup = plat::ChannelGroup();
    EXPECT_EQ(Captured([] { Run("ToggleMuteMusic"); }), Lines{"MusicGroup not created!"});
    // Pause and Resume leave a missing group alone.
    EXPECT_EQ(Captured([] {
                  Run("Pause");
                  Run("Resume");
              }),
              Lines{});
    engine().m_audio.musicGroup = music;
}

TEST_F(Scripts, TheResolutionScriptsSetTheBackBufferAndTheDisplaysSizeAndMargin) {
    Renderer& renderer = *engine().m_display.renderer;
    Captured([] { Run("Resolution1440x900"); });
    EXPECT_EQ(renderer.backBufferWidth, 1440u);
    EXPECT_EQ(renderer.backBufferHeight, 900u);
    EXPECT_EQ(engine().m_display.width, 1440u);
    EXPECT_EQ(engine().m_display.height, 900u);
    EXPECT_EQ(engine().m_display.margin, 120u);
    Captured([] { Run("Resolution1024x768"); });
    EXPECT_EQ(engine().m_display.width, 1024u);
    EXPECT_EQ(engine().m_display.height, 768u);
    EXPECT_EQ(engine().m_display.margin, 0u);
    Captured([] { Run("Resolution800x600"); });
    EXPECT_EQ(renderer.backBufferWidth, 800u);
    EXPECT_EQ(engine().m_display.height, 600u);
    EXPECT_EQ(engine().m_display.margin, 0u);

    const bool windowed = renderer.windowed;
    Captured([] { Run("FullScreenToggle"); });
    EXPECT_EQ(renderer.windowed, !windowed);
    Captured([] { Run("FullScreenToggle"); });
    EXPECT_EQ(renderer.windowed, windowed);
}

TEST_F(Scripts, DoCommandStopsAndRestartsGameTime) {
    const int32_t stop = 0, restart = 1;
    EXPECT_TRUE(engine().DoCommand(&stop));
    EXPECT_DOUBLE_EQ(engine().m_timer.maxDelta, 0.0);
    EXPECT_TRUE(Paused(engine().m_audio.effectsGroup));
    // Unlike the Pause script, the music is left as it was.
    EXPECT_FLOAT_EQ(Volume(engine().m_audio.musicGroup), 1.0f);
    EXPECT_TRUE(engine().DoCommand(&restart));
    EXPECT_DOUBLE_EQ(engine().m_timer.maxDelta, 0.05);
    EXPECT_FALSE(Paused(engine().m_audio.effectsGroup));
}

TEST_F(Scripts, DoCommandRefusesNumbersItDoesNotKnow) {
    for (int32_t command : {8, -1, 1000, INT32_MIN, INT32_MAX}) {
        EXPECT_FALSE(engine().DoCommand(&command)) << command;
    }
    EXPECT_FALSE(engine().DoCommand(nullptr));
    EXPECT_EQ(engine().m_request, REQUEST_RUN);
    EXPECT_DOUBLE_EQ(engine().m_timer.maxDelta, 0.05);
}

class ScriptsOnTheMap : public Scripts {
  protected:
    void SetUp() override {
        Scripts::SetUp();
        Captured([&] { world().m_tileMap.CreateDefaultGrid(); });
        world().m_clickedTile = nullptr;
        world().m_activeCamera = &world().m_perspCamera;
    }
    void TearDown() override {
        world().m_clickedTile = nullptr;
        Captured([&] { world().m_tileMap.Clear(); });
    }

    static GameData& world() { return *engine().m_gameData; }
    static bool Command(int32_t command) {
        bool result = false;
        Captured([&] { result = engine().DoCommand(&command); });
        return result;
    }
    static TileType TypeAt(uint32_t row, uint32_t col) { return world().m_tileMap.GetTile(row, col)->m_type; }
};

TEST_F(ScriptsOnTheMap, DoCommandTwoStepsTheSelectedTilesTypeAndSelectsItsReplacement) {
    EXPECT_FALSE(Command(2));
    EXPECT_FALSE(Command(3));
    EXPECT_EQ(TypeAt(2, 3), TILE_PATH);

    world().m_clickedTile = world().m_tileMap.GetTile(2, 3);
    EXPECT_TRUE(Command(3));
    EXPECT_TRUE(Command(2));
    EXPECT_EQ(TypeAt(2, 3), TILE_BUILDING);
    EXPECT_EQ(world().m_clickedTile, world().m_tileMap.GetTile(2, 3));
    EXPECT_EQ(TypeAt(2, 2), TILE_PATH);

    Captured([&] { world().m_clickedTile = world().m_tileMap.SetTileType(2, 3, TILE_UNKNOWN); });
    EXPECT_TRUE(Command(2));
    EXPECT_EQ(TypeAt(2, 3), TILE_EMPTY);
    EXPECT_EQ(world().m_clickedTile, world().m_tileMap.GetTile(2, 3));
}

TEST_F(ScriptsOnTheMap, DoCommandsFiveAndSixRemakeAndGrowTheMap) {
    Captured([&] { world().m_tileMap.ExpandMap(); });
    world().m_clickedTile = world().m_tileMap.GetTile(1, 1);
    EXPECT_TRUE(Command(5));
    EXPECT_EQ(world().m_clickedTile, nullptr);
    EXPECT_EQ(world().m_tileMap.Rows(), 5u);
    EXPECT_EQ(world().m_tileMap.Cols(), 5u);
    for (const auto& tile : world().m_tileMap.Grid()) {
        EXPECT_EQ(tile->m_type, TILE_PATH);
    }
    EXPECT_TRUE(Command(6));
    EXPECT_EQ(world().m_tileMap.Rows(), 7u);
    EXPECT_EQ(TypeAt(0, 0), TILE_EMPTY);
    EXPECT_EQ(TypeAt(1, 1), TILE_PATH);
}

TEST_F(ScriptsOnTheMap, DoCommandSevenAndToggleViewSwapOnlyTheKingdomAndPerspectiveCameras) {
    GameData& w = world();
    EXPECT_TRUE(Command(7));
    EXPECT_EQ(w.m_activeCamera, &w.m_kingdomCamera);
    Run("ToggleView");
    EXPECT_EQ(w.m_activeCamera, &w.m_perspCamera);
    Run("ToggleView");
    EXPECT_EQ(w.m_activeCamera, &w.m_kingdomCamera);
    EXPECT_TRUE(Command(7));
    EXPECT_EQ(w.m_activeCamera, &w.m_perspCamera);
    w.m_activeCamera = &w.m_guiCamera;
    EXPECT_TRUE(Command(7));
    Run("ToggleView");
    EXPECT_EQ(w.m_activeCamera, &w.m_guiCamera);
    w.m_activeCamera = &w.m_perspCamera;
}

TEST_F(ScriptsOnTheMap, ResetMapEmptiesTheGroundAndDropsTheSelectionAndExpandMapGrows) {
    Captured([&] {
        world().m_tileMap.SetTileType(0, 0, TILE_CAPITAL);
        world().m_tileMap.SetTileType(4, 4, TILE_GATE);
    });
    world().m_clickedTile = world().m_tileMap.GetTile(1, 1);
    Captured([] { Run("ResetMap"); });
    EXPECT_EQ(world().m_clickedTile, nullptr);
    EXPECT_EQ(TypeAt(0, 0), TILE_CAPITAL);
    EXPECT_EQ(TypeAt(4, 4), TILE_GATE);
    EXPECT_EQ(TypeAt(1, 1), TILE_EMPTY);
    EXPECT_EQ(TypeAt(3, 2), TILE_EMPTY);
    Captured([] { Run("ExpandMap"); });
    EXPECT_EQ(world().m_tileMap.Rows(), 7u);
    EXPECT_EQ(TypeAt(1, 1), TILE_CAPITAL);
}

TEST_F(ScriptsOnTheMap, TheMapEditorScriptsPreviewAUnitOrTheNextTileTypeOnlyOnTheKingdomScreen) {
    KingdomEditorState& screen = KingdomEditorState::Instance();
    KRState* requested = engine().m_lastRequestedState;
    engine().m_lastRequestedState = nullptr;
    world().m_editSubMode = 0;
    world().m_previewObject.reset();
    Captured([] { Run("ChangeUnitType"); });
    EXPECT_EQ(world().m_previewObject, nullptr) << "acted away from the kingdom screen";
    EXPECT_EQ(world().m_editSubMode, 0);

    const std::string picture = "../Assets/defaulttexture.xml";
    screen.m_gui.m_items.push_back(std::make_unique<KRGUIObject>("ChangeUnitType", picture, 10.0f, 10.0f));
    screen.m_gui.m_items.push_back(std::make_unique<KRGUIObject>("ChangeTileType", picture, 10.0f, 10.0f));
    // A layout without the overlay has no previews.
    engine().m_lastRequestedState = &screen;
    Captured([] {
        Run("ChangeUnitType");
        Run("ChangeTileType");
    });
    EXPECT_EQ(world().m_previewObject, nullptr);
    EXPECT_EQ(world().m_editSubMode, 0);
    screen.m_gui.m_items.push_back(std::make_unique<KRGUIObject>("Overlay", picture, 10.0f, 10.0f));
    KRGUIObject* overlay = screen.m_gui.FindByName("Overlay");
    KRGUIObject* unitButton = screen.m_gui.FindByName("ChangeUnitType");
    KRGUIObject* tileButton = screen.m_gui.FindByName("ChangeTileType");
    ASSERT_NE(tileButton, nullptr);
    overlay->m_active = false;
    unitButton->m_x = 700.0f;
    unitButton->m_y = 40.0f;
    tileButton->m_x = 700.0f;
    tileButton->m_y = 90.0f;
    engine().m_lastRequestedState = &screen;

    Captured([] { Run("ChangeUnitType"); });
    EXPECT_NE(dynamic_cast<KRUnit*>(world().m_previewObject.get()), nullptr);
    EXPECT_EQ(world().m_editSubMode, 1);
    EXPECT_TRUE(overlay->m_active);
    EXPECT_FLOAT_EQ(overlay->m_x, 700.0f);
    EXPECT_FLOAT_EQ(overlay->m_y, 40.0f);

    // The first press keeps the type to place; each further press steps it, wrapping round.
    world().m_typeToPlace = 6;
    Captured([] { Run("ChangeTileType"); });
    EXPECT_EQ(world().m_editSubMode, 2);
    EXPECT_EQ(world().m_typeToPlace, 6);
    const KRTile* preview = dynamic_cast<const KRTile*>(world().m_previewObject.get());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->m_type, 6);
    EXPECT_FLOAT_EQ(overlay->m_y, 90.0f);
    Captured([] { Run("ChangeTileType"); });
    EXPECT_EQ(world().m_typeToPlace, 0);

    world().m_previewObject.reset();
    world().m_editSubMode = 0;
    world().m_typeToPlace = 0;
    world().m_toolMode = TOOL_SELECT;
    screen.m_gui.m_items.clear();
    engine().m_lastRequestedState = requested;
}

// The scripts test the current screen's class, not its address: a screen derived from the kingdom
// screen is a kingdom screen.
TEST_F(ScriptsOnTheMap, TheMapEditorScriptsActOnAScreenDerivedFromTheKingdomScreen) {
    class EditorScreen : public KingdomEditorState {};
    EditorScreen screen;
    const std::string picture = "../Assets/defaulttexture.xml";
    screen.m_gui.m_items.push_back(std::make_unique<KRGUIObject>("Overlay", picture, 10.0f, 10.0f));
    screen.m_gui.m_items.push_back(std::make_unique<KRGUIObject>("ChangeTileType", picture, 10.0f, 10.0f));
    screen.m_gui.m_items.push_back(std::make_unique<KRGUIObject>("ChangeUnitType", picture, 10.0f, 10.0f));
    KRGUIObject* overlay = screen.m_gui.FindByName("Overlay");
    overlay->m_active = false;
    KRState* requested = engine().m_lastRequestedState;
    engine().m_lastRequestedState = &screen;
    world().m_editSubMode = 0;
    Captured([] { Run("ChangeUnitType"); });
    EXPECT_EQ(world().m_editSubMode, 1);
    Captured([] { Run("ChangeTileType"); });
    EXPECT_EQ(world().m_editSubMode, 2);
    EXPECT_TRUE(overlay->m_active);
    EXPECT_NE(dynamic_cast<const KRTile*>(world().m_previewObject.get()), nullptr);

    world().m_previewObject.reset();
    world().m_editSubMode = 0;
    world().m_typeToPlace = 0;
    world().m_toolMode = TOOL_SELECT;
    engine().m_lastRequestedState = requested;
}

} // namespace
