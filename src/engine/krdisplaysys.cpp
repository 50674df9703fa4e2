#include "engine/krdisplaysys.h"

#include "engine/krlog.h"
#include "platform/gfx.h"

#include <sstream>

DisplaySys::DisplaySys() {
    defaultTexture.file = "../Assets/defaulttexture.png";
    defaultQuad.InitQuad();
}

bool DisplaySys::Init(plat::Window* window) {
    plat::Graphics& graphics = *plat::Platform().graphics;
    plat::DisplayDevice display;
    bool found = false;
    for (uint32_t i = 0; graphics.EnumDisplayDevices(i, display); ++i) {
        if ((display.stateFlags & plat::kDisplayDevicePrimaryDevice) != 0) {
            found = true;
            break;
        }
    }
    plat::DisplayMode stored;
    // A stored mode without pixels would divide by zero below; it is as good as no display.
    if (!found || !graphics.EnumDisplaySettings(display.deviceName, plat::kEnumRegistrySettings, stored) ||
        stored.width == 0 || stored.height == 0) {
        PrintCheckFailure("krdisplaysys", 70, "\"Hey visual device checking fail!\"");
        return false;
    }
    const float aspect = static_cast<float>(stored.width) / static_cast<float>(stored.height);
    LogLine("Width: " + std::to_string(stored.width) + " " + "Height: " + std::to_string(stored.height));
    std::ostringstream line;
    line << "Aspect Ratio of screen is: " << aspect;
    LogLine(line.str());

    renderer = std::make_unique<Renderer>(window, false);
    renderer->d3d = graphics.Direct3DCreate9(plat::kSdkVersion);
    if (renderer->d3d == nullptr) {
        return false;
    }
    if (!renderer->CreateDevice(window)) {
        return false;
    }
    width = renderer->backBufferWidth;
    height = renderer->backBufferHeight;
    margin = 0;
    renderer->textures.Load(defaultTexture);
    renderer->geometry.Load(defaultQuad);
    margin = renderer->SetResolution(stored.width, stored.height);
    width = stored.width;
    height = stored.height;
    return true;
}

void DisplaySys::Shutdown() {
    if (renderer == nullptr) {
        return;
    }
    if (renderer->device != nullptr) {
        renderer->textures.Unload(defaultTexture.file);
        renderer->geometry.Release(defaultQuad.name);
    }
    renderer->Release();
    renderer.reset();
}

void DisplaySys::DrawDebugText(const std::string& text, float x, float y, uint32_t colour) {
    if (renderer != nullptr) {
        renderer->DrawDebugText(text, x, y, colour);
    }
}
