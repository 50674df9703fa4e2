#include "flow/krscripts.h"

#include "battle/warringstate.h"
#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "battle/uniteditorscripts.h"
#include "kingdom/kingdomscripts.h"
#include "flow/frontendscripts.h"
#include "flow/savescripts.h"
#include "flow/gamescripts.h"

#include <algorithm>

namespace {

constexpr double kRunningMaxDelta = 0.05;
constexpr float kPausedMusicVolume = 0.3f;
constexpr float kTimeMultiplierStep = 0.5f;
// A multiplier of 0 or below would stop or reverse game time.
constexpr float kLowestTimeMultiplier = 0.5f;

// A group that was never created is left alone.
void SetGroupPaused(plat::ChannelGroup& group, bool paused) {
    if (!group.Handle().IsNull()) {
        CheckFmodResult(group.SetPaused(paused));
    }
}

void SetGroupVolume(plat::ChannelGroup& group, float volume) {
    if (!group.Handle().IsNull()) {
        CheckFmodResult(group.SetVolume(volume));
    }
}

void StopGameTime(Engine& engine) {
    engine.m_timer.maxDelta = 0.0;
    SetGroupPaused(engine.m_audio.effectsGroup, true);
}

void RestartGameTime(Engine& engine) {
    engine.m_timer.maxDelta = kRunningMaxDelta;
    SetGroupPaused(engine.m_audio.effectsGroup, false);
}

// Between the top-down and the perspective camera; any other camera stays.
void SwapCameras(GameData& world) {
    if (world.m_activeCamera == &world.m_kingdomCamera) {
        world.m_activeCamera = &world.m_perspCamera;
    } else if (world.m_activeCamera == &world.m_perspCamera) {
        world.m_activeCamera = &world.m_kingdomCamera;
    }
}

void ScriptPause() {
    Engine& engine = Engine::Instance();
    StopGameTime(engine);
    SetGroupVolume(engine.m_audio.musicGroup, kPausedMusicVolume);
}

void ScriptResume() {
    Engine& engine = Engine::Instance();
    RestartGameTime(engine);
    SetGroupVolume(engine.m_audio.musicGroup, 1.0f);
}

void ScriptPopState() {
    Engine::Instance().PopState();
}

void ScriptMainMenu() {
    Engine::Instance().ReturnToRootState();
    ScriptResume();
}

void ScriptExitGame() {
    Engine::Instance().Quit();
}

void ScriptResetMap() {
    if (GameData* world = Engine::Instance().m_gameData.get()) {
        world->m_clickedTile = nullptr;
        world->m_tileMap.ResetMap();
    }
}

void ScriptExpandMap() {
    if (GameData* world = Engine::Instance().m_gameData.get()) {
        world->m_tileMap.ExpandMap();
    }
}

void ScriptToggleView() {
    if (GameData* world = Engine::Instance().m_gameData.get()) {
        SwapCameras(*world);
    }
}

void ScriptTimeMultiplierOn() {
    Engine::Instance().m_timer.scaleOn = true;
}
void ScriptTimeMultiplierOff() {
    Engine::Instance().m_timer.scaleOn = false;
}

void ScriptTimeMultiplierIncrement() {
    FrameTimer& timer = Engine::Instance().m_timer;
    timer.scale = static_cast<double>(static_cast<float>(timer.scale) + kTimeMultiplierStep);
}

void ScriptTimeMultiplierDecrement() {
    FrameTimer& timer = Engine::Instance().m_timer;
    const float lowered = static_cast<float>(timer.scale) - kTimeMultiplierStep;
    timer.scale = static_cast<double>(std::max(lowered, kLowestTimeMultiplier));
}

void SetResolution(uint32_t width, uint32_t height) {
    Engine& engine = Engine::Instance();
    Renderer* renderer = engine.m_display.renderer.get();
    if (renderer == nullptr) {
        return;
    }
    const uint32_t margin = renderer->SetResolution(width, height);
    engine.m_display.width = width;
    engine.m_display.height = height;
    engine.m_display.margin = margin;
}

void ScriptResolution800x600() {
    SetResolution(800, 600);
}
void ScriptResolution1024x768() {
    SetResolution(1024, 768);
}
void ScriptResolution1440x900() {
    SetResolution(1440, 900);
}

void ScriptFullScreenToggle() {
    if (Renderer* renderer = Engine::Instance().m_display.renderer.get()) {
        renderer->ToggleFullScreen();
    }
}

void ScriptToggleMuteMusic() {
    plat::ChannelGroup& music = Engine::Instance().m_audio.musicGroup;
    if (music.Handle().IsNull()) {
        LogLine("MusicGroup not created!");
        return;
    }
    bool paused = false;
    if (CheckFmodResult(music.GetPaused(&paused))) {
        CheckFmodResult(music.SetPaused(!paused));
    }
}

void ScriptToggleDisplayDebugInfo() {
    Engine& engine = Engine::Instance();
    engine.m_showDebugInfo = !engine.m_showDebugInfo;
}

} // namespace

const ScriptRow kScriptTable[52] = {
    {"GoToStory", ScriptGoToStory},
    {"StartGame", ScriptStartGame},
    {"LoadGame", ScriptLoadGame},
    {"Options", ScriptOptions},
    {"PopState", ScriptPopState},
    {"Pause", ScriptPause},
    {"Resume", ScriptResume},
    {"ChangeTileType", ScriptChangeTileType},
    {"SaveMap", ScriptSaveMap},
    {"ResetMap", ScriptResetMap},
    {"ExpandMap", ScriptExpandMap},
    {"ToggleView", ScriptToggleView},
    {"TimeMultiplierOn", ScriptTimeMultiplierOn},
    {"TimeMultiplierOff", ScriptTimeMultiplierOff},
    {"TimeMultiplierIncrement", ScriptTimeMultiplierIncrement},
    {"TimeMultiplierDecrement", ScriptTimeMultiplierDecrement},
    {"UStatAddHp", UStatAddHp},
    {"UStatMinusHp", UStatMinusHp},
    {"UStatAddStr", UStatAddStr},
    {"UStatMinusStr", UStatMinusStr},
    {"UStatAddVit", UStatAddVit},
    {"UStatMinusVit", UStatMinusVit},
    {"UStatAddDef", UStatAddDef},
    {"UStatMinusDef", UStatMinusDef},
    {"UStatAddMoveSpd", UStatAddMoveSpd},
    {"UStatMinusMovSpd", UStatMinusMovSpd},
    {"UStatAddRange", UStatAddRange},
    {"UStatMinusRange", UStatMinusRange},
    {"ChangeUnitType", ScriptChangeUnitType},
    {"MainMenu", ScriptMainMenu},
    {"Kingdom", ScriptKingdom},
    {"Unit", ScriptUnit},
    {"Warring", ScriptWarring},
    {"ReturnPrevState", ScriptPopState},
    {"UStatConfirm", ScriptUStatConfirm},
    {"UStatReset", ScriptUStatReset},
    {"Resolution800x600", ScriptResolution800x600},
    {"Resolution1024x768", ScriptResolution1024x768},
    {"Resolution1440x900", ScriptResolution1440x900},
    {"FullScreenToggle", ScriptFullScreenToggle},
    {"ToggleMuteMusic", ScriptToggleMuteMusic},
    {"ToggleDisplayDebugInfo", ScriptToggleDisplayDebugInfo},
    {"PushPauseMenu", ScriptPushPauseMenu},
    {"PauseMenuReturnToGame", ScriptPauseMenuReturnToGame},
    {"ExitToMainMenu", ScriptMainMenu},
    {"ExitGame", ScriptExitGame},
    {"PushCredits", ScriptPushCredits},
    {"PushHowToPlay", ScriptPushHowToPlay},
    {"PushQuitConfirmation", ScriptPushQuitConfirmation},
    {"AddMoney", ScriptAddMoney},
    {"SkipCorvessaSplash", ScriptSkipCorvessaSplash},
    {"SkipLumbrakeSplash", ScriptSkipLumbrakeSplash},
};

void ScriptRegistry::Register() {
    for (const ScriptRow& row : kScriptTable) {
        m_scripts[row.m_name] = row.m_function;
    }
}

bool RunScript(const ScriptRegistry& registry, const std::string& name) {
    auto found = registry.m_scripts.find(name);
    if (found == registry.m_scripts.end()) {
        LogLine("Cannot find script by name");
        return false;
    }
    found->second();
    return true;
}

// The engine's numbered commands live beside the scripts they mirror.
bool Engine::DoCommand(const int32_t* command) {
    if (command == nullptr) {
        return false;
    }
    GameData* world = m_gameData.get();
    switch (*command) {
    case COMMAND_STOP_GAME_TIME:
        StopGameTime(*this);
        return true;
    case COMMAND_RESTART_GAME_TIME:
        RestartGameTime(*this);
        return true;
    case COMMAND_NEXT_TILE_TYPE: {
        if (world == nullptr || world->m_clickedTile == nullptr) {
            return false;
        }
        const KRTile& tile = *world->m_clickedTile;
        const TileType next =
            tile.m_type >= 0 && tile.m_type < kTileTypeCount - 1 ? tile.m_type + 1 : TILE_EMPTY;
        // The selected tile is destroyed by the replacement; its successor is selected.
        world->m_clickedTile = world->m_tileMap.SetTileType(tile.m_row, tile.m_col, next);
        return true;
    }
    case COMMAND_HAS_SELECTED_TILE:
        return world != nullptr && world->m_clickedTile != nullptr;
    case COMMAND_WRITE_MAP_DATA:
        if (world != nullptr) {
            world->m_tileMap.WriteMapData(
                std::string(AssetPaths::kAssetsSaveDataFolder) + AssetPaths::kMapDataFile, "MapData");
        }
        return true;
    case COMMAND_RESET_MAP:
        if (world == nullptr) {
            return false;
        }
        world->m_clickedTile = nullptr;
        world->m_capitalTile = nullptr;
        world->m_tileMap.Clear();
        world->m_tileMap.CreateDefaultGrid();
        return true;
    case COMMAND_EXPAND_MAP:
        if (world == nullptr) {
            return false;
        }
        world->m_tileMap.ExpandMap();
        return true;
    case COMMAND_SWAP_CAMERAS:
        if (world != nullptr) {
            SwapCameras(*world);
        }
        return true;
    default:
        return false;
    }
}
