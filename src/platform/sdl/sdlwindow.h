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
    // The drawing device's back buffer, which is stretched over the whole window: the cursor is
    // reported in its pixels. Zero until a device is made.
    void SetBackBufferSize(int width, int height);

private:
    void Translate(const SDL_Event& event);

    SDL_Window* m_window = nullptr;
    bool m_rawInput = false;
    int m_backBufferWidth = 0;
    int m_backBufferHeight = 0;
    std::deque<Message> m_queue;
};

class SdlMessageBox : public MessageBoxSink {
public:
    void Show(const std::string& text, const std::string& caption) override;
};

} // namespace plat
