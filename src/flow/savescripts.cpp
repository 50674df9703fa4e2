#include "flow/savescripts.h"

#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "flow/saveloadstate.h"
#include "kingdom/kingdomeditorstate.h"
#include "kingdom/kingdomhud.h"
#include "kingdom/mapfiles.h"
#include "realm/armyconfig.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kStagedSuffix = ".saving";

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

// Each file is staged beside its old one and only then renamed over it, so that a save that fails part
// way leaves the old slot whole.
bool SaveSlot(GameData& world, const PlayerEditor& realm, const std::string& folder) {
    bool written = WriteGameFiles(world, realm, folder, kStagedSuffix);
    std::error_code error;
    for (const char* name : kSlotFiles) {
        const std::string file = folder + name;
        const std::string staged = file + kStagedSuffix;
        if (written) {
            fs::rename(staged, file, error);
            written = !error;
            ConfigCache::Instance().ForgetFile(file);
        }
        fs::remove(staged, error);
    }
    return written;
}

void PutPauseBack(PlayerEditor& realm) {
    realm.m_paused = false;
    if (realm.m_pauseBox != nullptr) {
        realm.m_pauseBox->m_label.SetText("Pause", {0.0f, 0.0f, 0.0f});
    }
}

} // namespace

void ScriptLoadGame() {
    Engine& engine = Engine::Instance();
    BuildSaveSlotScreen(engine);
    engine.PushState(&SaveLoadState::Instance());
    if (engine.m_gameData != nullptr) {
        engine.m_gameData->m_gameMode = GAME_MODE_SAVE_LOAD;
    }
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
    engine.PushState(&SaveLoadState::Instance());
    if (engine.m_gameData != nullptr) {
        engine.m_gameData->m_gameMode = GAME_MODE_SAVE_LOAD;
    }
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
    const bool newSlot = screen->SlotPath().empty();
    const std::string folder = screen->GetOrCreateSlotFolder();
    if (folder.empty()) {
        LogLine("Game not saved: there is no save folder to write to");
    } else if (SaveSlot(*engine.m_gameData, *engine.m_playerEditor, folder)) {
        LogLine("Game saved to " + folder);
    } else {
        LogLine("Game not saved to " + folder);
        if (newSlot) {
            // A new slot that holds nothing would be listed as a slot that cannot be loaded.
            std::error_code error;
            fs::remove(folder, error);
        }
    }
    screen->ScanSaveFolder();
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
        return;
    }
    // Read as the files are now, and whole, before anything of the running game is touched.
    std::unique_ptr<KRMapConfig> map = ReadMapFile(folder + AssetPaths::kMapDataFile, false);
    std::unique_ptr<BuildingConfig> buildings =
        ReadBuildingFile(folder + AssetPaths::kBuildingDataFile, false);
    std::unique_ptr<ArmyConfig> army = ReadArmyFile(folder + AssetPaths::kArmyDataFile, false);
    if (!map || !buildings || !army) {
        LogLine("Game not loaded from " + folder);
        return;
    }

    BuildKingdomHud(engine);
    world->ResetForNewGame();
    realm->ClearBaseUnits();
    realm->ClearMerchantUnits();
    realm->ClearPurchasedUnits();
    world->m_tileMap.Clear();
    PutPauseBack(*realm);
    realm->m_tutorial = false;
    ApplyMapConfig(world->m_tileMap, *map);
    ApplyBuildingConfig(world->m_tileMap, *buildings);
    world->FindCapitalTile();
    realm->ApplyArmyConfig(*army);
    LogLine("Game loaded from " + folder);

    if (engine.ChangeState(&KingdomEditorState::Instance())) {
        world->m_gameMode = GAME_MODE_KINGDOM;
    } else {
        RunScript(engine.m_scripts, "PopState");
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
