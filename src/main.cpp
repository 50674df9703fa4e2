#include "engine/engine.h"
#include "engine/krlog.h"
#include "engine/krwinmain.h"
#include "flow/startstate.h"
#include "platform/sdl/sdlwindow.h"

#include <filesystem>
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
    plat::Install({&window, &clock, &messageBox});
    return RunGame(
        window, []() -> Engine& { return Engine::Instance(); },
        []() -> KRState& { return StartState::Instance(); });
}
