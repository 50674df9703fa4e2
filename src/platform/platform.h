// Stand-in for the Win32 services the game was written against: the window, its message queue,
// message boxes, raw keyboard and mouse reports, the cursor and the clock. The game talks only to
// these interfaces; the null implementations serve the unit tests, src/platform/sdl the real game.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

class AudioOutput;
class Graphics;

// Window messages, with their Win32 numbers.
constexpr uint32_t kWmDestroy = 0x0002;
constexpr uint32_t kWmQuit = 0x0012;
constexpr uint32_t kWmInput = 0x00FF;
constexpr uint32_t kWmSysCommand = 0x0112;

// ShowWindow commands.
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShow = 5;

// Raw input report types and flags.
constexpr uint32_t kRimTypeMouse = 0;
constexpr uint32_t kRimTypeKeyboard = 1;
constexpr uint32_t kRimTypeHid = 2;
constexpr uint16_t kRiKeyBreak = 1;
constexpr uint16_t kRiKeyE0 = 2;
constexpr uint16_t kRiKeyE1 = 4;
constexpr uint16_t kRiMouseLeftDown = 0x0001;
constexpr uint16_t kRiMouseLeftUp = 0x0002;
constexpr uint16_t kRiMouseRightDown = 0x0004;
constexpr uint16_t kRiMouseRightUp = 0x0008;
constexpr uint16_t kRiMouseMiddleDown = 0x0010;
constexpr uint16_t kRiMouseMiddleUp = 0x0020;
constexpr uint16_t kRiMouseWheel = 0x0400;

struct RawKeyboard {
    uint16_t flags = 0;
    uint16_t vkey = 0;
};

struct RawMouse {
    int32_t lastX = 0;
    int32_t lastY = 0;
    uint16_t buttonFlags = 0;
};

struct RawInput {
    uint32_t type = kRimTypeHid;
    RawKeyboard keyboard;
    RawMouse mouse;
};

struct Message {
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
    RawInput input; // the report that a WM_INPUT carries
};

struct WindowDesc {
    std::string className;
    std::string title;
    uint32_t style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The one window of the program together with its message queue.
class Window {
public:
    virtual ~Window() = default;

    virtual bool Create(const WindowDesc& desc) = 0;
    virtual void Show(int command) = 0;
    virtual bool IsVisible() const = 0;
    // Removes the next message from the queue; false when the queue is empty.
    virtual bool PeekMessage(Message& out) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;
    virtual bool RegisterRawInputDevices() = 0;
    // The cursor in client pixels of the window.
    virtual bool GetCursorClientPos(int& x, int& y) = 0;
    virtual void GetClientSize(int& width, int& height) const = 0;
};

// A modal message box; also written to standard error, since it may not be seen.
void ShowMessageBox(const std::string& text, const std::string& caption);

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds of a monotonic clock; never wraps.
    virtual uint64_t Milliseconds() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// Monotonic wall clock of the machine.
class SteadyClock : public Clock {
public:
    uint64_t Milliseconds() override;
    void Sleep(uint32_t milliseconds) override;
};

class MessageBoxSink {
public:
    virtual ~MessageBoxSink() = default;
    virtual void Show(const std::string& text, const std::string& caption) = 0;
};

// The services the game runs on. Null implementations until a platform installs its own.
struct Services {
    Window* window = nullptr;
    Clock* clock = nullptr;
    MessageBoxSink* messageBox = nullptr;
    Graphics* graphics = nullptr; // displays, drawing device, textures and fonts; see platform/gfx.h
    AudioOutput* audio = nullptr; // sound output; see platform/audio.h
};

Services& Platform();
// Installs services; null members fall back to the null implementations.
void Install(const Services& services);

} // namespace plat
