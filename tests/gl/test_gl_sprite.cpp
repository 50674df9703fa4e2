// What a sprite draws on the OpenGL device: the frame of its sheet that it has chosen, at its fade level.
#include "engine/engine.h"
#include "platform/null/nullplatform.h"
#include "platform/sdl/gldevice.h"
#include "platform/sdl/sdlgraphics.h"
#include "platform/sdl/sdlwindow.h"
#include "scene/sprite.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kGrey = 0xFF3C3C3C;
// One colour per frame of a 4 x 2 sheet, row by row.
const uint32_t kFrameColours[8] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00,
                                   0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF, 0xFF804020};

class GlSprite : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        folder = fs::temp_directory_path() / ("thornvale-glsprite-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        window = std::make_unique<plat::SdlWindow>();
        plat::WindowDesc desc;
        desc.title = "Thornvale Oriskar";
        desc.width = 800;
        desc.height = 600;
        ASSERT_TRUE(window->Create(desc));
        graphics = std::make_unique<plat::SdlGraphics>();
        plat::Services services;
        services.window = window.get();
        services.graphics = graphics.get();
        services.clock = &clock;
        plat::Install(services);
        engine = std::make_unique<Engine>();
        auto renderer = std::make_unique<Renderer>(window.get(), false);
        renderer->d3d = graphics->Direct3DCreate9(plat::kSdkVersion);
        ASSERT_NE(renderer->d3d, nullptr);
        ASSERT_TRUE(renderer->CreateDevice(window.get()));
        renderer->SetResolution(800, 600);
        device = dynamic_cast<plat::GlDevice*>(renderer->device.get());
        ASSERT_NE(device, nullptr);
        engine->m_display.renderer = std::move(renderer);
        GeometryDesc quad;
        quad.InitQuad();
        for (int alpha : {190, 127, 63, 0}) {
            quad.SetAlpha(alpha);
            ASSERT_TRUE(engine->m_display.renderer->geometry.Load(quad));
        }
    }

    void TearDown() override {
        engine.reset();
        plat::Install(plat::Services{});
        graphics.reset();
        window.reset();
        std::error_code error;
        fs::remove_all(folder, error);
    }

    // A 4 x 2 sheet of 4 x 4 frames, each one colour, with its texture configuration.
    std::string WriteSheet() {
        const int frame = 4;
        SDL_Surface* surface =
            SDL_CreateRGBSurfaceWithFormat(0, 4 * frame, 2 * frame, 32, SDL_PIXELFORMAT_ARGB8888);
        EXPECT_NE(surface, nullptr);
        for (int y = 0; y < 2 * frame; ++y) {
            auto* row =
                reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
            for (int x = 0; x < 4 * frame; ++x) {
                row[x] = kFrameColours[(y / frame) * 4 + x / frame];
            }
        }
        const std::string image = (folder / "sheet.png").string();
        EXPECT_EQ(IMG_SavePNG(surface, image.c_str()), 0) << IMG_GetError();
        SDL_FreeSurface(surface);
        const std::string xml = (folder / "sheet.xml").string();
        std::ofstream(xml)
            << "<Texture type=\"GlSpriteSheet\"><File>" << image
            << "</File><Alpha>255</Alpha><Width>16</Width><Height>8</Height><ScaleX>4</ScaleX>"
               "<ScaleY>2</ScaleY><Animation><Cycle><StartFrame>0</StartFrame><EndFrame>7</EndFrame>"
               "</Cycle></Animation></Texture>";
        return xml;
    }

    // Draws the sprite filling the viewport and reads the picture back.
    std::vector<uint32_t> DrawFilling(Sprite& sprite) {
        Renderer& renderer = *engine->m_display.renderer;
        renderer.BeginFrame();
        renderer.device->SetTransform(plat::kTsView, plat::D3DXMatrixIdentity());
        renderer.device->SetTransform(plat::kTsProjection, plat::D3DXMatrixIdentity());
        renderer.device->SetTransform(
            plat::kTsWorld, plat::D3DXMatrixMultiply(plat::D3DXMatrixScaling(2.0f, 2.0f, 1.0f),
                                                     plat::D3DXMatrixTranslation(0.0f, 0.0f, 0.5f)));
        sprite.Draw(*engine);
        renderer.device->EndScene();
        return device->ReadBackBuffer();
    }

    static size_t CountOther(const std::vector<uint32_t>& pixels, uint32_t expected) {
        size_t other = 0;
        for (uint32_t pixel : pixels) {
            other += pixel != expected ? 1 : 0;
        }
        return other;
    }

    fs::path folder;
    plat::ManualClock clock;
    std::unique_ptr<plat::SdlWindow> window;
    std::unique_ptr<plat::SdlGraphics> graphics;
    std::unique_ptr<Engine> engine;
    plat::GlDevice* device = nullptr;
};

TEST_F(GlSprite, EveryFrameOfASheetIsDrawnAloneAndWhole) {
    Sprite sprite(&clock);
    sprite.InitWithXML(WriteSheet(), false);
    ASSERT_EQ(sprite.m_frames.size(), 8u);
    sprite.Load(*engine);
    for (uint32_t frame = 0; frame < 8; ++frame) {
        sprite.m_currentFrame = frame;
        EXPECT_EQ(CountOther(DrawFilling(sprite), kFrameColours[frame]), 0u) << "frame " << frame;
    }
    // Past the table, the first frame.
    sprite.m_currentFrame = 8;
    EXPECT_EQ(CountOther(DrawFilling(sprite), kFrameColours[0]), 0u);
}

TEST_F(GlSprite, APlayingAnimationShowsItsNextFrameOnTheWallClock) {
    Sprite sprite(&clock);
    sprite.InitWithXML(WriteSheet(), false);
    sprite.Load(*engine);
    ASSERT_TRUE(sprite.SetAnimation("Cycle"));
    const float delta = 0.016f;
    for (uint32_t frame = 1; frame < 8; ++frame) {
        clock.now += 60;
        sprite.Animate(&delta);
        EXPECT_EQ(CountOther(DrawFilling(sprite), kFrameColours[frame]), 0u) << "frame " << frame;
    }
}

TEST_F(GlSprite, AHigherFadeLevelShowsMoreOfWhatIsBehind) {
    Sprite sprite(&clock);
    sprite.InitWithXML(WriteSheet(), false);
    sprite.Load(*engine);
    sprite.m_currentFrame = 6; // white
    // Level 0 opaque, then 3, 2 and 1 each more transparent over the grey picture.
    int previous = 256;
    for (int32_t level : {0, 3, 2, 1}) {
        sprite.m_fadeLevel = level;
        const std::vector<uint32_t> pixels = DrawFilling(sprite);
        const int red = static_cast<int>((pixels[300 * 800 + 400] >> 16) & 0xFF);
        EXPECT_LT(red, previous) << "level " << level;
        EXPECT_GT(red, static_cast<int>((kGrey >> 16) & 0xFF)) << "level " << level;
        previous = red;
    }
}

} // namespace
