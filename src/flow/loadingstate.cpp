#include "flow/loadingstate.h"

#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krlog.h"
#include "engine/krtexturescan.h"
#include "flow/mainmenustate.h"
#include "realm/playereditor.h"

#include <memory>
#include <string>

const LoadedSound kLoadedSounds[12] = {
    {AssetPaths::kMusicSummer, plat::kAudioLoopNormal},
    {AssetPaths::kEffectSword, plat::kAudioLoopOff},
    {AssetPaths::kEffectSword2, plat::kAudioLoopOff},
    {AssetPaths::kEffectSpark3, plat::kAudioLoopOff},
    {AssetPaths::kEffectEnergyBall, plat::kAudioLoopOff},
    {AssetPaths::kEffectSteamEnd, plat::kAudioLoopOff},
    {AssetPaths::kMusicOctober, plat::kAudioLoopNormal},
    {AssetPaths::kMusicWaterclours, plat::kAudioLoopNormal},
    {AssetPaths::kMusicClassical, plat::kAudioLoopNormal},
    {AssetPaths::kMusicGypsy, plat::kAudioLoopNormal},
    {AssetPaths::kMusicValseFantasie, plat::kAudioLoopOff},
    {AssetPaths::kEffectCrack, plat::kAudioLoopOff},
};

namespace {

constexpr const char* kLoadingLayout = "../Assets/guiloading.xml";

// The folder names are plain ASCII: each character is its own wide character.
std::wstring Widen(const std::string& narrow) {
    return std::wstring(narrow.begin(), narrow.end());
}

} // namespace

LoadingState& LoadingState::Instance() {
    static LoadingState state;
    return state;
}

void LoadingState::Load(Engine& engine) {
    LogLine("Loading MainMenuState");
    m_gui.LoadScreen(engine, kLoadingLayout);
}

void LoadingState::Initialize(Engine&) {
    LogLine("Initializing LoadingState");
}

void LoadingState::HandleInput(Engine& engine) {
    m_gui.HandleScreenInput(engine);
}

void LoadingState::Update(Engine& engine) {
    engine.ChangeState(&KRMainMenuState::Instance());
    DefaultStateUpdate(*this, engine);
}

void LoadingState::Render(Engine& engine) {
    DefaultStateRender(*this, engine);
}

void LoadingState::Cleanup(Engine&) {
    LogLine("Cleanup LoadingState");
}

void LoadingState::Unload(Engine& engine) {
    LoadGameAssets(engine);
    LogLine("Unloading LoadingState");
    m_gui.UnloadScreen(engine);
}

void LoadingState::LoadGameAssets(Engine& engine) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr || world->m_assetsLoaded != 0) {
        return;
    }
    for (const char* folder : kLoadedTextureFolders) {
        ListTextureConfigFiles(Widen(folder), *world);
        LoadTextureConfigFiles(folder, *world, engine);
    }
    for (const LoadedSound& sound : kLoadedSounds) {
        engine.m_audio.LoadSound(sound.m_file, sound.m_mode);
    }
    world->m_assetsLoaded = 1;
    // The realm is made once per process; a new or loaded game resets it in place.
    if (world->m_playerEditor == nullptr) {
        world->m_playerEditor = std::make_unique<PlayerEditor>(&engine, world);
    }
    engine.m_playerEditor = world->m_playerEditor.get();
}
