#include "flow/savescripts.h"

#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "flow/gamescripts.h"
#include "flow/saveloadstate.h"
#include "flow/tutorialcontroller.h"
#include "kingdom/kingdomeditorstate.h"
#include "kingdom/kingdomhud.h"
#include "kingdom/mapfiles.h"
#include "realm/armyconfig.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The HUD height of a letter's first line on the save screen.
constexpr float kSaveScreenLetterTop = 1.0f;

// The save screen when it is the screen the scripts act on.
SaveLoadState* CurrentSaveScreen() {
    return dynamic_cast<SaveLoadState*>(Engine::Instance().m_lastRequestedState);
}

// The three files of a game, written by the world and its realm.
bool WriteGameFiles(GameData& world, const PlayerEditor& realm, const std::string& folder,
                    const char* suffix) {
    const std::string army = folder + AssetPaths::kArmyDataFile + suffix;
    const std::string map = folder + AssetPaths::kMapDataFile + suffix;
    const std::string buildings = folder + AssetPaths::kBuildingDataFile + suffix;
    return realm.SaveArmyData("ArmyData", army) && world.m_tileMap.WriteMapData(map, "MapData") &&
           world.m_tileMap.WriteBuildingData(buildings, "BuildData");
}

// The three files replace the slot's old ones as one, or not at all. Empty when all is written, else
// why not.
std::string SaveSlot(GameData& world, const PlayerEditor& realm, const std::string& folder) {
    return WriteSlotAsOne(folder,
                          [&](const std::string& spare) { return WriteGameFiles(world, realm, spare, ""); });
}

// The log says it, and so does an alert mail, which the save screen and the game screens show.
void TellPlayer(GameData& world, const std::string& text) {
    LogLine(text);
    world.m_mailList.AddMail(text, MAIL_ALERT);
    // Between the save date and the resource rows, where no box of the save screen lies over it.
    world.m_mailList.m_mails.back()->PlacePopup(kSaveScreenLetterTop);
}

// The save screen over the current one; the mode it covers comes back when it goes.
void PushSaveScreen(Engine& engine) {
    SaveLoadState& screen = SaveLoadState::Instance();
    if (engine.PushState(&screen) && engine.m_gameData != nullptr) {
        screen.m_coveredMode = engine.m_gameData->m_gameMode;
        engine.m_gameData->m_gameMode = GAME_MODE_SAVE_LOAD;
    }
}

// A slot's files, read and checked, waiting for the screens above the main menu to go.
struct ReadSlot {
    std::string folder;
    std::unique_ptr<KRMapConfig> map;
    std::unique_ptr<BuildingConfig> buildings;
    std::unique_ptr<ArmyConfig> army;
};

void ApplySlot(Engine& engine, const ReadSlot& slot) {
    GameData* world = engine.m_gameData.get();
    PlayerEditor* realm = engine.m_playerEditor;
    if (world == nullptr || realm == nullptr) {
        return;
    }
    const bool inTutorial = realm->m_tutorial;
    BuildKingdomHud(engine);
    world->ResetForNewGame();
    ClearCarriedOverPlay();
    realm->ClearBaseUnits();
    realm->ClearMerchantUnits();
    realm->ClearPurchasedUnits();
    world->m_tileMap.Clear();
    if (inTutorial) {
        TutorialController::Instance().Stop(*world);
    }
    realm->m_tutorial = false;
    ApplyMapConfig(world->m_tileMap, *slot.map);
    ApplyBuildingConfig(world->m_tileMap, *slot.buildings);
    world->FindCapitalTile();
    realm->ApplyArmyConfig(*slot.army);
    world->m_gameMode = GAME_MODE_KINGDOM;
    LogLine("Game loaded from " + slot.folder);
}

} // namespace

void ScriptLoadGame() {
    Engine& engine = Engine::Instance();
    // The letters of a game left for the main menu are not this screen's to show, nor to take clicks.
    if (GameData* world = engine.m_gameData.get()) {
        world->m_mailList.m_showing = 0;
        world->m_mailList.Clear();
    }
    BuildSaveSlotScreen(engine);
    PushSaveScreen(engine);
    if (engine.m_playerEditor != nullptr) {
        engine.m_playerEditor->UnhighlightButton(kBoxActionSaveGame);
    }
}

void ScriptSaveMap() {
    Engine& engine = Engine::Instance();
    if (engine.m_gameData == nullptr || engine.m_playerEditor == nullptr) {
        return;
    }
    const std::string folder = AssetPaths::kAssetsSaveDataFolder;
    if (!WriteGameFiles(*engine.m_gameData, *engine.m_playerEditor, folder, "")) {
        LogLine("Map not saved to " + folder);
    }
}

void OpenSaveScreen() {
    Engine& engine = Engine::Instance();
    BuildKingdomHud(engine);
    PushSaveScreen(engine);
    if (engine.m_playerEditor != nullptr) {
        engine.m_playerEditor->HighlightButton(kBoxActionSaveGame);
    }
}

void SaveGameToSlot() {
    Engine& engine = Engine::Instance();
    SaveLoadState* screen = CurrentSaveScreen();
    if (screen == nullptr || engine.m_gameData == nullptr || engine.m_playerEditor == nullptr) {
        return;
    }
    GameData& world = *engine.m_gameData;
    const bool newSlot = screen->SlotPath().empty();
    const bool saveFolderKnown = !screen->m_saveFolder.empty();
    const std::string folder = screen->GetOrCreateSlotFolder();
    if (folder.empty()) {
        LogLine("Game not saved: there is no save folder to write to");
        TellPlayer(world, saveFolderKnown
                              ? "Could not save the game: no new slot folder could be made in " +
                                    screen->m_saveFolder
                              : "Could not save the game: there is no documents folder to save in");
    } else if (const std::string failure = SaveSlot(world, *engine.m_playerEditor, folder); failure.empty()) {
        LogLine("Game saved to " + folder);
    } else {
        LogLine("Game not saved to " + folder);
        TellPlayer(world, "Could not save the game: " + failure);
        if (newSlot) {
            // A new slot that holds nothing would be listed as a slot that cannot be loaded.
            std::error_code error;
            fs::remove(folder, error);
        }
    }
    screen->ScanSaveFolder();
    // The rescan may have put the slot just written anywhere in the list; it is the one to show.
    const auto written = std::find(screen->m_slotPaths.begin(), screen->m_slotPaths.end(), folder);
    if (!folder.empty() && written != screen->m_slotPaths.end()) {
        screen->m_selectedSlot = static_cast<uint32_t>(written - screen->m_slotPaths.begin());
    }
    screen->SelectSlot(screen->m_selectedSlot);
}

void LoadGameFromSlot() {
    Engine& engine = Engine::Instance();
    SaveLoadState* screen = CurrentSaveScreen();
    GameData* world = engine.m_gameData.get();
    PlayerEditor* realm = engine.m_playerEditor;
    if (screen == nullptr || world == nullptr || realm == nullptr) {
        return;
    }
    const std::string folder = screen->SlotPath();
    if (folder.empty()) {
        LogLine("No saved game in this slot");
        TellPlayer(*world, "Could not load the game: there is no saved game in this slot");
        return;
    }
    // Read as the files are now, and whole, before anything of the running game is touched.
    std::unique_ptr<KRMapConfig> map = ReadMapFile(folder + AssetPaths::kMapDataFile, false);
    std::unique_ptr<BuildingConfig> buildings =
        ReadBuildingFile(folder + AssetPaths::kBuildingDataFile, false);
    std::unique_ptr<ArmyConfig> army = ReadArmyFile(folder + AssetPaths::kArmyDataFile, false);
    const char* damaged = !map                                 ? AssetPaths::kMapDataFile
                          : !buildings                         ? AssetPaths::kBuildingDataFile
                          : !BuildingsFitMap(*buildings, *map) ? AssetPaths::kBuildingDataFile
                          : !army                              ? AssetPaths::kArmyDataFile
                                                               : nullptr;
    if (damaged != nullptr) {
        LogLine("Game not loaded from " + folder);
        TellPlayer(*world,
                   "Could not load the game: " + std::string(damaged) + " of " + folder + " is damaged");
        return;
    }

    // The game is replaced only once every screen above the main menu has gone through its own Cleanup
    // and Unload, so that a battle or editor left this way cannot touch the game loaded.
    auto slot =
        std::make_shared<ReadSlot>(ReadSlot{folder, std::move(map), std::move(buildings), std::move(army)});
    if (!engine.ChangeStateAboveRoot(&KingdomEditorState::Instance(),
                                     [slot](Engine& e) { ApplySlot(e, *slot); })) {
        LogLine("Game not loaded from " + folder);
    }
}

void NextSaveSlot() {
    SaveLoadState* screen = CurrentSaveScreen();
    if (screen != nullptr && screen->m_selectedSlot < screen->m_slotPaths.size()) {
        ++screen->m_selectedSlot;
        screen->SelectSlot(screen->m_selectedSlot);
    }
}

void PreviousSaveSlot() {
    SaveLoadState* screen = CurrentSaveScreen();
    if (screen != nullptr && screen->m_selectedSlot > 0) {
        --screen->m_selectedSlot;
        screen->SelectSlot(screen->m_selectedSlot);
    }
}
