// An engine's renderer drawing on a device of the test's choice (one that records what it is asked to
// draw), with the fade quads resident as after start-up.
#pragma once

#include "engine/engine.h"

#include <memory>

// Gives the engine a windowed renderer on a new Device and returns the device, which the renderer owns.
template <typename Device> Device* InstallSpyRenderer(Engine& engine, plat::Window& window) {
    auto renderer = std::make_unique<Renderer>(&window, true);
    auto owned = std::make_unique<Device>(plat::PresentParams{});
    Device* device = owned.get();
    renderer->device = std::move(owned);
    renderer->geometry.SetDevice(device);
    renderer->textures.SetDevice(device);
    engine.m_display.renderer = std::move(renderer);
    return device;
}

inline void LoadFadeQuads(Engine& engine) {
    for (int alpha : {190, 127, 63, 0}) {
        GeometryDesc quad;
        quad.InitQuad();
        quad.SetAlpha(alpha);
        engine.m_display.renderer->geometry.Load(quad);
    }
}
