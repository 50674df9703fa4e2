#pragma once

#include "engine/krrenderer.h"
#include "platform/platform.h"

#include <cstdint>
#include <memory>
#include <string>

class DisplaySys {
public:
    bool Init(plat::Window* window);
    void Shutdown();
    // Debug text at a virtual-screen position, when a font exists.
    void DrawDebugText(const std::string& text, int x, int y, uint32_t colour);

    std::unique_ptr<Renderer> renderer;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t margin = 0;
    uint32_t debugTextColour = 0xFFFFFFFF;
};
