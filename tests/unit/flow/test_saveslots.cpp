// Saved-game slots: the documents folder, which folders are slots and in what order, the selected
// index after a rescan, new slot names, and saving and loading through the scripts, damaged and failed
// cases included.
#include "battle/uniteditorscripts.h"
#include "battle/uniteditorstate.h"
#include "battle/warringstate.h"
#include "engine/recordingstate.h"
#include "flow/flow_support.h"
#include "flow/saveloadstate.h"
#include "flow/savescripts.h"
#include "kingdom/kingdomeditorstate.h"
#include "kingdom/mapfiles.h"
#include "platform/documents.h"
#include "realm/armyconfig.h"
#include "save_support.h"
#include "scene/boxobject.h"

namespace {

namespace fs = std::filesystem;
using flowtest::Captured;
using flowtest::Has;
using flowtest::Lines;
using savetest::EnvVar;
using savetest::Scratch;

TEST(DocumentsFolder, FollowsTheEnvironmentThenUserDirsThenHome) {
    Scratch scratch;
    EnvVar config("XDG_CONFIG_HOME", scratch.Folder().c_str());
    EnvVar home("HOME", "/home/tester");
    {
        EnvVar docs("XDG_DOCUMENTS_DIR", "/srv/Dokumente Éloïse");
        EXPECT_EQ(plat::DocumentsFolder(), "/srv/Dokumente Éloïse");
    }
    EnvVar docs("XDG_DOCUMENTS_DIR", "");
    EXPECT_EQ(plat::DocumentsFolder(), "/home/tester/Documents");
    savetest::WriteText(scratch.Folder() + "user-dirs.dirs",
                        "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Papiers\"\n");
    EXPECT_EQ(plat::DocumentsFolder(), "/home/tester/Papiers");
    // Nothing absolute: no folder at all, rather than the working folder.
    EnvVar relative("XDG_DOCUMENTS_DIR", "Documents");
    EXPECT_EQ(plat::DocumentsFolder(), "");
}

class Slots : public testing::Test {
  protected:
    void SetUp() override {
        flowtest::StartSingleton();
        Engine& e = engine();
        if (e.m_playerEditor == nullptr) {
            e.m_gameData->m_playerEditor = std::make_unique<PlayerEditor>(&e, e.m_gameData.get());
            e.m_playerEditor = e.m_gameData->m_playerEditor.get();
        }
        Captured([&] { BuildSaveSlotScreen(e); });
        savedTarget = e.m_lastRequestedState;
        savedRequest = e.m_request;
        e.m_lastRequestedState = &screen();
        e.m_request = REQUEST_RUN;
        // Loads go through the engine's requests: no quit pending and no screen left by another test.
        e.m_quitting = false;
        e.m_stack.clear();
        screen().m_selectedSlot = 0;
    }
    void TearDown() override {
        engine().m_lastRequestedState = savedTarget;
        engine().m_request = savedRequest;
    }

    static Engine& engine() { return Engine::Instance(); }
    static SaveLoadState& screen() { return SaveLoadState::Instance(); }
    static PlayerEditor& realm() { return *engine().m_playerEditor; }
    std::string SaveFolder() const { return scratch.Folder() + "Thornvale Oriskar/SaveData/"; }
    void MakeFolders(std::initializer_list<const char*> names) const {
        for (const char* name : names) {
            fs::create_directories(SaveFolder() + name);
        }
    }
    // The first value shown beside a display box.
    static std::string Shown(int box) { return realm().m_saveScreenBoxes[box]->m_next->m_label.m_text; }
    static BoxObject* FirstLoadBox() {
        for (const auto& box : engine().m_gameData->m_hudBoxes) {
            if (box->m_actionId == kBoxActionLoadGame) {
                return box.get();
            }
        }
        return nullptr;
    }
    // One wave with a unit in the queue, and the level, strength and budget a longer game would have.
    static void QueueWave(int32_t level) {
        realm().m_invasions.clear();
        realm().m_invasions.emplace_back().m_units.push_back(std::make_unique<KRUnit>("Demon"));
        realm().m_level = level;
        realm().m_strengthFactor = 1.5f;
        realm().m_invasionBudget = 80.0f;
    }
    // Saves the selected slot, Data0, with this much money; what its army file then holds.
    float SaveOnce(float money) const {
        Captured([] { screen().ScanSaveFolder(); });
        MakeMap({TILE_PATH}, 1);
        realm().m_stock[RESOURCE_MONEY] = money;
        screen().m_selectedSlot = 0;
        engine().m_gameData->m_mailList.Clear();
        Captured(SaveGameToSlot);
        std::unique_ptr<ArmyConfig> army;
        Captured([&] { army = ReadArmyFile(SaveFolder() + "Data0/" + kSlotFiles[0], false); });
        return army ? army->m_block.resources[RESOURCE_MONEY] : -1.0f;
    }
    static std::vector<std::string> Entries(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    static void MakeMap(const std::vector<TileType>& cells, uint32_t cols) {
        TileMap& map = engine().m_gameData->m_tileMap;
        ASSERT_TRUE(map.StartGrid(static_cast<uint32_t>(cells.size()) / cols, cols));
        for (size_t i = 0; i < cells.size(); ++i) {
            ASSERT_TRUE(map.AppendTile(std::make_unique<KRTile>(i / cols, i % cols, cells[i])));
        }
    }

    Scratch scratch;
    EnvVar docs{"XDG_DOCUMENTS_DIR", scratch.Folder().c_str()};
    KRState* savedTarget = nullptr;
    uint32_t savedRequest = 0;
};

TEST_F(Slots, FoldersNamedWithDataAreSlotsInNumberOrderAndTheIndexStaysInTheList) {
    MakeFolders({"OldData", "Database", "data1", "Data10", "Data9", "Data2"});
    savetest::WriteText(SaveFolder() + "Data5", "a file");
    Captured([] { EXPECT_TRUE(screen().ScanSaveFolder()); });
    EXPECT_EQ(
        screen().m_slotPaths,
        (std::vector<std::string>{SaveFolder() + "Data2/", SaveFolder() + "Data9/", SaveFolder() + "Data10/",
                                  SaveFolder() + "Database/", SaveFolder() + "OldData/"}));
    screen().m_selectedSlot = 5;
    fs::remove(SaveFolder() + "OldData");
    fs::remove(SaveFolder() + "Database");
    Captured([] { screen().ScanSaveFolder(); });
    EXPECT_EQ(screen().m_selectedSlot, 3u);
    EXPECT_EQ(screen().SlotPath(), "");
    EXPECT_FALSE(screen().SelectSlot(4));

    const auto lines = Captured([] { EXPECT_FALSE(screen().SelectSlot(3)); });
    EXPECT_TRUE(Has(lines, "Box Stuff Changing "));
    EXPECT_EQ(Shown(kSaveSlotBox), "4");
    EXPECT_EQ(Shown(kSaveGameTimeBox), "New Data");
    EXPECT_FALSE(FirstLoadBox()->m_enabled);
    EXPECT_TRUE(FirstLoadBox()->m_frozen);
    // A slot whose army file cannot be read is not offered for loading either.
    Captured([] { EXPECT_TRUE(screen().SelectSlot(0)); });
    EXPECT_FALSE(FirstLoadBox()->m_enabled);
}

TEST_F(Slots, NewSlotsTakeTheFirstFreeNumberAndNothingIsMadeWithoutADocumentsFolder) {
    MakeFolders({"Data0", "Data1"});
    savetest::WriteText(SaveFolder() + "Data2", "a file in the way");
    Captured([] { screen().ScanSaveFolder(); });
    screen().m_selectedSlot = 2;
    const auto lines =
        Captured([] { EXPECT_EQ(screen().GetOrCreateSlotFolder(), screen().m_saveFolder + "Data3/"); });
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Data3"), 2);
    EXPECT_TRUE(fs::is_directory(SaveFolder() + "Data3"));

    EnvVar relative("XDG_DOCUMENTS_DIR", "relative");
    Captured([] { EXPECT_FALSE(screen().ScanSaveFolder()); });
    EXPECT_TRUE(screen().m_slotPaths.empty());
    EXPECT_EQ(screen().GetOrCreateSlotFolder(), "");
    const auto refused = Captured(SaveGameToSlot);
    EXPECT_TRUE(Has(refused, "Game not saved: there is no save folder to write to"));
}

TEST_F(Slots, ASaveIntoNewDataShowsTheSlotJustWritten) {
    MakeFolders({"Data0", "Data3", "Data5"});
    Captured([] { screen().ScanSaveFolder(); });
    screen().m_selectedSlot = 3;
    MakeMap({TILE_PATH}, 1);
    Captured(SaveGameToSlot);
    // Data3 is taken, so the new slot is Data4, listed before Data5.
    EXPECT_EQ(screen().m_selectedSlot, 2u);
    EXPECT_EQ(screen().SlotPath(), SaveFolder() + "Data4/");
}

TEST_F(Slots, ASavedGameLoadsBackAndADamagedSlotLeavesTheGameAlone) {
    Captured([] { screen().ScanSaveFolder(); });
    MakeMap({TILE_PATH, TILE_CAPITAL, TILE_GATE, TILE_EMPTY, TILE_CRACK, TILE_PATH}, 3);
    realm().m_stock[RESOURCE_MONEY] = 321.5f;
    realm().m_stock[RESOURCE_FIRE] = 12.9f;
    const auto saved = Captured(SaveGameToSlot);
    EXPECT_TRUE(Has(saved, "Game saved to " + SaveFolder() + "Data0/")) << saved.back();
    for (const char* name : kSlotFiles) {
        EXPECT_TRUE(fs::is_regular_file(SaveFolder() + "Data0/" + name)) << name;
    }
    EXPECT_EQ(screen().m_slotPaths.size(), 1u);
    EXPECT_EQ(Shown(kSaveResourceRow1), "12");
    EXPECT_TRUE(FirstLoadBox()->m_enabled);

    // A second save within the same second, into a new slot: each slot shows its own game.
    realm().m_stock[RESOURCE_FIRE] = 40.0f;
    screen().m_selectedSlot = 1;
    Captured(SaveGameToSlot);
    Captured([] { screen().SelectSlot(0); });
    EXPECT_EQ(Shown(kSaveResourceRow1), "12");
    screen().m_selectedSlot = 0;

    realm().m_stock[RESOURCE_MONEY] = 3.0f;
    MakeMap({TILE_EMPTY}, 1);
    QueueWave(3);
    // The game is replaced when the frame after the load takes the screens down.
    const auto loaded = Captured([] {
        LoadGameFromSlot();
        engine().Frame();
    });
    EXPECT_TRUE(Has(loaded, "Game loaded from " + SaveFolder() + "Data0/"));
    EXPECT_EQ(realm().m_stock[RESOURCE_MONEY], 321.5f);
    EXPECT_FALSE(realm().m_tutorial);
    const TileMap& map = engine().m_gameData->m_tileMap;
    ASSERT_EQ(map.Rows() * map.Cols(), 6u);
    EXPECT_EQ(map.GetTile(1, 1)->m_type, TILE_CRACK);
    EXPECT_EQ(engine().m_gameData->m_capitalTile, map.GetTile(0, 1));
    EXPECT_EQ(engine().m_gameData->m_gameMode, GAME_MODE_KINGDOM);
    // The abandoned game's invasions went with it.
    EXPECT_TRUE(realm().m_invasions.empty());
    EXPECT_EQ(realm().m_level, 0);
    EXPECT_EQ(realm().m_strengthFactor, 1.0f);
    EXPECT_EQ(realm().m_invasionBudget, 25.0f);

    engine().m_request = REQUEST_RUN;
    engine().m_lastRequestedState = &screen();
    savetest::WriteText(SaveFolder() + "Data0/mapdata.xml", "<Map type=\"MapData1\" rows=\"2\" cols=\"2\"/>");
    realm().m_stock[RESOURCE_MONEY] = 5.0f;
    const auto refused = Captured(LoadGameFromSlot);
    EXPECT_TRUE(Has(refused, "Game not loaded from " + SaveFolder() + "Data0/"));
    EXPECT_EQ(realm().m_stock[RESOURCE_MONEY], 5.0f);
    EXPECT_EQ(map.GetTile(1, 1)->m_type, TILE_CRACK);
}

TEST_F(Slots, ABuildingOutsideTheSlotsMapRefusesTheSlotBeforeAnythingIsReset) {
    Captured([] { screen().ScanSaveFolder(); });
    MakeMap({TILE_PATH, TILE_CAPITAL, TILE_GATE, TILE_EMPTY}, 2);
    Captured(SaveGameToSlot);
    // Inside the running game's grid of three rows, outside the slot's two.
    savetest::WriteText(SaveFolder() + "Data0/buildingdata.xml",
                        "<?xml version=\"1.0\" ?>\n<Building type=\"BuildDataOutside\">\n"
                        "<Building id=\"0\"><Name>Farm</Name><Type>3</Type><Health>5</Health>"
                        "<Row>2</Row><Col>0</Col></Building>\n</Building>\n");
    MakeMap({TILE_PATH, TILE_PATH, TILE_EMPTY}, 1);
    realm().m_stock[RESOURCE_MONEY] = 9.0f;
    QueueWave(1);
    engine().m_gameData->m_mailList.Clear();
    Captured(LoadGameFromSlot);
    EXPECT_EQ(realm().m_stock[RESOURCE_MONEY], 9.0f);
    EXPECT_EQ(realm().m_invasions.size(), 1u);
    EXPECT_EQ(engine().m_gameData->m_tileMap.Rows(), 3u);
    ASSERT_NE(engine().m_gameData->m_mailList.MailAt(0), nullptr);
    EXPECT_EQ(engine().m_gameData->m_mailList.MailAt(0)->m_text,
              "Could not load the game: buildingdata.xml of " + SaveFolder() + "Data0/ is damaged");
}

TEST_F(Slots, AFailedSaveSaysSoAndLeavesTheOldSlotWhole) {
    Captured([] { screen().ScanSaveFolder(); });
    MakeMap({TILE_PATH}, 1);
    realm().m_stock[RESOURCE_MONEY] = 100.0f;
    Captured(SaveGameToSlot);
    const std::string slot = SaveFolder() + "Data0/";
    // The map cannot be written: the army file is, then must not replace the old one.
    SetFileStepHook([](const char* step, const std::string& path) {
        return std::string(step) == "write" && path.find("mapdata.xml") != std::string::npos ? ENOSPC : 0;
    });
    realm().m_stock[RESOURCE_MONEY] = 200.0f;
    engine().m_gameData->m_mailList.Clear();
    const auto lines = Captured(SaveGameToSlot);
    SetFileStepHook(nullptr);
    EXPECT_TRUE(Has(lines, "Game not saved to " + slot));
    EXPECT_FALSE(Has(lines, "Game saved to " + slot));
    ASSERT_NE(engine().m_gameData->m_mailList.MailAt(0), nullptr);
    EXPECT_EQ(engine().m_gameData->m_mailList.MailAt(0)->m_kind, MAIL_ALERT);
    EXPECT_EQ(engine().m_gameData->m_mailList.MailAt(0)->m_text.rfind("Could not save the game: ", 0), 0u);
    std::unique_ptr<ArmyConfig> army;
    Captured([&] { army = ReadArmyFile(slot + "armydata.xml", false); });
    ASSERT_NE(army, nullptr);
    EXPECT_EQ(army->m_block.resources[RESOURCE_MONEY], 100.0f);
    EXPECT_FALSE(fs::exists(SaveFolder() + ".Data0.saving"));
}

TEST_F(Slots, LeavingTheSaveScreenPutsBackTheModeOfTheScreenBelow) {
    Engine& e = engine();
    std::vector<std::string> journal;
    RecordingState below("Below", journal);
    e.m_stack.push_back(&below);
    e.m_gameData->m_gameMode = GAME_MODE_UNIT_EDITOR;
    Captured([&] {
        OpenSaveScreen();
        e.Frame();
    });
    EXPECT_EQ(e.m_gameData->m_gameMode, GAME_MODE_SAVE_LOAD);
    Captured([&] {
        e.PopState();
        e.Frame();
    });
    EXPECT_EQ(e.m_gameData->m_gameMode, GAME_MODE_UNIT_EDITOR);
    e.m_stack.clear();
}

// A load over the unit editor or the battle takes every screen above the main menu down, each through
// its own Cleanup and Unload, before the game is replaced: the kingdom lands on the menu alone, the
// loaded game as saved, no battle's reward or defeat paid, and its tabs reach the other screen again.
TEST_F(Slots, ALoadOverTheUnitEditorOrTheBattleLeavesTheKingdomAloneOnTheMenu) {
    Engine& e = engine();
    KingdomEditorState& kingdom = KingdomEditorState::Instance();
    std::vector<std::string> journal;
    RecordingState menu("Menu", journal);
    Captured([] { screen().ScanSaveFolder(); });
    MakeMap({TILE_GATE, TILE_PATH, TILE_CAPITAL}, 3);
    realm().m_stock[RESOURCE_MONEY] = 321.0f;
    realm().m_masteryPoints = 4;
    Captured(SaveGameToSlot);
    const std::string loadedLine = "Game loaded from " + SaveFolder() + "Data0/";
    Captured([&] {
        e.PushState(&menu);
        e.Frame();
        e.PushState(&kingdom);
        e.Frame();
    });
    const auto loadOver = [&](void (*tab)(), KRState* tabScreen, const std::string& leaving) {
        QueueWave(2);
        realm().m_stock[RESOURCE_MONEY] = 5.0f;
        Captured([&] {
            tab();
            e.Frame();
            ASSERT_EQ(e.Top(), tabScreen);
            if (tabScreen == &WarringState::Instance()) {
                e.m_gameData->m_battleResult = BATTLE_VICTORY; // won, its reward still to pay
            }
            OpenSaveScreen();
            e.Frame();
        });
        const Lines loading = Captured([] {
            LoadGameFromSlot();
            engine().Frame();
        });
        Lines order;
        std::copy_if(loading.begin(), loading.end(), std::back_inserter(order), [&](const std::string& line) {
            return line.starts_with("Cleanup ") || line.starts_with("Unloading ") || line == loadedLine;
        });
        EXPECT_EQ(order, (Lines{"Cleanup MainMenuState", "Unloading MainMenuState", "Cleanup " + leaving,
                                "Unloading " + leaving, loadedLine}));
        EXPECT_EQ(e.m_stack, (std::vector<KRState*>{&menu, &kingdom}));
        EXPECT_EQ(e.m_gameData->m_gameMode, GAME_MODE_KINGDOM);
        EXPECT_EQ(realm().m_stock[RESOURCE_MONEY], 321.0f);
        EXPECT_EQ(realm().m_masteryPoints, 4);
        EXPECT_EQ(e.m_gameData->m_wins, 0);
        EXPECT_EQ(e.m_gameData->m_tileMap.GetTile(0, 2)->m_type, TILE_CAPITAL);
    };
    loadOver(ScriptUnit, &UnitEditorState::Instance(), "MainMenuState");
    loadOver(ScriptWarring, &WarringState::Instance(), "WarringState");
    EXPECT_EQ(journal, (Lines{"Menu.Load", "Menu.Initialize"}));
    // The kingdom unloads, as the next test that loads it expects.
    Captured([&] {
        e.ReturnToRootState();
        e.Frame();
    });
}

TEST_F(Slots, TheArrowsStopAtNewDataAndAtTheFirstSlot) {
    MakeFolders({"Data0", "Data1"});
    Captured([] { screen().ScanSaveFolder(); });
    Captured([] {
        for (int i = 0; i < 4; ++i) {
            NextSaveSlot();
        }
    });
    EXPECT_EQ(screen().m_selectedSlot, 2u);
    Captured([] {
        for (int i = 0; i < 4; ++i) {
            PreviousSaveSlot();
        }
    });
    EXPECT_EQ(screen().m_selectedSlot, 0u);
}

// Each step of a save (each write, rename, exchange, cleanup) fails in turn, or the save stops there as
// by a crash; into an old slot and into "New Data", with the folders exchanged in one step and by two
// renames where the file system refuses that. The slot holds its old files byte for byte or all three
// new ones, is listed alone and loads, and the next save goes through and leaves nothing behind.
TEST_F(Slots, ASaveThatFailsOrStopsAtAnyStepLeavesTheSlotWhole) {
    struct Crash {};
    const std::string slot = SaveFolder() + "Data0/";
    const auto slotFiles = [&] {
        std::vector<std::string> texts;
        for (const char* name : kSlotFiles) {
            texts.push_back(savetest::ReadText(slot + name));
        }
        return texts;
    };
    for (const bool exchange : {true, false}) {
        for (const bool fresh : {false, true}) {
            for (const bool crash : {false, true}) {
                int step = 0;
                for (bool reached = true; reached; ++step) {
                    SCOPED_TRACE(testing::Message() << "exchange " << exchange << ", new slot " << fresh
                                                    << ", crash " << crash << ", step " << step);
                    fs::remove_all(SaveFolder());
                    Captured([] { screen().ScanSaveFolder(); });
                    MakeMap({TILE_PATH, TILE_PATH}, 2);
                    realm().m_stock[RESOURCE_MONEY] = 100.0f;
                    if (!fresh) {
                        Captured(SaveGameToSlot);
                    }
                    const std::vector<std::string> old = slotFiles();
                    // The new game differs from the old in each of the three files.
                    MakeMap({TILE_PATH, TILE_CRACK}, 2);
                    engine().m_gameData->m_tileMap.PlaceBuilding(0, 0, BUILDING_FARM);
                    realm().m_stock[RESOURCE_MONEY] = 200.0f;
                    screen().m_selectedSlot = 0;

                    int seen = 0;
                    reached = false;
                    SetFileStepHook([&](const char* name, const std::string&) {
                        if (!exchange && std::string(name) == "exchange") {
                            return EINVAL;
                        }
                        if (seen++ != step) {
                            return 0;
                        }
                        reached = true;
                        if (crash) {
                            throw Crash{};
                        }
                        return EIO;
                    });
                    Lines lines;
                    try {
                        lines = Captured(SaveGameToSlot);
                    } catch (const Crash&) {
                    }
                    SetFileStepHook(nullptr);

                    Captured([] { screen().ScanSaveFolder(); });
                    const std::vector<std::string> now = slotFiles();
                    bool allNew = screen().m_slotPaths == std::vector<std::string>{slot};
                    for (size_t i = 0; i < now.size(); ++i) {
                        allNew = allNew && now[i] != old[i];
                    }
                    const bool allOld = now == old && screen().m_slotPaths.size() == (fresh ? 0u : 1u);
                    EXPECT_TRUE(allOld || allNew);
                    if (!crash) {
                        EXPECT_EQ(allNew, Has(lines, "Game saved to " + slot));
                    }
                    if (allNew || !fresh) {
                        std::unique_ptr<ArmyConfig> army;
                        std::unique_ptr<KRMapConfig> map;
                        std::unique_ptr<BuildingConfig> buildings;
                        Captured([&] {
                            army = ReadArmyFile(slot + kSlotFiles[0], false);
                            map = ReadMapFile(slot + kSlotFiles[1], false);
                            buildings = ReadBuildingFile(slot + kSlotFiles[2], false);
                        });
                        ASSERT_TRUE(army && map && buildings);
                        EXPECT_TRUE(BuildingsFitMap(*buildings, *map));
                        EXPECT_EQ(army->m_block.resources[RESOURCE_MONEY], allNew ? 200.0f : 100.0f);
                    }

                    screen().m_selectedSlot = 0;
                    EXPECT_TRUE(Has(Captured(SaveGameToSlot), "Game saved to " + slot));
                    std::vector<std::string> left;
                    for (const auto& entry : fs::directory_iterator(SaveFolder())) {
                        left.push_back(entry.path().filename().string());
                    }
                    EXPECT_EQ(left, std::vector<std::string>{"Data0"});
                }
                // At least the spare, three writes and three renames, the swap and the cleanup.
                EXPECT_GE(step, 10);
            }
        }
    }
}

// Old files that cannot be removed (another user's, in a folder not ours) are set aside: every later
// save goes through, they are never listed, and a scan tidies them once it can.
TEST_F(Slots, OldFilesThatCannotBeRemovedNeverBlockALaterSaveOfTheSlot) {
    SaveOnce(100.0f);
    SetFileStepHook(
        [](const char* step, const std::string&) { return std::string(step) == "remove" ? EACCES : 0; });
    for (const float money : {200.0f, 300.0f}) {
        EXPECT_EQ(SaveOnce(money), money);
        EXPECT_EQ(screen().m_slotPaths, std::vector<std::string>{SaveFolder() + "Data0/"});
    }
    EXPECT_EQ(Entries(SaveFolder()).size(), 3u);
    SetFileStepHook(nullptr);
    Captured([] { screen().ScanSaveFolder(); });
    EXPECT_EQ(Entries(SaveFolder()), std::vector<std::string>{"Data0"});
}

TEST_F(Slots, ASavedOverSlotKeepsThePermissionsOfItsFolderAndFiles) {
    const std::string slot = SaveFolder() + "Data0/";
    SaveOnce(100.0f);
    std::vector<fs::perms> before{fs::perms::owner_all};
    fs::permissions(slot, before[0]);
    for (const char* file : kSlotFiles) {
        fs::permissions(slot + file, before.emplace_back(fs::perms::owner_read | fs::perms::owner_write));
    }
    SaveOnce(200.0f);
    std::vector<fs::perms> after{fs::status(slot).permissions()};
    for (const char* file : kSlotFiles) {
        after.push_back(fs::status(slot + file).permissions());
    }
    EXPECT_EQ(after, before);
}

// A linked slot is saved where it leads, beside the player's own files there, and the link stays; a
// save stopped at any step leaves it listed and loadable. A link to a folder that holds the saves is
// never written through.
TEST_F(Slots, ASlotThatIsALinkIsSavedWhereItLeadsAndNothingElseThereIsTouched) {
    struct Crash {};
    const std::string kept = scratch.Folder() + "Kept/";
    SaveOnce(100.0f);
    fs::rename(SaveFolder() + "Data0", kept);
    fs::create_directory(kept + "photos");
    savetest::WriteText(kept + "notes.txt", "mine");
    fs::create_directory_symlink(kept, SaveFolder() + "Data0");
    int crashes = 0;
    for (int step = 0; step < 7; ++step) {
        int seen = 0;
        SetFileStepHook([&](const char* name, const std::string&) {
            if (std::string(name) != "exchange" && seen++ == step) {
                throw Crash{};
            }
            return std::string(name) == "exchange" ? EINVAL : 0;
        });
        try {
            SaveOnce(200.0f);
        } catch (const Crash&) {
            ++crashes;
        }
        SetFileStepHook(nullptr);
        Captured([&] {
            EXPECT_TRUE(ReadArmyFile(kept + kSlotFiles[0], false) &&
                        ReadMapFile(kept + kSlotFiles[1], false));
        });
        EXPECT_EQ(SaveOnce(300.0f), 300.0f) << step;
        std::vector<std::string> left = Entries(kept);
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, (std::vector<std::string>{"armydata.xml", "buildingdata.xml", "mapdata.xml",
                                                  "notes.txt", "photos"}));
    }
    // Each of the three files is written and then renamed into place.
    EXPECT_EQ(crashes, 6);
    EXPECT_TRUE(fs::is_symlink(SaveFolder() + "Data0"));

    const std::string game = scratch.Folder() + "Thornvale Oriskar";
    fs::create_directory_symlink(game, SaveFolder() + "Data1");
    const std::vector<std::string> before = Entries(game);
    Captured([] { screen().ScanSaveFolder(); });
    screen().m_selectedSlot = 1;
    EXPECT_TRUE(Has(Captured(SaveGameToSlot), "Game not saved to " + SaveFolder() + "Data1/"));
    EXPECT_EQ(Entries(game), before);
    EXPECT_EQ(Entries(SaveFolder()).size(), 2u);
}

TEST_F(Slots, AFailedSavesLetterNamesTheSystemsCause) {
    SaveOnce(100.0f);
    for (const auto& [error, words] :
         {std::pair{ENOSPC, "disk is full"}, std::pair{EACCES, "may not write"}}) {
        SetFileStepHook([error = error](const char* step, const std::string&) {
            return std::string(step) == "write" ? error : 0;
        });
        SaveOnce(200.0f);
        SetFileStepHook(nullptr);
        ASSERT_NE(engine().m_gameData->m_mailList.MailAt(0), nullptr);
        EXPECT_NE(engine().m_gameData->m_mailList.MailAt(0)->m_text.find(words), std::string::npos);
    }
}

TEST_F(Slots, TheLoadScreenFromTheMainMenuShowsNoLetterOfAGameLeftBehind) {
    std::vector<std::string> journal;
    RecordingState menu("Menu", journal);
    engine().m_stack.assign(1, &menu);
    engine().m_gameData->m_mailList.AddMail("A letter of the game", MAIL_ALERT);
    Captured([] {
        ScriptLoadGame();
        engine().Frame();
    });
    EXPECT_FALSE(engine().m_gameData->m_mailList.HasPendingMail());
    engine().m_stack.clear();
}

} // namespace
