// The drawing device's owner. It has no device until the drawing stand-in arrives, so every frame's
// device check fails and nothing is drawn.
#pragma once

#include <string>

class Renderer {
public:
    bool CheckDevice() { return false; }
    void BeginFrame() {}
    // EndScene and Present.
    void EndFrame() {}
    void DrawDebugText(const std::string&, int, int, unsigned) {}
};
