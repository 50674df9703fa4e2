// Runs the real engine on SDL with one screen built from a GUI layout file given on the command line,
// so that the end-to-end tests can click its buttons and fade it with real input.
//
//   gui_harness LAYOUT_FILE

#include "engine/engine.h"
#include "engine/krlog.h"
#include "engine/krwinmain.h"
#include "platform/sdl/sdlaudio.h"
#include "platform/sdl/sdlgraphics.h"
#include "platform/sdl/sdlwindow.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// A screen that is only its GUI, as the front-end screens are; Esc leaves.
class GuiHarnessState : public KRState {
  public:
    explicit GuiHarnessState(std::string layout) : KRState("GuiHarnessState"), m_layout(std::move(layout)) {}

    void Load(Engine& engine) override {
        LogLine("Loading GuiHarnessState");
        if (!m_gui.LoadScreen(engine, m_layout)) {
            LogLine("GuiHarnessState has no layout " + m_layout);
        }
    }
    void Initialize(Engine&) override { LogLine("Initializing GuiHarnessState"); }
    void HandleInput(Engine& engine) override {
        m_gui.HandleScreenInput(engine);
        LogFadeState();
        if (engine.m_input.KeyPressed(KEY_ESCAPE)) {
            engine.Quit();
        }
    }
    void Update(Engine& engine) override {
        DefaultStateUpdate(*this, engine);
        LogFadeState();
    }
    void Render(Engine& engine) override { DefaultStateRender(*this, engine); }
    void Cleanup(Engine&) override { LogLine("Cleanup GuiHarnessState"); }
    void Unload(Engine& engine) override {
        LogLine("Unloading GuiHarnessState");
        m_gui.UnloadScreen(engine);
    }

  private:
    // The tests wait for these instead of guessing how long a fade takes.
    void LogFadeState() {
        if (m_gui.m_fadeState != m_loggedFadeState) {
            m_loggedFadeState = m_gui.m_fadeState;
            LogLine("Fade state " + std::to_string(m_loggedFadeState));
        }
    }

    std::string m_layout;
    int m_loggedFadeState = FADE_IDLE;
};

} // namespace

int main(int argc, char** argv) {
    InitLog();
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s LAYOUT_FILE\n", argv[0]);
        return 2;
    }
    std::error_code error;
    const std::string layout = std::filesystem::absolute(argv[1], error).string();
    EnterExecutableFolder();
    static plat::SdlWindow window;
    static plat::SteadyClock clock;
    static plat::SdlMessageBox messageBox;
    static plat::SdlAudioOutput audio;
    static plat::SdlGraphics graphics;
    plat::Install({&window, &clock, &messageBox, &graphics, &audio});
    static GuiHarnessState screen(layout);
    return RunGame(
        window, []() -> Engine& { return Engine::Instance(); }, []() -> KRState& { return screen; });
}
