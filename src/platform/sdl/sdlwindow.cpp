#include "platform/sdl/sdlwindow.h"

#include "platform/sdl/sdlquit.h"

#include <SDL_syswm.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace plat {

VirtualKey VirtualKeyOfScancode(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) {
        return {static_cast<uint16_t>('A' + (sc - SDL_SCANCODE_A)), 0};
    }
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) {
        return {static_cast<uint16_t>('1' + (sc - SDL_SCANCODE_1)), 0};
    }
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) {
        return {static_cast<uint16_t>(0x70 + (sc - SDL_SCANCODE_F1)), 0};
    }
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) {
        return {static_cast<uint16_t>(0x61 + (sc - SDL_SCANCODE_KP_1)), 0};
    }
    // Raw input names both Ctrl keys VK_CONTROL and both Shift keys VK_SHIFT without a prefix
    // (the right ones differ only by E0 on Ctrl), as on Windows.
    switch (sc) {
    case SDL_SCANCODE_0: return {'0', 0};
    case SDL_SCANCODE_ESCAPE: return {0x1B, 0};
    case SDL_SCANCODE_RETURN: return {0x0D, 0};
    case SDL_SCANCODE_KP_ENTER: return {0x0D, kRiKeyE0};
    case SDL_SCANCODE_BACKSPACE: return {0x08, 0};
    case SDL_SCANCODE_TAB: return {0x09, 0};
    case SDL_SCANCODE_SPACE: return {0x20, 0};
    case SDL_SCANCODE_MINUS: return {0xBD, 0};
    case SDL_SCANCODE_EQUALS: return {0xBB, 0};
    case SDL_SCANCODE_LEFTBRACKET: return {0xDB, 0};
    case SDL_SCANCODE_RIGHTBRACKET: return {0xDD, 0};
    case SDL_SCANCODE_BACKSLASH: return {0xDC, 0};
    case SDL_SCANCODE_NONUSBACKSLASH: return {0xE2, 0};
    case SDL_SCANCODE_SEMICOLON: return {0xBA, 0};
    case SDL_SCANCODE_APOSTROPHE: return {0xDE, 0};
    case SDL_SCANCODE_GRAVE: return {0xC0, 0};
    case SDL_SCANCODE_COMMA: return {0xBC, 0};
    case SDL_SCANCODE_PERIOD: return {0xBE, 0};
    case SDL_SCANCODE_SLASH: return {0xBF, 0};
    case SDL_SCANCODE_CAPSLOCK: return {0x14, 0};
    case SDL_SCANCODE_PRINTSCREEN: return {0x2C, kRiKeyE0};
    case SDL_SCANCODE_SCROLLLOCK: return {0x91, 0};
    case SDL_SCANCODE_PAUSE: return {0x13, 0};
    case SDL_SCANCODE_INSERT: return {0x2D, kRiKeyE0};
    case SDL_SCANCODE_HOME: return {0x24, kRiKeyE0};
    case SDL_SCANCODE_PAGEUP: return {0x21, kRiKeyE0};
    case SDL_SCANCODE_DELETE: return {0x2E, kRiKeyE0};
    case SDL_SCANCODE_END: return {0x23, kRiKeyE0};
    case SDL_SCANCODE_PAGEDOWN: return {0x22, kRiKeyE0};
    case SDL_SCANCODE_RIGHT: return {0x27, kRiKeyE0};
    case SDL_SCANCODE_LEFT: return {0x25, kRiKeyE0};
    case SDL_SCANCODE_DOWN: return {0x28, kRiKeyE0};
    case SDL_SCANCODE_UP: return {0x26, kRiKeyE0};
    case SDL_SCANCODE_NUMLOCKCLEAR: return {0x90, 0};
    case SDL_SCANCODE_KP_DIVIDE: return {0x6F, kRiKeyE0};
    case SDL_SCANCODE_KP_MULTIPLY: return {0x6A, 0};
    case SDL_SCANCODE_KP_MINUS: return {0x6D, 0};
    case SDL_SCANCODE_KP_PLUS: return {0x6B, 0};
    case SDL_SCANCODE_KP_0: return {0x60, 0};
    case SDL_SCANCODE_KP_PERIOD: return {0x6E, 0};
    case SDL_SCANCODE_APPLICATION: return {0x5D, kRiKeyE0};
    case SDL_SCANCODE_LCTRL: return {0x11, 0};
    case SDL_SCANCODE_RCTRL: return {0x11, kRiKeyE0};
    case SDL_SCANCODE_LSHIFT: return {0x10, 0};
    case SDL_SCANCODE_RSHIFT: return {0x10, 0};
    case SDL_SCANCODE_LALT: return {0x12, 0};
    case SDL_SCANCODE_RALT: return {0x12, kRiKeyE0};
    case SDL_SCANCODE_LGUI: return {0x5B, kRiKeyE0};
    case SDL_SCANCODE_RGUI: return {0x5C, kRiKeyE0};
    default: return {0xFF, 0};
    }
}

ShownRect FitInWindow(int backBufferWidth, int backBufferHeight, int windowWidth, int windowHeight) {
    if (backBufferWidth <= 0 || backBufferHeight <= 0 || windowWidth <= 0 || windowHeight <= 0) {
        return {0, 0, windowWidth, windowHeight};
    }
    const int64_t across = static_cast<int64_t>(backBufferWidth) * windowHeight;
    const int64_t down = static_cast<int64_t>(backBufferHeight) * windowWidth;
    if (across == down) {
        return {0, 0, windowWidth, windowHeight};
    }
    if (across > down) {
        const auto height = static_cast<int>(down / backBufferWidth);
        return {0, (windowHeight - height) / 2, windowWidth, height};
    }
    const auto width = static_cast<int>(across / backBufferHeight);
    return {(windowWidth - width) / 2, 0, width, windowHeight};
}

namespace {

int PixelAlong(int point, int start, int shownLength, int length) {
    const int64_t scaled = static_cast<int64_t>(point - start) * length;
    // Floored: a point left of or above the picture falls outside it before the clamp, never into it.
    const int64_t pixel = scaled / shownLength - (scaled % shownLength < 0 ? 1 : 0);
    return static_cast<int>(std::clamp<int64_t>(pixel, 0, length - 1));
}

} // namespace

BufferPoint BackBufferPointAt(const ShownRect& shown, int backBufferWidth, int backBufferHeight, int pointX,
                              int pointY) {
    return {PixelAlong(pointX, shown.x, shown.width, backBufferWidth),
            PixelAlong(pointY, shown.y, shown.height, backBufferHeight)};
}

SdlWindow::~SdlWindow() {
    if (m_window != nullptr) {
        AnswerWaitsOnDestroyedWindow();
        SDL_DestroyWindow(m_window);
        SettleWindowErrors();
    }
    SDL_Quit();
}

bool SdlWindow::Create(const WindowDesc& desc) {
    // SDL's handlers only queue a quit event, which a frame stuck on the display never reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        std::printf("SDL_Init failed: %s\n", SDL_GetError());
        return false;
    }
    // With no display SDL quietly falls back to a driver that shows nothing, and the game would run
    // unseen: that counts as no window unless such a driver was asked for.
    const std::string driver = SDL_GetCurrentVideoDriver() != nullptr ? SDL_GetCurrentVideoDriver() : "";
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if ((driver == "offscreen" || driver == "dummy") && (asked == nullptr || *asked == '\0')) {
        std::printf("No display: only the %s video driver is available\n", driver.c_str());
        SDL_Quit();
        return false;
    }
    if (driver == "x11") {
        EndProcessWhenDisplayLost();
    }
    CatchQuitSignals();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    // The window is a borderless popup at the top-left corner, shown by the caller.
    m_window = SDL_CreateWindow(desc.title.c_str(), desc.x, desc.y, desc.width, desc.height,
                                SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (m_window == nullptr) {
        std::printf("SDL_CreateWindow failed: %s\n", SDL_GetError());
        return false;
    }
    SDL_StopTextInput();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (driver == "x11" && SDL_GetWindowWMInfo(m_window, &info) == SDL_TRUE &&
        info.subsystem == SDL_SYSWM_X11) {
        WatchWindowDestruction(info.info.x11.display, info.info.x11.window);
    }
    return true;
}

void SdlWindow::Show(int command) {
    if (m_window == nullptr) {
        return;
    }
    if (command == kSwHide) {
        AnswerWaitsOnDestroyedWindow();
        SDL_HideWindow(m_window);
    } else if ((SDL_GetWindowFlags(m_window) & SDL_WINDOW_SHOWN) == 0) {
        AnswerWaitForMap();
        SDL_ShowWindow(m_window);
    }
}

bool SdlWindow::IsVisible() const {
    return m_window != nullptr && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_SHOWN) != 0;
}

bool SdlWindow::RegisterRawInputDevices() {
    m_rawInput = m_window != nullptr;
    return m_rawInput;
}

void SdlWindow::Translate(const SDL_Event& event) {
    Message msg;
    switch (event.type) {
    case SDL_QUIT:
        msg.message = kWmDestroy;
        m_queue.push_back(msg);
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            QueueCursorReport();
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (!m_rawInput) {
            break;
        }
        VirtualKey key = VirtualKeyOfScancode(event.key.keysym.scancode);
        msg.message = kWmInput;
        msg.input.type = kRimTypeKeyboard;
        msg.input.keyboard.vkey = key.vkey;
        msg.input.keyboard.flags = static_cast<uint16_t>(key.flags | (event.type == SDL_KEYUP ? kRiKeyBreak : 0));
        m_queue.push_back(msg);
        // Windows follows Alt+Enter's raw report with the system command for it.
        if (event.type == SDL_KEYDOWN && (event.key.keysym.mod & KMOD_ALT) != 0 &&
            (event.key.keysym.scancode == SDL_SCANCODE_RETURN || event.key.keysym.scancode == SDL_SCANCODE_KP_ENTER)) {
            Message command;
            command.message = kWmSysCommand;
            command.wParam = 0xF100;
            command.lParam = 13;
            m_queue.push_back(command);
        }
        break;
    }
    case SDL_MOUSEMOTION:
        if (!m_rawInput) {
            break;
        }
        msg.message = kWmInput;
        msg.input.type = kRimTypeMouse;
        msg.input.mouse.lastX = event.motion.xrel;
        msg.input.mouse.lastY = event.motion.yrel;
        m_queue.push_back(msg);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (!m_rawInput) {
            break;
        }
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        uint16_t flag = 0;
        switch (event.button.button) {
        case SDL_BUTTON_LEFT: flag = down ? kRiMouseLeftDown : kRiMouseLeftUp; break;
        case SDL_BUTTON_RIGHT: flag = down ? kRiMouseRightDown : kRiMouseRightUp; break;
        case SDL_BUTTON_MIDDLE: flag = down ? kRiMouseMiddleDown : kRiMouseMiddleUp; break;
        case SDL_BUTTON_X1: flag = down ? 0x0040 : 0x0080; break;
        case SDL_BUTTON_X2: flag = down ? 0x0100 : 0x0200; break;
        default: break;
        }
        msg.message = kWmInput;
        msg.input.type = kRimTypeMouse;
        msg.input.mouse.buttonFlags = flag;
        m_queue.push_back(msg);
        break;
    }
    case SDL_MOUSEWHEEL:
        if (!m_rawInput) {
            break;
        }
        msg.message = kWmInput;
        msg.input.type = kRimTypeMouse;
        msg.input.mouse.buttonFlags = kRiMouseWheel;
        m_queue.push_back(msg);
        break;
    default:
        break;
    }
}

bool SdlWindow::PeekMessage(Message& out) {
    // The system asking the game to end is a closed window, as SDL reported it.
    if (TakeQuitSignal()) {
        Message destroy;
        destroy.message = kWmDestroy;
        m_queue.push_back(destroy);
    }
    // Gone from under the game, the window ends it as a closed one does.
    if (TakeWindowDestroyed()) {
        std::printf("The window was destroyed\n");
        std::fflush(stdout);
        Message destroy;
        destroy.message = kWmDestroy;
        m_queue.push_back(destroy);
    }
    SDL_Event event;
    while (m_queue.empty() && SDL_PollEvent(&event) != 0) {
        Translate(event);
    }
    if (m_queue.empty()) {
        return false;
    }
    out = m_queue.front();
    m_queue.pop_front();
    return true;
}

void SdlWindow::PostQuitMessage(int exitCode) {
    Message quit;
    quit.message = kWmQuit;
    quit.wParam = static_cast<uint64_t>(exitCode);
    m_queue.push_back(quit);
}

void SdlWindow::SetBackBufferSize(int width, int height) {
    if (width == m_backBufferWidth && height == m_backBufferHeight) {
        return;
    }
    m_backBufferWidth = width;
    m_backBufferHeight = height;
    QueueCursorReport();
}

// The cursor the game holds is in the pixels of the back buffer as it was shown: it is read anew when
// that changes, through a report of a device the game does not read, so no motion or button is lost.
void SdlWindow::QueueCursorReport() {
    if (!m_rawInput) {
        return;
    }
    Message msg;
    msg.message = kWmInput;
    msg.input.type = kRimTypeHid;
    m_queue.push_back(msg);
}

void SdlWindow::SetBordered(bool bordered) {
    m_bordered = bordered;
    ApplyBorder();
}

// SDL ignores the border of a full-screen window: it is given again once the window leaves full screen.
void SdlWindow::ApplyBorder() {
    if (m_window != nullptr && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_FULLSCREEN) == 0) {
        SDL_SetWindowBordered(m_window, m_bordered ? SDL_TRUE : SDL_FALSE);
    }
}

// SDL reports the cursor in window points; the game hit-tests in back-buffer pixels, shown where
// FitInWindow puts them (the window's drawable differs from the points on a high-density display).
bool SdlWindow::GetCursorClientPos(int& x, int& y) {
    if (m_window == nullptr) {
        return false;
    }
    int pointX = 0;
    int pointY = 0;
    SDL_GetMouseState(&pointX, &pointY);
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(m_window, &windowWidth, &windowHeight);
    int targetWidth = m_backBufferWidth;
    int targetHeight = m_backBufferHeight;
    if (targetWidth <= 0 || targetHeight <= 0) {
        SDL_GL_GetDrawableSize(m_window, &targetWidth, &targetHeight);
    }
    if (windowWidth <= 0 || windowHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) {
        x = pointX;
        y = pointY;
        return true;
    }
    const ShownRect shown = FitInWindow(targetWidth, targetHeight, windowWidth, windowHeight);
    if (shown.width <= 0 || shown.height <= 0) {
        x = pointX;
        y = pointY;
        return true;
    }
    const BufferPoint pixel = BackBufferPointAt(shown, targetWidth, targetHeight, pointX, pointY);
    x = pixel.x;
    y = pixel.y;
    return true;
}

void SdlWindow::GetClientSize(int& width, int& height) const {
    width = height = 0;
    if (m_window != nullptr) {
        SDL_GetWindowSize(m_window, &width, &height);
    }
}

void SdlMessageBox::Show(const std::string& text, const std::string& caption) {
    // Without a display there is nobody to close the box; standard error already has the text.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::string(driver) == "offscreen" || std::string(driver) == "dummy") {
        return;
    }
    if (SDL_getenv("THORNVALE_NO_MESSAGE_BOX") != nullptr) {
        return;
    }
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption.c_str(), text.c_str(), nullptr);
}

} // namespace plat
