#include "engine/krstate.h"

#include "engine/engine.h"
#include "engine/krlog.h"

KRState::~KRState() { Engine::ForgetState(this); }

std::vector<DebugText> DebugOverlayTexts(Engine& engine, const KRState& state) {
    std::vector<DebugText> texts;
    if (!engine.m_showDebugInfo) {
        return texts;
    }
    const uint32_t colour = engine.m_display.debugTextColour;
    const int m = static_cast<int>(engine.m_display.margin);
    texts.push_back({FormatDebugText("Frame Time:  %.6f", static_cast<double>(static_cast<float>(
                                                                 engine.m_timer.gameDelta))),
                     500 - m, 10, colour});
    // A zero raw delta shows an infinite rate; that is what the division gives.
    float rate = 1.0f / static_cast<float>(engine.m_timer.rawDelta);
    texts.push_back({FormatDebugText("Frame Rate:  %.6f", static_cast<double>(rate)), 500 - m, 25, colour});
    float x = 0.0f, y = 0.0f, z = 0.0f;
    if (engine.m_audio.GetListenerPosition(x, y, z)) {
        texts.push_back({FormatDebugText("Listener Pos:  %.2f, %.2f, %.2f", static_cast<double>(x),
                                         static_cast<double>(y), static_cast<double>(z)),
                         500 - m, 50, colour});
    }
    texts.push_back({state.GetName(), m + 10, 50, colour});
    return texts;
}

void DrawDebugInfo(Engine& engine, const KRState& state) {
    for (const DebugText& t : DebugOverlayTexts(engine, state)) {
        engine.m_display.DrawDebugText(t.text, t.x, t.y, t.colour);
    }
}

void DefaultStateUpdate(KRState& state, Engine& engine) {
    const float delta = static_cast<float>(engine.m_timer.rawDelta);
    state.m_gui.Update(&delta);
}

void DefaultStateRender(KRState& state, Engine& engine) {
    state.m_gui.Draw(engine);
    // After the GUI, so that a screen's full-window backdrop does not cover it.
    DrawDebugInfo(engine, state);
}
