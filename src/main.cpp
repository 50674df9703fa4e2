#include "engine/engine.h"
#include "engine/krlog.h"
#include "engine/krwinmain.h"
#include "flow/introstate.h"
#include "platform/sdl/sdlaudio.h"
#include "platform/sdl/sdlgraphics.h"
#include "platform/sdl/sdlwindow.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

// The game reads "../Assets" relative to the working directory, which is set to the executable's
// folder so that the game starts from anywhere.
void EnterExecutableFolder() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        std::filesystem::current_path(exe.parent_path(), error);
    }
}

} // namespace

int main(int, char**) {
    InitLog();
    EnterExecutableFolder();
    static plat::SdlWindow window;
    static plat::SteadyClock clock;
    static plat::SdlMessageBox messageBox;
    static plat::SdlAudioOutput audio;
    static plat::SdlGraphics graphics;
    plat::Install({&window, &clock, &messageBox, &graphics, &audio});
    return RunGame(
        window,
        []() -> Engine& {
            Engine& engine = Engine::Instance();
            // Test hook: the end-to-end tests turn the debug overlay on without a script.
            const char* overlay = std::getenv("THORNVALE_DEBUG_OVERLAY");
            if (overlay != nullptr && std::string(overlay) == "1") {
                engine.m_showDebugInfo = true;
            }
            return engine;
        },
        []() -> KRState& { return IntroState::Instance(); });
}
