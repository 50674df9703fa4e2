// The engine's display: finds the primary display's stored mode, owns the renderer, and keeps the
// back-buffer size and side margin that map the 800 x 600 virtual screen onto pixels.
#pragma once

#include "engine/krgeometry.h"
#include "engine/krrenderer.h"
#include "engine/krtexturemanager.h"
#include "platform/platform.h"

#include <cstdint>
#include <memory>
#include <string>

class DisplaySys {
  public:
    DisplaySys();

    bool Init(plat::Window* window);
    // Releases only what was created, so that it is safe after a failed start-up.
    void Shutdown();
    // Debug text at a virtual-screen position, when a font exists.
    void DrawDebugText(const std::string& text, float x, float y, uint32_t colour);

    std::unique_ptr<Renderer> renderer;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t margin = 0;
    uint32_t debugTextColour = 0xFFFFFFFF;
    TextureDesc defaultTexture;
    GeometryDesc defaultQuad;
};
