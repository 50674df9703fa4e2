#include "platform/sdl/sdlgraphics.h"

#include "platform/sdl/gldevice.h"
#include "platform/sdl/sdlwindow.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

namespace plat {

namespace {

const std::string kDeviceNamePrefix = "\\\\.\\DISPLAY";

SDL_Window* HandleOf(Window& window) {
    auto* sdlWindow = dynamic_cast<SdlWindow*>(&window);
    return sdlWindow != nullptr ? sdlWindow->Handle() : nullptr;
}

DisplayMode ModeOf(const SDL_DisplayMode& mode) {
    return {static_cast<uint32_t>(mode.w), static_cast<uint32_t>(mode.h),
            static_cast<uint32_t>(mode.refresh_rate), kFmtX8R8G8B8};
}

} // namespace

SdlGraphics::SdlGraphics() {
    m_imageReady = (IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) != 0;
    m_fontsReady = TTF_Init() == 0;
}

SdlGraphics::~SdlGraphics() {
    if (m_fontsReady) {
        TTF_Quit();
    }
    if (m_imageReady) {
        IMG_Quit();
    }
}

bool SdlGraphics::EnumDisplayDevices(uint32_t index, DisplayDevice& out) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 ||
        index >= static_cast<uint32_t>(std::max(SDL_GetNumVideoDisplays(), 0))) {
        return false;
    }
    const char* name = SDL_GetDisplayName(static_cast<int>(index));
    out.deviceName = kDeviceNamePrefix + std::to_string(index + 1);
    out.deviceString = name != nullptr ? name : "";
    // SDL numbers the primary display 0. Attached to the desktop (1) as well.
    out.stateFlags = 1 | (index == 0 ? kDisplayDevicePrimaryDevice : 0);
    return true;
}

bool SdlGraphics::EnumDisplaySettings(const std::string& deviceName, uint32_t modeIndex, DisplayMode& out) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || deviceName.rfind(kDeviceNamePrefix, 0) != 0) {
        return false;
    }
    const std::string number = deviceName.substr(kDeviceNamePrefix.size());
    if (number.empty() || number.size() > 3 || number.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const int display = std::stoi(number) - 1;
    if (display < 0 || display >= SDL_GetNumVideoDisplays()) {
        return false;
    }
    SDL_DisplayMode mode{};
    int result = -1;
    if (modeIndex == kEnumRegistrySettings) {
        result = SDL_GetDesktopDisplayMode(display, &mode);
    } else if (modeIndex == kEnumCurrentSettings) {
        result = SDL_GetCurrentDisplayMode(display, &mode);
    } else if (modeIndex < static_cast<uint32_t>(std::max(SDL_GetNumDisplayModes(display), 0))) {
        result = SDL_GetDisplayMode(display, static_cast<int>(modeIndex), &mode);
    }
    if (result != 0) {
        return false;
    }
    out = ModeOf(mode);
    return true;
}

std::unique_ptr<Direct3D> SdlGraphics::Direct3DCreate9(uint32_t sdkVersion) {
    if (sdkVersion != kSdkVersion || SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return nullptr;
    }
    return std::make_unique<GlDirect3D>();
}

void SdlGraphics::SetWindowStyle(Window& window, uint32_t style) {
    if (auto* sdlWindow = dynamic_cast<SdlWindow*>(&window)) {
        sdlWindow->SetBordered((style & kWsPopup) == 0);
    }
}

bool SdlGraphics::SetWindowPos(Window& window, WindowOrder order, int x, int y, int width, int height,
                               uint32_t flags) {
    SDL_Window* handle = HandleOf(window);
    if (handle == nullptr || width <= 0 || height <= 0) {
        return false;
    }
    SDL_SetWindowAlwaysOnTop(handle, order == WindowOrder::kTopMost ? SDL_TRUE : SDL_FALSE);
    // A full-screen window keeps these for when it is windowed again.
    SDL_SetWindowPosition(handle, x, y);
    SDL_SetWindowSize(handle, width, height);
    if ((flags & kSwpShowWindow) != 0) {
        window.Show(kSwShowNormal);
    }
    return true;
}

} // namespace plat
