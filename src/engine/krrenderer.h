// The drawing device's owner: creates and resets the device, keeps every picture at 4:3 with black
// side bars on wider back buffers, sets the states each frame relies on, survives lost devices and
// switches between windowed and full-screen mode. Holds the geometry, texture and font managers.
#pragma once

#include "engine/krfontmanager.h"
#include "engine/krgeometry.h"
#include "engine/krtexturemanager.h"
#include "platform/gfx.h"
#include "platform/platform.h"

#include <cstdint>
#include <memory>
#include <string>

class Renderer {
  public:
    Renderer(plat::Window* window, bool windowed);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    bool CreateDevice(plat::Window* window);
    bool InitDevice();
    void FillPresentParams();
    bool Reset();
    // Whether this frame can be drawn; resets a device that asks for it.
    bool CheckDevice();
    void BeginFrame();
    // Returns the width of each side bar.
    uint32_t SetResolution(uint32_t width, uint32_t height);
    void ToggleFullScreen();
    void Release();
    void OnLostDevice();
    void OnResetDevice();
    void DrawDebugText(const std::string& text, float x, float y, uint32_t colour);

    std::unique_ptr<plat::Direct3D> d3d;
    std::unique_ptr<plat::Device> device;
    plat::Window* window = nullptr;
    bool windowed = false;
    plat::PresentParams presentParams;
    uint32_t backBufferWidth = 0;
    uint32_t backBufferHeight = 0;
    uint32_t margin = 0;
    plat::Viewport mainViewport;
    plat::Viewport leftBar;
    plat::Viewport rightBar;
    bool barsOn = false;
    bool has1440x900 = false;
    // Declared after the device, so they go first.
    GeometryManager geometry;
    TextureManager textures;
    FontManager fonts;

  private:
    void SetDefaultStates();
    void PlaceWindow();
};
