// The window, its message queue, raw keyboard and mouse reports and message boxes on SDL2.
#pragma once

#include "platform/platform.h"

#include <SDL.h>

#include <deque>

namespace plat {

// A Windows virtual key and its E0/E1 flags for an SDL scancode (US layout).
struct VirtualKey {
    uint16_t vkey = 0;
    uint16_t flags = 0;
};
VirtualKey VirtualKeyOfScancode(SDL_Scancode scancode);

// Where a back buffer is shown in a window: the whole window when their shapes agree, otherwise as
// large as fits with its shape kept, centred between black bars.
struct ShownRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
ShownRect FitInWindow(int backBufferWidth, int backBufferHeight, int windowWidth, int windowHeight);

// The back-buffer pixel under a window point of a picture shown at `shown`. A point on the bars beside
// or above the picture is held to its nearest edge pixel, where the game draws its pointer.
struct BufferPoint {
    int x = 0;
    int y = 0;
};
BufferPoint BackBufferPointAt(const ShownRect& shown, int backBufferWidth, int backBufferHeight, int pointX,
                              int pointY);

class SdlWindow : public Window {
public:
    ~SdlWindow() override;

    bool Create(const WindowDesc& desc) override;
    void Show(int command) override;
    bool IsVisible() const override;
    bool PeekMessage(Message& out) override;
    void PostQuitMessage(int exitCode) override;
    bool RegisterRawInputDevices() override;
    bool GetCursorClientPos(int& x, int& y) override;
    void GetClientSize(int& width, int& height) const override;

    SDL_Window* Handle() const { return m_window; }
    // The drawing device's back buffer, shown in the window as FitInWindow places it: the cursor is
    // reported in its pixels. Zero until a device is made.
    void SetBackBufferSize(int width, int height);
    // Whether the window, once out of full screen, has the window manager's frame.
    void SetBordered(bool bordered);
    void ApplyBorder();

  private:
    void Translate(const SDL_Event& event);
    void QueueCursorReport();

    SDL_Window* m_window = nullptr;
    bool m_rawInput = false;
    int m_backBufferWidth = 0;
    int m_backBufferHeight = 0;
    bool m_bordered = false;
    std::deque<Message> m_queue;
};

class SdlMessageBox : public MessageBoxSink {
public:
    void Show(const std::string& text, const std::string& caption) override;
};

} // namespace plat
