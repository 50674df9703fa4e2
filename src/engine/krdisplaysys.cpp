#include "engine/krdisplaysys.h"

bool DisplaySys::Init(plat::Window* window) {
    int w = 0, h = 0;
    window->GetClientSize(w, h);
    width = static_cast<uint32_t>(w);
    height = static_cast<uint32_t>(h);
    margin = 0;
    return true;
}

void DisplaySys::Shutdown() { renderer.reset(); }

void DisplaySys::DrawDebugText(const std::string& text, int x, int y, uint32_t colour) {
    if (renderer) {
        renderer->DrawDebugText(text, x, y, colour);
    }
}
