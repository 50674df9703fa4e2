#include "flow/startstate.h"

#include "engine/engine.h"
#include "engine/krlog.h"

StartState& StartState::Instance() {
    static StartState state;
    return state;
}

void StartState::Load(Engine&) { LogLine("Loading StartState"); }
void StartState::Initialize(Engine&) { LogLine("Initializing StartState"); }

void StartState::HandleInput(Engine& engine) {
    if (engine.m_input.KeyPressed(KEY_ESCAPE)) {
        engine.Quit();
    }
}

void StartState::Update(Engine&) {}
void StartState::Render(Engine& engine) { DrawDebugInfo(engine, *this); }
void StartState::Cleanup(Engine&) { LogLine("Cleanup StartState"); }
void StartState::Unload(Engine&) { LogLine("Unloading StartState"); }
