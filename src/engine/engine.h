// The one engine of the process: owns the systems and runs the screen stack.
#pragma once

#include "engine/kraudiosys.h"
#include "engine/krdisplaysys.h"
#include "engine/krinput.h"
#include "engine/krstate.h"
#include "engine/krtimer.h"
#include "flow/krscripts.h"
#include "kingdom/gamedata.h"
#include "platform/platform.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

enum StateRequest : uint32_t {
    REQUEST_IDLE = 0,
    REQUEST_RUN = 1,
    REQUEST_RESTART = 2,
    REQUEST_PUSH = 3,
    REQUEST_POP = 4,
    REQUEST_CHANGE = 5,
    REQUEST_POP_TO_ROOT = 6,
    REQUEST_QUIT = 7,
    // Every screen above the root goes, then the pending step runs, then the requested screen is put
    // on the root.
    REQUEST_CHANGE_ABOVE_ROOT = 8
};

// The numbered commands of Engine::DoCommand.
enum EngineCommand : int32_t {
    COMMAND_STOP_GAME_TIME = 0,
    COMMAND_RESTART_GAME_TIME = 1,
    COMMAND_NEXT_TILE_TYPE = 2, // of the selected tile
    COMMAND_HAS_SELECTED_TILE = 3,
    COMMAND_WRITE_MAP_DATA = 4,
    COMMAND_RESET_MAP = 5, // to the default grid
    COMMAND_EXPAND_MAP = 6,
    COMMAND_SWAP_CAMERAS = 7 // the top view and the perspective view
};

class Engine {
public:
    // The process-wide engine, built on first use and destroyed at exit.
    static Engine& Instance();
    // The engine built last and still alive, or null; never builds one, so objects made while an
    // engine is being built may ask.
    static Engine* Current();

    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    bool Init(plat::Window* window, KRState* initialState);
    void Frame();
    bool PushState(KRState* state);
    bool ChangeState(KRState* state);
    // Accepted as a change is, and also for a stacked state other than the root. `between` runs when the
    // screens above the root are gone, before the state's Load: what it sets up no leaving screen sees.
    bool ChangeStateAboveRoot(KRState* state, std::function<void(Engine&)> between);
    void PopState();
    void ReturnToRootState();
    void Quit();
    bool Shutdown();
    // The numbered commands: time stop and restart, tile and map edits, the camera swap.
    bool DoCommand(const int32_t* command);

    // Drops a state that is being destroyed from every live engine's stack.
    static void ForgetState(const KRState* state);

    KRState* Top() const { return m_stack.empty() ? nullptr : m_stack.back(); }

    DisplaySys m_display;
    InputSys m_input;
    FrameTimer m_timer;
    ScriptRegistry m_scripts;
    std::unique_ptr<GameData> m_gameData;
    // Borrowed from GameData, which owns it; null until the loading screen makes it.
    PlayerEditor* m_playerEditor = nullptr;
    AudioSys m_audio;
    bool m_showDebugInfo = false;
    uint32_t m_request = REQUEST_IDLE;
    bool m_quitting = false;
    KRState* m_lastRequestedState = nullptr;
    std::vector<KRState*> m_stack;
    bool m_running = true;
    // The step of a pending change above the root.
    std::function<void(Engine&)> m_betweenUnwindAndLoad;
    plat::Window* m_window = nullptr;

private:
    bool IsStacked(const KRState* state) const;
    void PopTop();
    // The requested state put on top, loaded and initialised.
    void EnterRequestedState(const char* line);
};
