#include "engine/engine.h"
#include "engine/krlog.h"
#include "engine/krwinmain.h"
#include "flow/introstate.h"
#include "platform/sdl/sdlaudio.h"
#include "platform/sdl/sdlgraphics.h"
#include "platform/sdl/sdlwindow.h"

#include <cstdlib>
#include <string>


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
