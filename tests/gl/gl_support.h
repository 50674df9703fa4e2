// What the OpenGL pixel tests share: pixel arithmetic, pictures as ARGB rows, and a fixture that opens
// an offscreen window with the SDL graphics and a renderer on its GL device.
#pragma once

#include "engine/engine.h"
#include "engine/krrenderer.h"
#include "platform/null/nullplatform.h"
#include "platform/sdl/gldevice.h"
#include "platform/sdl/sdlgraphics.h"
#include "platform/sdl/sdlwindow.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace gltest {

// The picture's clear colour, and the bars beside it on a wide back buffer.
constexpr uint32_t kGrey = 0xFF3C3C3C;
constexpr uint32_t kBlack = 0xFF000000;

inline int Channel(uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// The largest difference of the colour channels.
inline int Difference(uint32_t a, uint32_t b) {
    int most = 0;
    for (int shift : {0, 8, 16}) {
        most = std::max(most, std::abs(Channel(a, shift) - Channel(b, shift)));
    }
    return most;
}

// A picture as ARGB rows, top first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;

    uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * static_cast<size_t>(width) + x]; }
};

inline Image LoadImage(const std::string& file) {
    Image image;
    SDL_Surface* loaded = IMG_Load(file.c_str());
    if (loaded == nullptr) {
        ADD_FAILURE() << file << ": " << IMG_GetError();
        return image;
    }
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (surface == nullptr) {
        ADD_FAILURE() << file << ": " << SDL_GetError();
        return image;
    }
    image.width = surface->w;
    image.height = surface->h;
    for (int y = 0; y < surface->h; ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                                      y * surface->pitch);
        image.argb.insert(image.argb.end(), row, row + surface->w);
    }
    SDL_FreeSurface(surface);
    return image;
}

// Writes ARGB rows, top first, as a PNG; false with SDL's error when it cannot.
inline bool SavePng(const std::string& path, int width, int height, const std::vector<uint32_t>& argb) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) {
        return false;
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < width; ++x) {
            row[x] = argb[static_cast<size_t>(y * width + x)];
        }
    }
    const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return saved;
}

// A texel blended over a pixel as the device does: alpha test at 1/255, then source-alpha blending.
inline uint32_t Over(uint32_t texel, uint32_t below) {
    const int a = Channel(texel, 24);
    if (a == 0) {
        return below;
    }
    uint32_t out = 0xFF000000u;
    for (int shift : {0, 8, 16}) {
        const int c = (Channel(texel, shift) * a + Channel(below, shift) * (255 - a) + 127) / 255;
        out |= static_cast<uint32_t>(c) << shift;
    }
    return out;
}

// A screen rectangle in back-buffer pixels.
struct Box {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

// By default an engine whose renderer draws on the GL device at 800 x 600 with the four fade quads
// loaded, time standing still on the manual clock. A fixture wanting the device alone opens it from
// OpenWindow and OpenRenderer.
class GlFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(OpenWindow(&clock));
        engine = std::make_unique<Engine>();
        std::unique_ptr<Renderer> made;
        ASSERT_NO_FATAL_FAILURE(OpenRenderer(made));
        made->SetResolution(800, 600);
        engine->m_display.renderer = std::move(made);
        GeometryDesc quad;
        quad.InitQuad();
        for (int alpha : {190, 127, 63, 0}) {
            quad.SetAlpha(alpha);
            ASSERT_TRUE(renderer().geometry.Load(quad));
        }
    }

    void TearDown() override {
        engine.reset();
        plat::Install(plat::Services{});
        graphics.reset();
        window.reset();
    }

    // An offscreen window, 800 x 600 unless given, with the SDL graphics installed; a null clock leaves
    // the platform's.
    void OpenWindow(plat::Clock* withClock, int width = 800, int height = 600) {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        window = std::make_unique<plat::SdlWindow>();
        plat::WindowDesc desc;
        desc.title = "Thornvale Oriskar";
        desc.width = width;
        desc.height = height;
        ASSERT_TRUE(window->Create(desc));
        graphics = std::make_unique<plat::SdlGraphics>();
        plat::Services services;
        services.window = window.get();
        services.graphics = graphics.get();
        services.clock = withClock;
        plat::Install(services);
    }

    // A renderer on the window's GL device, which `device` then names.
    void OpenRenderer(std::unique_ptr<Renderer>& out) {
        out = std::make_unique<Renderer>(window.get(), false);
        out->d3d = graphics->Direct3DCreate9(plat::kSdkVersion);
        ASSERT_NE(out->d3d, nullptr);
        ASSERT_TRUE(out->CreateDevice(window.get()));
        device = dynamic_cast<plat::GlDevice*>(out->device.get());
        ASSERT_NE(device, nullptr);
    }

    Renderer& renderer() { return *engine->m_display.renderer; }

    // Ends the engine's frame and reads the back buffer back. Named, it is also kept as <name>.png in
    // THORNVALE_SNAPSHOT_DIR when that is set.
    std::vector<uint32_t> EndFrame(const std::string& name = {}) {
        renderer().device->EndScene();
        std::vector<uint32_t> pixels = device->ReadBackBuffer();
        const char* folder = std::getenv("THORNVALE_SNAPSHOT_DIR");
        if (folder != nullptr && !name.empty()) {
            SavePng(std::string(folder) + "/" + name + ".png", static_cast<int>(renderer().backBufferWidth),
                    static_cast<int>(renderer().backBufferHeight), pixels);
        }
        return pixels;
    }

    plat::ManualClock clock;
    std::unique_ptr<plat::SdlWindow> window;
    std::unique_ptr<plat::SdlGraphics> graphics;
    std::unique_ptr<Engine> engine;
    plat::GlDevice* device = nullptr;
};

// A GL fixture with a renderer on its device and a scratch folder for the pictures a test writes.
class GlRendererFixture : public GlFixture {
  protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() / ("thornvale-gl-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
        ASSERT_NO_FATAL_FAILURE(OpenWindow(nullptr));
        ASSERT_NO_FATAL_FAILURE(OpenRenderer(m_renderer));
    }

    void TearDown() override {
        m_renderer.reset();
        GlFixture::TearDown();
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }

    std::filesystem::path m_folder;
    std::unique_ptr<Renderer> m_renderer;
};

} // namespace gltest
