// Process entry and window procedure, independent of the platform that delivers the messages.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <functional>

class Engine;
class KRState;

// Creates the window, starts the engine on the initial state and runs the message loop until the
// engine stops. The engine and the first state are obtained only once the window exists.
// Returns the process exit status: non-zero when start-up failed.
int RunGame(plat::Window& window, const std::function<Engine&()>& engine,
            const std::function<KRState&()>& initialState);

// The game reads "../Assets" relative to the working directory, which is set to the executable's folder
// so that the game starts from anywhere.
void EnterExecutableFolder();

int64_t WndProc(Engine& engine, plat::Window& window, const plat::Message& message);

constexpr int kExitWindowFailed = 2;
constexpr int kExitEngineFailed = 3;
