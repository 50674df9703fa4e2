// What a sprite draws on the OpenGL device: the frame of its sheet that it has chosen, at its fade level.
#include "gl_support.h"

#include "scene/sprite.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace gltest;

// One colour per frame of a 4 x 2 sheet, row by row.
const uint32_t kFrameColours[8] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00,
                                   0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF, 0xFF804020};

class GlSprite : public GlFixture {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("thornvale-glsprite-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        GlFixture::SetUp();
    }

    void TearDown() override {
        GlFixture::TearDown();
        std::error_code error;
        fs::remove_all(folder, error);
    }

    // A 4 x 2 sheet of 4 x 4 frames, each one colour, with its texture configuration.
    std::string WriteSheet() {
        const int frame = 4;
        std::vector<uint32_t> argb;
        for (int y = 0; y < 2 * frame; ++y) {
            for (int x = 0; x < 4 * frame; ++x) {
                argb.push_back(kFrameColours[(y / frame) * 4 + x / frame]);
            }
        }
        const std::string image = (folder / "sheet.png").string();
        EXPECT_TRUE(SavePng(image, 4 * frame, 2 * frame, argb)) << SDL_GetError();
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
        renderer().BeginFrame();
        renderer().device->SetTransform(plat::kTsView, plat::D3DXMatrixIdentity());
        renderer().device->SetTransform(plat::kTsProjection, plat::D3DXMatrixIdentity());
        renderer().device->SetTransform(
            plat::kTsWorld, plat::D3DXMatrixMultiply(plat::D3DXMatrixScaling(2.0f, 2.0f, 1.0f),
                                                     plat::D3DXMatrixTranslation(0.0f, 0.0f, 0.5f)));
        sprite.Draw(*engine);
        return EndFrame();
    }

    static size_t CountOther(const std::vector<uint32_t>& pixels, uint32_t expected) {
        size_t other = 0;
        for (uint32_t pixel : pixels) {
            other += pixel != expected ? 1 : 0;
        }
        return other;
    }

    fs::path folder;
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
