#include "flow/frontendstates.h"

#include "engine/engine.h"
#include "engine/krlog.h"

#include <utility>

namespace {

constexpr const char* kResolution1440Item = "Resolution1440X900";

// Esc on the credits and on the pause menu: back, with game time running again.
void ReturnToGameOnEscape(Engine& engine) {
    if (engine.m_input.KeyPressed(KEY_ESCAPE)) {
        RunScript(engine.m_scripts, "PauseMenuReturnToGame");
    }
}

} // namespace

FrontEndScreen::FrontEndScreen(std::string name, std::string layoutFile)
    : KRState(std::move(name)), m_layoutFile(std::move(layoutFile)) {}

void FrontEndScreen::Load(Engine& engine) {
    LogLine("Loading MainMenuState");
    m_gui.LoadScreen(engine, m_layoutFile);
}

void FrontEndScreen::Initialize(Engine&) {
    LogLine("Initializing " + m_name);
}

void FrontEndScreen::HandleInput(Engine& engine) {
    m_gui.HandleScreenInput(engine);
    HandleKeys(engine);
}

void FrontEndScreen::Update(Engine& engine) {
    DefaultStateUpdate(*this, engine);
}

void FrontEndScreen::Render(Engine& engine) {
    DefaultStateRender(*this, engine);
}

void FrontEndScreen::Cleanup(Engine&) {
    LogLine("Cleanup " + m_name);
}

void FrontEndScreen::Unload(Engine& engine) {
    LogLine("Unloading " + m_name);
    m_gui.UnloadScreen(engine);
}

CreditsState& CreditsState::Instance() {
    static CreditsState state;
    return state;
}

CreditsState::CreditsState() : FrontEndScreen("CreditsState", "../Assets/guicredits.xml") {}

void CreditsState::HandleKeys(Engine& engine) {
    ReturnToGameOnEscape(engine);
}

HowToPlayState& HowToPlayState::Instance() {
    static HowToPlayState state;
    return state;
}

HowToPlayState::HowToPlayState() : FrontEndScreen("HowToPlayState", "../Assets/guihowtoplay.xml") {}

void HowToPlayState::HandleKeys(Engine& engine) {
    if (engine.m_input.KeyPressed(KEY_ESCAPE)) {
        RunScript(engine.m_scripts, "PopState");
    }
}

OptionsState& OptionsState::Instance() {
    static OptionsState state;
    return state;
}

OptionsState::OptionsState() : FrontEndScreen("OptionsState", "../Assets/guioptions.xml") {}

void OptionsState::Load(Engine& engine) {
    FrontEndScreen::Load(engine);
    KRGUIObject* item = m_gui.FindByName(kResolution1440Item);
    if (item == nullptr) {
        LogLine("Crap.");
        return;
    }
    const Renderer* renderer = engine.m_display.renderer.get();
    if (renderer == nullptr || !renderer->has1440x900) {
        item->m_active = false;
    }
}

void OptionsState::HandleKeys(Engine& engine) {
    if (engine.m_input.KeyPressed(KEY_ESCAPE)) {
        engine.PopState();
    }
}

PauseMenuState& PauseMenuState::Instance() {
    static PauseMenuState state;
    return state;
}

PauseMenuState::PauseMenuState() : FrontEndScreen("PauseMenuState", "../Assets/guipause.xml") {}

void PauseMenuState::HandleKeys(Engine& engine) {
    ReturnToGameOnEscape(engine);
}

QuitGameConfirmationState& QuitGameConfirmationState::Instance() {
    static QuitGameConfirmationState state;
    return state;
}

QuitGameConfirmationState::QuitGameConfirmationState()
    : FrontEndScreen("QuitGameConfirmationState", "../Assets/guiquitgameconfirmation.xml") {}

void QuitGameConfirmationState::HandleKeys(Engine& engine) {
    ReturnToGameOnEscape(engine);
    // Quits whatever else is pending.
    if (engine.m_input.KeyPressed(KEY_SPACE)) {
        engine.Quit();
    }
}
