#include "flow/frontendscripts.h"

#include "engine/engine.h"
#include "engine/krlog.h"
#include "flow/frontendstates.h"
#include "flow/introstate.h"
#include "flow/storystate.h"

namespace {

void Push(KRState& state) {
    Engine::Instance().PushState(&state);
}

// Pauses the game for a screen that is on its way, so that a refusal cannot leave it paused with no
// menu to resume from.
void PushPausing(KRState& state) {
    Engine& engine = Engine::Instance();
    if (engine.PushState(&state)) {
        RunScript(engine.m_scripts, "Pause");
    }
}

void CheckIntroIsCurrent(int line) {
    if (dynamic_cast<IntroState*>(Engine::Instance().m_lastRequestedState) == nullptr) {
        PrintCheckFailure("krscripts", line, "\"Tried to use introstate function in non-introstate!\"");
    }
}

} // namespace

void ScriptGoToStory() {
    Push(StoryState::Instance());
}

void ScriptOptions() {
    Push(OptionsState::Instance());
}

void ScriptPushCredits() {
    Push(CreditsState::Instance());
}

void ScriptPushHowToPlay() {
    Push(HowToPlayState::Instance());
}

void ScriptPushPauseMenu() {
    PushPausing(PauseMenuState::Instance());
}

void ScriptPushQuitConfirmation() {
    PushPausing(QuitGameConfirmationState::Instance());
}

void ScriptPauseMenuReturnToGame() {
    Engine& engine = Engine::Instance();
    RunScript(engine.m_scripts, "Resume");
    engine.PopState();
}

void ScriptSkipCorvessaSplash() {
    CheckIntroIsCurrent(1118);
}

void ScriptSkipLumbrakeSplash() {
    CheckIntroIsCurrent(1136);
}
