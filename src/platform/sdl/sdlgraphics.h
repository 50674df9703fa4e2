// The drawing services on SDL2: displays, window style and placement, and the OpenGL device.
#pragma once

#include "platform/gfx.h"

namespace plat {

class SdlGraphics : public Graphics {
  public:
    SdlGraphics();
    ~SdlGraphics() override;
    SdlGraphics(const SdlGraphics&) = delete;
    SdlGraphics& operator=(const SdlGraphics&) = delete;

    bool EnumDisplayDevices(uint32_t index, DisplayDevice& out) override;
    bool EnumDisplaySettings(const std::string& deviceName, uint32_t modeIndex, DisplayMode& out) override;
    std::unique_ptr<Direct3D> Direct3DCreate9(uint32_t sdkVersion) override;
    void SetWindowStyle(Window& window, uint32_t style) override;
    bool SetWindowPos(Window& window, WindowOrder order, int x, int y, int width, int height,
                      uint32_t flags) override;

  private:
    bool m_imageReady = false;
    bool m_fontsReady = false;
};

} // namespace plat
