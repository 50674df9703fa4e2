#include "flow/introstate.h"

#include "engine/engine.h"
#include "engine/krlog.h"
#include "flow/loadingstate.h"

namespace {

constexpr const char* kIntroLayout = "../Assets/guiintro.xml";
constexpr const char* kFirstSplashItem = "CorvessaSplash";
constexpr const char* kSecondSplashItem = "TeamLumbrakeSplash";

void SetItemShown(GUISystem& gui, const char* name, bool shown) {
    KRGUIObject* item = gui.FindByName(name);
    if (item == nullptr) {
        LogLine("Crap.");
        return;
    }
    item->m_active = shown;
}

void GoToLoadingScreen(Engine& engine) {
    engine.ChangeState(&LoadingState::Instance());
}

} // namespace

IntroState& IntroState::Instance() {
    static IntroState state;
    return state;
}

IntroState::IntroState(plat::Clock* clock) : KRState("IntroState"), m_timer(clock) {}

void IntroState::Load(Engine& engine) {
    LogLine("Loading MainMenuState");
    m_gui.LoadScreen(engine, kIntroLayout);
    m_gui.UnfadeFromBlack();
}

void IntroState::Initialize(Engine&) {
    LogLine("Initializing IntroState");
    SetItemShown(m_gui, kSecondSplashItem, false);
    m_displayState = kFirstSplash;
    m_timer.Reset();
}

void IntroState::HandleInput(Engine& engine) {
    m_gui.HandleScreenInput(engine);
    const InputSys& input = engine.m_input;
    if (input.ButtonReleased(0) || input.ButtonReleased(1) || input.KeyPressed(KEY_ESCAPE) ||
        input.KeyPressed(KEY_ENTER) || input.KeyPressed(KEY_SPACE)) {
        GoToLoadingScreen(engine);
    }
}

void IntroState::Update(Engine& engine) {
    if (m_timer.Elapsed() > kSplashSeconds) {
        AdvanceDisplayState();
        m_timer.Reset();
    } else if (m_displayState == kFadingOut && m_gui.m_fadeState == FADE_BLACK) {
        GoToLoadingScreen(engine);
    }
    DefaultStateUpdate(*this, engine);
}

void IntroState::AdvanceDisplayState() {
    switch (m_displayState) {
    case kFirstSplash:
        SetItemShown(m_gui, kFirstSplashItem, false);
        SetItemShown(m_gui, kSecondSplashItem, true);
        m_displayState = kSecondSplash;
        break;
    case kSecondSplash:
        m_gui.FadeToBlack();
        m_displayState = kFadingOut;
        break;
    default:
        PrintCheckFailure("introstate", 185, "\"m_displayState in IntroState screwd up.\"");
        break;
    }
}

void IntroState::Render(Engine& engine) {
    DefaultStateRender(*this, engine);
}

void IntroState::Cleanup(Engine&) {
    LogLine("Cleanup IntroState");
}

void IntroState::Unload(Engine& engine) {
    LogLine("Unloading IntroState");
    m_gui.UnloadScreen(engine);
}
