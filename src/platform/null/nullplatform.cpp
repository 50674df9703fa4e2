#include "platform/null/nullplatform.h"
#include "platform/null/nullaudio.h"
#include "platform/null/nullgraphics.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace plat {

bool NullWindow::Create(const WindowDesc& d) {
    desc = d;
    created = createSucceeds;
    return created;
}

void NullWindow::Show(int command) {
    showCommands.push_back(command);
    visible = command != kSwHide;
}

bool NullWindow::PeekMessage(Message& out) {
    if (queue.empty()) {
        return false;
    }
    out = queue.front();
    queue.pop_front();
    return true;
}

void NullWindow::PostQuitMessage(int exitCode) {
    Message quit;
    quit.message = kWmQuit;
    quit.wParam = static_cast<uint64_t>(exitCode);
    queue.push_back(quit);
}

bool NullWindow::GetCursorClientPos(int& x, int& y) {
    if (!cursorSucceeds) {
        return false;
    }
    x = cursorX;
    y = cursorY;
    return true;
}

void NullWindow::GetClientSize(int& width, int& height) const {
    width = desc.width;
    height = desc.height;
}

// Counted from the first reading, so that times stay small enough for the game's float arithmetic.
uint64_t SteadyClock::Milliseconds() {
    using namespace std::chrono;
    static const steady_clock::time_point origin = steady_clock::now();
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now() - origin).count());
}

void SteadyClock::Sleep(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

namespace {

class StderrMessageBox : public MessageBoxSink {
public:
    void Show(const std::string&, const std::string&) override {}
};

NullWindow g_nullWindow;
SteadyClock g_steadyClock;
StderrMessageBox g_nullMessageBox;
Services g_services{&g_nullWindow, &g_steadyClock, &g_nullMessageBox, &DefaultNullGraphics(),
                    &g_defaultNullAudioOutput};

} // namespace

Services& Platform() { return g_services; }

void Install(const Services& services) {
    g_services.window = services.window != nullptr ? services.window : &g_nullWindow;
    g_services.clock = services.clock != nullptr ? services.clock : &g_steadyClock;
    g_services.messageBox = services.messageBox != nullptr ? services.messageBox : &g_nullMessageBox;
    g_services.graphics = services.graphics != nullptr ? services.graphics : &DefaultNullGraphics();
    g_services.audio = services.audio != nullptr ? services.audio : &g_defaultNullAudioOutput;
}

void ShowMessageBox(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "%s %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    Platform().messageBox->Show(text, caption);
}

} // namespace plat
