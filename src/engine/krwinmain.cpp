#include "engine/krwinmain.h"

#include "engine/engine.h"
#include "engine/krlog.h"

#include <filesystem>
#include <system_error>

namespace {

constexpr int64_t kAltEnterCommand = 13; // lParam of the system command that Alt+Enter sends

plat::WindowDesc MainWindowDesc() {
    plat::WindowDesc desc;
    desc.className = "KRWC";
    desc.title = "Thornvale Oriskar";
    desc.style = 0x80000008u;
    desc.x = 0;
    desc.y = 0;
    desc.width = 800;
    desc.height = 600;
    return desc;
}

} // namespace

int64_t WndProc(Engine& engine, plat::Window& window, const plat::Message& message) {
    switch (message.message) {
    case plat::kWmDestroy:
        window.PostQuitMessage(0);
        return 0;
    case plat::kWmInput: {
        engine.m_input.OnRawInput(message.input);
        int x = 0, y = 0;
        if (!window.GetCursorClientPos(x, y)) {
            LogLine("GetCursorPos failed.");
        } else {
            engine.m_input.cursorX = x;
            engine.m_input.cursorY = y;
        }
        return 0;
    }
    case plat::kWmSysCommand:
        if (message.lParam == kAltEnterCommand) {
            LogLine("Alt-enter");
            return 0;
        }
        return 0;
    default:
        return 0;
    }
}

int RunGame(plat::Window& window, const std::function<Engine&()>& getEngine,
            const std::function<KRState&()>& getInitialState) {
    // A failed start-up must not look like success to whoever started the game.
    if (!window.Create(MainWindowDesc())) {
        plat::ShowMessageBox("Window wasn't created!", "Woops.");
        return kExitWindowFailed;
    }
    window.Show(plat::kSwShowNormal);
    Engine& engine = getEngine();
    KRState& initial = getInitialState();
    if (!engine.Init(&window, &initial)) {
        plat::ShowMessageBox("Couldn't load engine!", "Woops.");
        return kExitEngineFailed;
    }
    plat::Message message;
    while (engine.m_running) {
        plat::Message next;
        while (window.PeekMessage(next)) {
            message = next;
            WndProc(engine, window, next);
            if (next.message == plat::kWmQuit) {
                engine.m_request = REQUEST_QUIT;
                engine.m_quitting = true;
                break;
            }
        }
        engine.Frame();
        engine.m_timer.Tick();
    }
    window.Show(plat::kSwHide);
    return static_cast<int>(message.wParam);
}

void EnterExecutableFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        std::filesystem::current_path(exe.parent_path(), error);
    }
}
