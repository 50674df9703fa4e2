#include "flow/mainmenustate.h"

#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "engine/krlog.h"

namespace {

constexpr const char* kMainMenuLayout = "../Assets/guimainmenu.xml";

} // namespace

void PlayScreenMusic(Engine& engine, const char* file) {
    GameData* world = engine.m_gameData.get();
    if (world == nullptr) {
        return;
    }
    engine.m_audio.PlayOnChannel(file, true, &world->m_musicChannel);
    if (!world->m_musicChannel.IsNull()) {
        world->m_musicChannel.SetPaused(false);
    }
}

KRMainMenuState& KRMainMenuState::Instance() {
    static KRMainMenuState state;
    return state;
}

void KRMainMenuState::Load(Engine& engine) {
    LogLine("Loading MainMenuState");
    m_gui.LoadScreen(engine, kMainMenuLayout);
}

void KRMainMenuState::Initialize(Engine& engine) {
    LogLine("Initializing MainMenuState");
    PlayScreenMusic(engine, AssetPaths::kMusicLament);
}

void KRMainMenuState::HandleInput(Engine& engine) {
    m_gui.HandleScreenInput(engine);
    if (engine.m_input.KeyPressed(KEY_ESCAPE)) {
        RunScript(engine.m_scripts, "PushQuitConfirmation");
    }
}

void KRMainMenuState::Update(Engine& engine) {
    DefaultStateUpdate(*this, engine);
}

void KRMainMenuState::Render(Engine& engine) {
    DefaultStateRender(*this, engine);
}

void KRMainMenuState::Cleanup(Engine& engine) {
    if (GameData* world = engine.m_gameData.get(); world != nullptr) {
        if (!world->m_musicChannel.IsNull()) {
            world->m_musicChannel.Stop();
        }
        world->m_musicChannel = plat::Channel();
    }
    LogLine("Cleanup MainMenuState");
}

void KRMainMenuState::Unload(Engine& engine) {
    LogLine("Unloading MainMenuState");
    m_gui.UnloadScreen(engine);
}
