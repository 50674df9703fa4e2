// The tutorial: its two files, the run of steps to the end, the greying of boxes, each step's goal with
// its corrections, the crack it lays, and skipping.
#include "flow_support.h"
#include "flow/boxdispatcher.h"
#include "flow/krscripts.h"
#include "flow/tutorialcontroller.h"
#include "flow/tutorialfiles.h"
#include "kingdom/kingdomeditorstate.h"
#include "kingdom/kingdomhud.h"
#include "kingdom/kingdom_support.h"
#include "realm/playereditor.h"
#include "scene/boxobject.h"
#include "scene/worldobject.h"

#include <filesystem>
#include <fstream>

using kingdomtest::KingdomEngineTest;
using kingdomtest::MakeMap;
using kingdomtest::Picture;

namespace {

namespace fs = std::filesystem;

// The tutorial map's neighbourhood: the Capital at row 10, column 11, its road south to row 13, the
// Keep at (13, 13), a Smith at (11, 13) and the southern gate at (16, 14).
const std::vector<std::string> kMap = {
    ".................", ".................", ".................", ".................", ".................",
    ".................", ".................", ".................", ".................", ".................",
    ".......####C.....", "...........#.B...", "...........#.....", "...........##B...", ".................",
    ".................", "..............G.."};

class Tutorial : public KingdomEngineTest {
  protected:
    void SetUp() override {
        KingdomEngineTest::SetUp();
        world().m_playerEditor = std::make_unique<PlayerEditor>(engine.get(), &world(), [] { return 0; });
        engine->m_playerEditor = world().m_playerEditor.get();
        BuildKingdomHud(*engine);
        MakeMap(world().m_tileMap, kMap);
        world().m_tileMap.PlaceBuilding(13, 13, BUILDING_KEEP);
        world().m_tileMap.PlaceBuilding(11, 13, BUILDING_SMITH);
        realm().m_tutorial = true;
        world().m_mailList.Clear();
        dir = fs::temp_directory_path() / ("thornvale-tutorial-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        fs::remove_all(dir);
        KingdomEngineTest::TearDown();
    }
    PlayerEditor& realm() { return *engine->m_playerEditor; }

    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (dir / name).string();
        std::ofstream(path) << "<?xml version=\"1.0\" ?>\n" << text;
        return path;
    }
    // A tutorial of these steps without letters, or with the given message file.
    void StartWith(const std::string& steps, const std::string& messages = "none.xml") {
        const std::string n = std::to_string(++files);
        const std::string sequence =
            Write("seq" + n + ".xml", "<S type=\"S" + n + "\"><Tutorial>" + steps + "</Tutorial></S>");
        tutorial.Start(world(), sequence, (dir / messages).string());
    }
    void Frame() {
        if (realm().m_tutorial) {
            tutorial.SetUpStep(world());
            tutorial.CheckStepDone(world());
        }
    }
    // A click on the box taken as the screen takes it, and the frames of its bounce, every box updated
    // before the tutorial as on the screen.
    void Click(BoxObject* box) {
        ASSERT_NE(box, nullptr);
        BoxCommand click;
        click.m_kind = BoxCommandKind::Click;
        box->QueueCommand(click);
        for (int frame = 0; frame < 30 && !box->m_commands.empty(); ++frame) {
            for (const auto& each : world().m_hudBoxes) {
                each->Update(0.02f);
            }
            Frame();
        }
    }
    void Pave(uint32_t row, uint32_t col) {
        world().m_toolMode = TOOL_PATH;
        world().m_clickedTile = world().m_tileMap.GetTile(row, col);
        KingdomEditorState::ApplyToolToTile(*engine);
    }
    BoxObject* ByLabel(const std::string& label) {
        for (const auto& box : world().m_hudBoxes) {
            if (box->m_label.m_text == label) {
                return box.get();
            }
        }
        return nullptr;
    }
    const plat::Vector3& Marker() { return realm().m_attentionMarker->m_boundingBox.m_position; }

    TutorialController tutorial;
    fs::path dir;
    // Across tests too: a file read once is cached under its name and type for the process.
    static inline int files = 0;
};

TEST_F(Tutorial, TheFilesGiveStepsInOrderAndLettersLineByLine) {
    StartWith("<Basic/><Menu/></Tutorial><Other><Mail/></Other><Tutorial><End/>");
    EXPECT_EQ(tutorial.Steps(), (std::list<std::string>{"Basic", "Menu", "End"}));

    ASSERT_TRUE(
        tutorial.LoadMessages(Write("m.xml", "<M type=\"M\"><Basic><n>a</n><x>no</x><n>b</n><n>c</n></Basic>"
                                             "<Menu><n>old</n></Menu><Menu><n>new</n></Menu>"
                                             "<Unheard>text<n></n></Unheard></M>")));
    const auto& messages = tutorial.Messages();
    EXPECT_EQ(messages.at("Basic"), "a\nb\nc\n");
    EXPECT_EQ(messages.at("Menu"), "new\n");
    EXPECT_EQ(messages.at("Unheard"), "\n");
    // A step that has its letter keeps it; a file that cannot be read changes nothing.
    ASSERT_TRUE(tutorial.LoadMessages(Write("m2.xml", "<M type=\"M2\"><Basic><n>z</n></Basic></M>")));
    EXPECT_EQ(messages.at("Basic"), "a\nb\nc\n");
    EXPECT_FALSE(tutorial.LoadSequence((dir / "missing.xml").string()));
    EXPECT_FALSE(tutorial.LoadSequence(Write("broken.xml", "<S type=\"B\"><Tutorial><Basic></S>")));
    EXPECT_EQ(tutorial.Steps().size(), 3u);
    EXPECT_FALSE(tutorial.LoadMessages((dir / "missing.xml").string()));
    EXPECT_EQ(messages.size(), 3u);
}

TEST_F(Tutorial, StepsRunToTheEndWithTheirLettersAndHandEveryBoxBack) {
    realm().m_skipTutorialBox->Disable();
    realm().m_skipTutorialBox->m_sprite.m_visible = false;
    world().m_tileMap.m_pavedTiles.push_back(*world().m_tileMap.GetTile(0, 0));
    Write("m.xml", "<M type=\"M3\"><Basic><n>Read me</n></Basic></M>");
    StartWith("<Basic/><Menu/>", "m.xml");
    EXPECT_TRUE(TutorialController::s_running);
    EXPECT_TRUE(realm().m_skipTutorialBox->m_enabled && realm().m_skipTutorialBox->m_sprite.m_visible);
    EXPECT_TRUE(world().m_tileMap.m_pavedTiles.empty());

    Frame();
    ASSERT_EQ(world().m_mailList.m_mails.size(), 1u);
    EXPECT_EQ(world().m_mailList.m_mails.front()->m_text, "Read me\n");
    EXPECT_EQ(world().m_mailList.m_mails.front()->m_kind, MAIL_ADVICE);
    EXPECT_EQ(tutorial.CurrentStep(), "Basic");
    world().m_mailList.Clear();
    Frame();
    EXPECT_EQ(tutorial.CurrentStep(), "Menu");

    // Only the Menu box and the boxes every step leaves are usable, and the Menu box blinks.
    Frame();
    EXPECT_TRUE(realm().m_menuBox->m_enabled && realm().m_menuBox->m_blinking);
    EXPECT_FALSE(ByLabel("Build")->m_enabled);
    EXPECT_FALSE(realm().m_pauseBox->m_enabled);
    for (int32_t id : {84, 85, 91, 90, 76, 81}) {
        EXPECT_TRUE(realm().LookupBox(id)->m_enabled) << id;
    }
    EXPECT_EQ(tutorial.CurrentStep(), "Menu");
    realm().m_pauseBox->m_folded = false; // the menu opened
    Frame();
    EXPECT_FALSE(realm().m_menuBox->m_enabled);
    EXPECT_EQ(tutorial.CurrentStep(), "END");
    Frame();
    EXPECT_FALSE(realm().m_tutorial);
    for (const auto& box : world().m_hudBoxes) {
        EXPECT_TRUE(box->m_enabled) << box->m_label.m_text;
    }

    // Without steps nothing starts, and the first frame hands the HUD back.
    TutorialController empty;
    realm().m_tutorial = true;
    realm().m_menuBox->Disable();
    empty.Start(world(), (dir / "missing.xml").string(), (dir / "missing.xml").string());
    empty.SetUpStep(world());
    empty.CheckStepDone(world());
    EXPECT_FALSE(realm().m_tutorial);
    EXPECT_TRUE(realm().m_menuBox->m_enabled);
}

TEST_F(Tutorial, ABoxGreyedByAnEarlierStepTakesItsClickWhenTheLetterNamesItUnlessTheStepPicksAnother) {
    StartWith("<BuildFarmTown1/><ToWar/><AddStats2/>");
    Frame();
    EXPECT_FALSE(realm().m_warTabBox->m_enabled);
    Click(realm().m_buildMenuBox);
    EXPECT_EQ(tutorial.CurrentStep(), "ToWar");
    Frame();
    EXPECT_TRUE(realm().m_warTabBox->m_enabled && realm().m_warTabBox->m_blinking);
    EXPECT_FALSE(realm().m_buildMenuBox->m_enabled);
    Click(realm().m_warTabBox);
    EXPECT_EQ(tutorial.CurrentStep(), "AddStats2");
    // Of the nine "+" the letter names, the step means the first alone.
    Frame();
    std::vector<int32_t> enabledPlus;
    for (const auto& box : world().m_hudBoxes) {
        if (box->m_label.m_text == "+" && box->m_enabled) {
            enabledPlus.push_back(box->m_actionId);
        }
    }
    EXPECT_EQ(enabledPlus, std::vector<int32_t>{21});
}

TEST_F(Tutorial, FarmAndHouseAreEachPaidForOnceAndTheStepWantsBoth) {
    StartWith("<BuildFarmTown2/>");
    Frame();
    EXPECT_FLOAT_EQ(realm().m_stock[RESOURCE_MONEY], 100.0f);
    world().m_tileMap.PlaceBuilding(10, 7, BUILDING_FARM);
    world().m_toolMode = BUILDING_FARM;
    realm().m_stock[RESOURCE_MONEY] = 0.0f;
    Frame();
    EXPECT_FALSE(ByLabel("Farm")->m_enabled);
    EXPECT_FLOAT_EQ(realm().m_stock[RESOURCE_MONEY], 100.0f);
    EXPECT_EQ(world().m_toolMode, TOOL_SELECT);
    world().m_tileMap.PlaceBuilding(10, 8, BUILDING_FARM);
    realm().m_stock[RESOURCE_MONEY] = 0.0f;
    Frame(); // the hint is given once
    EXPECT_FLOAT_EQ(realm().m_stock[RESOURCE_MONEY], 0.0f);
    EXPECT_EQ(tutorial.CurrentStep(), "BuildFarmTown2");
    world().m_tileMap.PlaceBuilding(10, 9, BUILDING_HOUSE);
    Frame();
    EXPECT_EQ(tutorial.CurrentStep(), "END");
}

TEST_F(Tutorial, OnlyTheKeepMayBeTornDownAndAnyOtherBuildingComesBack) {
    StartWith("<BuildDestroy2/>");
    Frame();
    EXPECT_NEAR(Marker().x, 13.0f, 1e-5f);
    EXPECT_NEAR(Marker().z, -13.0f, 1e-5f);
    EXPECT_EQ(realm().m_attentionMarker->m_label.m_text, "DESTROY THIS");
    realm().m_stock[RESOURCE_MONEY] = 10.0f;
    world().m_toolMode = TOOL_DEMOLISH;
    world().m_clickedTile = world().m_tileMap.GetTile(11, 13);
    KingdomEditorState::ApplyToolToTile(*engine);
    Frame();
    ASSERT_NE(world().m_tileMap.FindBuildingAt(11, 13), nullptr);
    EXPECT_EQ(world().m_tileMap.FindBuildingAt(11, 13)->m_buildingType, BUILDING_SMITH);
    EXPECT_EQ(world().m_tileMap.GetTile(11, 13)->m_type, TILE_BUILDING);
    ASSERT_EQ(world().m_mailList.m_mails.size(), 1u);
    EXPECT_EQ(world().m_mailList.m_mails.front()->m_text, "My Lord, your intelligence humors me");
    EXPECT_TRUE(world().m_tileMap.m_removedBuildings.empty());
    EXPECT_EQ(tutorial.CurrentStep(), "BuildDestroy2");

    world().m_clickedTile = world().m_tileMap.GetTile(13, 13);
    KingdomEditorState::ApplyToolToTile(*engine);
    Frame();
    EXPECT_EQ(world().m_tileMap.FindBuildingAt(13, 13), nullptr);
    EXPECT_EQ(tutorial.CurrentStep(), "END");
}

TEST_F(Tutorial, TheRoadIsPavedTileByTileInOrderOnANewGamesSingleLand) {
    realm().m_land = 1.0f;
    StartWith("<BuildPath2/>");
    Frame();
    EXPECT_FLOAT_EQ(realm().m_land, 5.0f);
    EXPECT_NEAR(Marker().x, 13.0f, 1e-5f);
    EXPECT_NEAR(Marker().z, -16.0f, 1e-5f);
    Pave(16, 13);
    Pave(16, 12);
    Pave(16, 11);
    Pave(15, 12); // out of turn
    Frame();
    EXPECT_EQ(Picture(world().m_tileMap)[16], "...........###G..");
    EXPECT_EQ(Picture(world().m_tileMap)[15], ".................");
    EXPECT_FLOAT_EQ(realm().m_land, 2.0f);
    ASSERT_EQ(world().m_mailList.m_mails.size(), 1u);
    EXPECT_EQ(world().m_mailList.m_mails.front()->m_text,
              "My Lord, your inquisitive nature will bring us troubles");
    EXPECT_NEAR(Marker().x, 11.0f, 1e-5f);
    EXPECT_NEAR(Marker().z, -15.0f, 1e-5f);
    Pave(15, 11);
    Pave(14, 11);
    Frame();
    EXPECT_EQ(tutorial.CurrentStep(), "END");
    EXPECT_EQ(world().m_toolMode, TOOL_SELECT);
    EXPECT_FALSE(realm().m_attentionMarker->m_sprite.m_visible);
}

TEST_F(Tutorial, TheCrackRunsBetweenGateAndCapitalOnlyWhenThereIsRoadBetween) {
    tutorial.LayCrackPath(world()); // the gate has no road yet
    EXPECT_EQ(Picture(world().m_tileMap), kMap);
    for (auto [row, col] : {std::pair{16, 13}, {16, 12}, {16, 11}, {15, 11}, {14, 11}}) {
        world().m_tileMap.SetTileType(row, col, TILE_PATH);
    }
    tutorial.LayCrackPath(world());
    const std::vector<std::string> picture = Picture(world().m_tileMap);
    EXPECT_EQ(picture[10], ".......####C.....");
    EXPECT_EQ(picture[11], "...........x.B...");
    EXPECT_EQ(picture[13], "...........x#B...");
    EXPECT_EQ(picture[15], "...........x.....");
    EXPECT_EQ(picture[16], "...........xxxG..");
    EXPECT_EQ(tutorial.CrackPath().size(), 8u);

    // Without a capital there is nothing to run to.
    world().m_tileMap.SetTileType(10, 11, TILE_PATH);
    world().m_tileMap.SetTileType(16, 11, TILE_PATH);
    tutorial.LayCrackPath(world());
    EXPECT_EQ(world().m_tileMap.GetTile(16, 11)->m_type, TILE_PATH);
    // A capital beside the gate leaves no cell between them.
    world().m_tileMap.SetTileType(16, 15, TILE_CAPITAL);
    tutorial.LayCrackPath(world());
    EXPECT_EQ(Picture(world().m_tileMap)[16], "...........#xxGC.");
}

TEST_F(Tutorial, ARepeatedActionHappensOncePerClickNotOnEveryFrameOfIt) {
    TutorialController::s_plusClicks = 0;
    StartWith("<AddStats2/><TrainArmy2/>");
    Frame();
    BoxObject* plus = realm().LookupBox(kBoxActionRaiseStrength);
    EXPECT_TRUE(plus->m_enabled && plus->m_blinking);
    Click(plus);
    EXPECT_EQ(TutorialController::s_plusClicks, 1);
    Click(plus);
    EXPECT_EQ(TutorialController::s_plusClicks, 2);
    world().m_mailList.AddMail("unrelated", MAIL_ALERT);
    Click(plus); // the third click locks the button and takes the mail
    EXPECT_FALSE(plus->m_enabled);
    EXPECT_TRUE(world().m_mailList.m_mails.empty());
    // The "+" stays the last clicked box, but the click was handled.
    world().m_mailList.AddMail("later", MAIL_ALERT);
    Frame();
    Frame();
    EXPECT_EQ(world().m_mailList.m_mails.size(), 1u);
    EXPECT_TRUE(realm().LookupBox(kBoxActionConfirmStatChange)->m_blinking);
    Click(realm().LookupBox(kBoxActionConfirmStatChange));
    EXPECT_EQ(tutorial.CurrentStep(), "TrainArmy2");

    Frame();
    world().m_mailList.Clear();
    Click(realm().LookupBox(kBoxActionIncreaseUnits)); // no mail to take: nothing breaks
    EXPECT_FALSE(realm().LookupBox(kBoxActionIncreaseUnits)->m_enabled);
    EXPECT_TRUE(realm().LookupBox(kBoxActionConfirmRecruitment)->m_enabled &&
                realm().LookupBox(kBoxActionConfirmRecruitment)->m_blinking);
    Click(realm().LookupBox(kBoxActionConfirmRecruitment));
    EXPECT_EQ(tutorial.CurrentStep(), "END");
}

TEST_F(Tutorial, SkippingHandsEveryBoxBackAndTakesTheSkipBoxAway) {
    StartWith("<ShowCapital/><Menu/>");
    Frame();
    EXPECT_TRUE(realm().m_attentionMarker->m_sprite.m_visible);
    EXPECT_EQ(realm().m_attentionMarker->m_label.m_text, "YOUR THRONE");
    EXPECT_FALSE(realm().m_menuBox->m_enabled);
    Frame(); // the Menu step: its box blinks
    ASSERT_TRUE(realm().m_menuBox->m_blinking);
    tutorial.Skip();
    Frame();
    EXPECT_FALSE(realm().m_tutorial);
    for (const auto& box : world().m_hudBoxes) {
        EXPECT_FALSE(box->m_blinking) << box->m_label.m_text;
        if (box.get() != realm().m_skipTutorialBox) {
            EXPECT_TRUE(box->m_enabled) << box->m_label.m_text;
        }
    }
    BoxObject* skip = realm().m_skipTutorialBox;
    EXPECT_TRUE(!skip->m_enabled && !skip->m_sprite.m_visible && skip->m_folded);
    EXPECT_FALSE(realm().m_attentionMarker->m_sprite.m_visible);
}

// The game's own wiring, on the engine singleton: a new game starts the tutorial, and the Skip Tutorial
// box ends it onto the default kingdom only while it runs.
class TutorialGame : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(flowtest::StartSingleton());
        Engine& e = Engine::Instance();
        if (e.m_scripts.m_scripts.empty()) {
            e.m_scripts.Register();
        }
        if (e.m_playerEditor == nullptr) {
            world().m_playerEditor = std::make_unique<PlayerEditor>(&e, &world(), [] { return 0; });
            e.m_playerEditor = world().m_playerEditor.get();
            flowtest::Captured([&] { BuildKingdomHud(e); });
        }
        e.m_request = REQUEST_RUN;
        e.m_quitting = false;
        e.m_stack.clear();
    }
    static GameData& world() { return *Engine::Instance().m_gameData; }
    static PlayerEditor& realm() { return *Engine::Instance().m_playerEditor; }
};

TEST_F(TutorialGame, TheSkipBoxSwapsTheTutorialMapForTheDefaultKingdomOnlyWhileTheTutorialRuns) {
    flowtest::Captured([] { RunScript(Engine::Instance().m_scripts, "StartGame"); });
    ASSERT_TRUE(realm().m_tutorial);
    EXPECT_EQ(TutorialController::Instance().CurrentStep(), "Mail");
    EXPECT_TRUE(realm().m_skipTutorialBox->m_sprite.m_visible);
    const TileMap& map = world().m_tileMap;
    EXPECT_EQ(map.GetTile(5, 11)->m_type, TILE_EMPTY);
    world().m_clickedTile = map.GetTile(5, 11);

    flowtest::Captured([] { DispatchGameBoxAction(world(), kBoxActionSkipTutorial, nullptr); });
    EXPECT_EQ(map.GetTile(5, 11)->m_type, TILE_PATH); // the default kingdom's road north
    EXPECT_EQ(world().m_clickedTile, nullptr);
    EXPECT_EQ(world().m_capitalTile, map.GetTile(10, 11));
    flowtest::Captured([] { RunTutorialFrame(Engine::Instance()); });
    EXPECT_FALSE(realm().m_tutorial);
    EXPECT_FALSE(realm().m_skipTutorialBox->m_sprite.m_visible);

    // Once it is over, the player's own kingdom stays as it is.
    flowtest::Captured([&] { world().m_tileMap.SetTileType(0, 0, TILE_PATH); });
    flowtest::Captured([] { DispatchGameBoxAction(world(), kBoxActionSkipTutorial, nullptr); });
    EXPECT_EQ(map.GetTile(0, 0)->m_type, TILE_PATH);
    world().m_capitalTile = nullptr;
    flowtest::Captured([&] { world().m_tileMap.Clear(); });
}

} // namespace
