// What the flow tests share: the null services the engine singleton runs on, and standard output taken
// as lines.
#pragma once

#include "captured_log.h"
#include "engine/engine.h"
#include "platform/null/nullaudio.h"
#include "platform/null/nullgraphics.h"
#include "platform/null/nullplatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace flowtest {

using Lines = std::vector<std::string>;
using logtest::Captured;

// The services outlive the engine singleton: both live until the process ends, these longer.
inline plat::NullWindow g_window;
inline plat::ManualClock g_clock;
inline plat::RecordingMessageBox g_messageBox;
inline plat::NullGraphics g_graphics;
inline plat::NullAudioOutput g_audio;

// The engine singleton on the null services with its window and display, made once for the process.
inline void StartSingleton() {
    plat::Install({&g_window, &g_clock, &g_messageBox, &g_graphics, &g_audio});
    if (!g_window.created) {
        g_window.Create({"KRWC", "Thornvale Oriskar", 0, 0, 0, 800, 600});
    }
    Engine& engine = Engine::Instance();
    if (engine.m_display.renderer == nullptr) {
        Captured([&] { ASSERT_TRUE(engine.m_display.Init(&g_window)); });
    }
}

inline bool Has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

} // namespace flowtest
