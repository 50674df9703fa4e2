// Pixels drawn by the OpenGL device through the renderer and its managers, read back from the back
// buffer. Runs on SDL's offscreen driver; needs a GL 3.3 context (Mesa's llvmpipe will do).
#include "gl_support.h"

#include "platform/d3dx.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace gltest;

// The renderer alone, without an engine, on the platform's own clock.
class GlPixels : public GlRendererFixture {
  protected:
    std::string Picture(const std::string& name, int width, int height, const std::vector<uint32_t>& argb) {
        const std::string path = (m_folder / name).string();
        EXPECT_TRUE(SavePng(path, width, height, argb)) << SDL_GetError();
        return path;
    }

    bool LoadTexture(const std::string& file) { return m_renderer->textures.Load({file, 0, 0, 0}); }

    GeometryDesc Quad(int alpha) {
        GeometryDesc quad;
        quad.InitQuad();
        if (alpha >= 0) {
            quad.SetAlpha(alpha);
        }
        EXPECT_TRUE(m_renderer->geometry.Load(quad));
        return quad;
    }

    // The unit quad scaled to fill the viewport at depth z, with identity view and projection.
    void FillAtDepth(float z) {
        plat::Device& drawing = *m_renderer->device;
        drawing.SetTransform(plat::kTsView, plat::D3DXMatrixIdentity());
        drawing.SetTransform(plat::kTsProjection, plat::D3DXMatrixIdentity());
        drawing.SetTransform(plat::kTsWorld,
                             plat::D3DXMatrixMultiply(plat::D3DXMatrixScaling(2.0f, 2.0f, 1.0f),
                                                      plat::D3DXMatrixTranslation(0.0f, 0.0f, z)));
    }

    bool Draw(const std::string& texture, const std::string& quad) {
        return m_renderer->textures.Bind(texture) && m_renderer->geometry.Draw(quad);
    }

    uint32_t Pixel(const std::vector<uint32_t>& pixels, uint32_t x, uint32_t y) const {
        return pixels[static_cast<size_t>(y) * m_renderer->backBufferWidth + x];
    }

};

TEST_F(GlPixels, WideBackBufferGetsBlackBarsBesideTheGreyPicture) {
    EXPECT_EQ(m_renderer->SetResolution(1440, 900), 120u);
    m_renderer->BeginFrame();
    m_renderer->device->EndScene();
    const std::vector<uint32_t> pixels = device->ReadBackBuffer();
    ASSERT_EQ(pixels.size(), 1440u * 900u);
    for (uint32_t y : {0u, 450u, 899u}) {
        EXPECT_EQ(Pixel(pixels, 0, y), kBlack);
        EXPECT_EQ(Pixel(pixels, 119, y), kBlack);
        EXPECT_EQ(Pixel(pixels, 120, y), kGrey);
        EXPECT_EQ(Pixel(pixels, 720, y), kGrey);
        EXPECT_EQ(Pixel(pixels, 1319, y), kGrey);
        EXPECT_EQ(Pixel(pixels, 1320, y), kBlack);
        EXPECT_EQ(Pixel(pixels, 1439, y), kBlack);
    }
}

TEST_F(GlPixels, FourThreeBackBufferIsGreyEverywhere) {
    EXPECT_EQ(m_renderer->SetResolution(1024, 768), 0u);
    m_renderer->BeginFrame();
    m_renderer->device->EndScene();
    const std::vector<uint32_t> pixels = device->ReadBackBuffer();
    ASSERT_EQ(pixels.size(), 1024u * 768u);
    for (uint32_t pixel : pixels) {
        ASSERT_EQ(pixel, kGrey);
    }
}

TEST_F(GlPixels, VertexAlphaIsSubtractedFromTextureAlpha) {
    m_renderer->SetResolution(800, 600);
    const std::string white = Picture("white.png", 4, 4, std::vector<uint32_t>(16, 0xFFFFFFFF));
    ASSERT_TRUE(LoadTexture(white));
    Quad(190);
    Quad(0);

    m_renderer->BeginFrame();
    FillAtDepth(0.5f);
    ASSERT_TRUE(Draw(white, "Quad.190"));
    m_renderer->device->EndScene();
    // Alpha (255 - 190) / 255 of white over the grey.
    const double alpha = (255.0 - 190.0) / 255.0;
    const int expected = static_cast<int>(255.0 * alpha + 60.0 * (1.0 - alpha) + 0.5);
    uint32_t pixel = Pixel(device->ReadBackBuffer(), 400, 300);
    EXPECT_NEAR(Channel(pixel, 16), expected, 1);
    EXPECT_NEAR(Channel(pixel, 8), expected, 1);
    EXPECT_NEAR(Channel(pixel, 0), expected, 1);

    m_renderer->BeginFrame();
    FillAtDepth(0.5f);
    ASSERT_TRUE(Draw(white, "Quad.0"));
    m_renderer->device->EndScene();
    pixel = Pixel(device->ReadBackBuffer(), 400, 300);
    EXPECT_EQ(pixel, 0xFFFFFFFFu);
}

// The window is given the back buffer's alpha, which must not let it show through.
TEST_F(GlPixels, BlendedDrawsLeaveTheBackBufferOpaque) {
    m_renderer->SetResolution(800, 600);
    const std::string white = Picture("white.png", 4, 4, std::vector<uint32_t>(16, 0x80FFFFFF));
    ASSERT_TRUE(LoadTexture(white));
    Quad(0);

    m_renderer->BeginFrame();
    FillAtDepth(0.5f);
    ASSERT_TRUE(Draw(white, "Quad.0"));
    m_renderer->device->EndScene();
    const std::vector<uint32_t> pixels = device->ReadBackBuffer();
    ASSERT_GT(Channel(Pixel(pixels, 400, 300), 0), Channel(kGrey, 0) + 40);
    for (uint32_t pixel : pixels) {
        ASSERT_EQ(Channel(pixel, 24), 0xFF);
    }
}

TEST_F(GlPixels, TransparentTexelWritesNeitherColourNorDepth) {
    m_renderer->SetResolution(800, 600);
    const std::string clear = Picture("clear.png", 2, 2, std::vector<uint32_t>(4, 0x00FF0000));
    const std::string white = Picture("white.png", 2, 2, std::vector<uint32_t>(4, 0xFFFFFFFF));
    ASSERT_TRUE(LoadTexture(clear));
    ASSERT_TRUE(LoadTexture(white));
    Quad(0);

    m_renderer->BeginFrame();
    FillAtDepth(0.25f);
    ASSERT_TRUE(Draw(clear, "Quad.0"));
    std::vector<uint32_t> pixels = device->ReadBackBuffer();
    EXPECT_EQ(Pixel(pixels, 400, 300), kGrey);
    // Farther than the transparent quad: drawn only if that quad left the depth alone.
    FillAtDepth(0.75f);
    ASSERT_TRUE(Draw(white, "Quad.0"));
    m_renderer->device->EndScene();
    pixels = device->ReadBackBuffer();
    EXPECT_EQ(Pixel(pixels, 400, 300), 0xFFFFFFFFu);
}

TEST_F(GlPixels, DepthTestsLessOrEqualSoEqualDepthDrawsInOrderAndNearerWins) {
    m_renderer->SetResolution(800, 600);
    const std::string red = Picture("red.png", 1, 1, {0xFFFF0000});
    const std::string green = Picture("green.png", 1, 1, {0xFF00FF00});
    ASSERT_TRUE(LoadTexture(red));
    ASSERT_TRUE(LoadTexture(green));
    Quad(0);

    m_renderer->BeginFrame();
    FillAtDepth(0.5f);
    ASSERT_TRUE(Draw(red, "Quad.0"));
    ASSERT_TRUE(Draw(green, "Quad.0"));
    EXPECT_EQ(Pixel(device->ReadBackBuffer(), 400, 300), 0xFF00FF00u);
    FillAtDepth(0.6f);
    ASSERT_TRUE(Draw(red, "Quad.0"));
    m_renderer->device->EndScene();
    EXPECT_EQ(Pixel(device->ReadBackBuffer(), 400, 300), 0xFF00FF00u);
}

// Draws wait to be drawn together; each keeps the transform, texture and states it was made with.
TEST_F(GlPixels, GatheredDrawsKeepTheTextureAndStatesTheyWereMadeWith) {
    m_renderer->SetResolution(800, 600);
    const std::string red = Picture("red.png", 2, 2, std::vector<uint32_t>(4, 0xFFFF0000));
    const std::string blue = Picture("blue.png", 2, 2, std::vector<uint32_t>(4, 0xFF0000FF));
    Quad(0);
    plat::Device& drawing = *m_renderer->device;
    // A quarter of the width, the whole height.
    const auto quarter = [&drawing](int index) {
        drawing.SetTransform(plat::kTsWorld, plat::D3DXMatrixMultiply(
                                                 plat::D3DXMatrixScaling(0.5f, 2.0f, 1.0f),
                                                 plat::D3DXMatrixTranslation(
                                                     -0.75f + 0.5f * static_cast<float>(index), 0.0f, 0.5f)));
    };

    m_renderer->BeginFrame();
    FillAtDepth(0.5f);
    std::unique_ptr<plat::Texture> first;
    ASSERT_EQ(drawing.CreateTextureFromFile(red, first), plat::kOk);
    drawing.SetTexture(0, first.get());
    quarter(0);
    ASSERT_TRUE(m_renderer->geometry.Draw("Quad.0"));
    // The red texture goes, and one of its size takes its place, before anything was drawn.
    first.reset();
    std::unique_ptr<plat::Texture> second;
    ASSERT_EQ(drawing.CreateTextureFromFile(blue, second), plat::kOk);
    drawing.SetTexture(0, second.get());
    quarter(1);
    ASSERT_TRUE(m_renderer->geometry.Draw("Quad.0"));
    // The vertex colour, white, in place of the texture's: for this draw only.
    drawing.SetTextureStageState(0, plat::kTssColorOp, plat::kTopSelectArg2);
    quarter(2);
    ASSERT_TRUE(m_renderer->geometry.Draw("Quad.0"));
    drawing.EndScene();

    const std::vector<uint32_t> pixels = device->ReadBackBuffer();
    EXPECT_EQ(Pixel(pixels, 100, 300), 0xFFFF0000u);
    EXPECT_EQ(Pixel(pixels, 300, 300), 0xFF0000FFu);
    EXPECT_EQ(Pixel(pixels, 500, 300), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(pixels, 700, 300), kGrey);
}

TEST_F(GlPixels, SheetFramesAreSampledWithoutBleeding) {
    m_renderer->SetResolution(800, 600);
    const std::string sheet = Picture("sheet.png", 2, 1, {0xFFFF0000, 0xFF0000FF});
    ASSERT_TRUE(LoadTexture(sheet));
    Quad(0);
    for (int column = 0; column < 2; ++column) {
        m_renderer->BeginFrame();
        FillAtDepth(0.5f);
        // The sprite's frame matrix: translation(column, row, 0) x scaling(1 / columns, 1 / rows, 1).
        m_renderer->device->SetTransform(
            plat::kTsTexture0,
            plat::D3DXMatrixMultiply(plat::D3DXMatrixTranslation(static_cast<float>(column), 0.0f, 0.0f),
                                     plat::D3DXMatrixScaling(0.5f, 1.0f, 1.0f)));
        ASSERT_TRUE(Draw(sheet, "Quad.0"));
        m_renderer->device->EndScene();
        const uint32_t expected = column == 0 ? 0xFFFF0000u : 0xFF0000FFu;
        const std::vector<uint32_t> pixels = device->ReadBackBuffer();
        size_t wrong = 0;
        for (uint32_t pixel : pixels) {
            wrong += pixel != expected ? 1 : 0;
        }
        EXPECT_EQ(wrong, 0u) << "frame " << column;
    }
}

TEST_F(GlPixels, ClockwiseTrianglesAreCulled) {
    m_renderer->SetResolution(800, 600);
    const std::string white = Picture("white.png", 1, 1, {0xFFFFFFFF});
    ASSERT_TRUE(LoadTexture(white));
    Quad(0);
    m_renderer->BeginFrame();
    // Mirrored in x the quad turns clockwise on screen.
    m_renderer->device->SetTransform(plat::kTsView, plat::D3DXMatrixIdentity());
    m_renderer->device->SetTransform(plat::kTsProjection, plat::D3DXMatrixIdentity());
    m_renderer->device->SetTransform(plat::kTsWorld, plat::D3DXMatrixScaling(-2.0f, 2.0f, 1.0f));
    ASSERT_TRUE(Draw(white, "Quad.0"));
    m_renderer->device->EndScene();
    EXPECT_EQ(Pixel(device->ReadBackBuffer(), 400, 300), kGrey);
}

TEST_F(GlPixels, QuadsAndTexturesDrawAgainAfterAReset) {
    m_renderer->SetResolution(800, 600);
    const std::string white = Picture("white.png", 1, 1, {0xFFFFFFFF});
    ASSERT_TRUE(LoadTexture(white));
    Quad(0);
    m_renderer->SetResolution(1440, 900);
    ASSERT_TRUE(m_renderer->CheckDevice());
    m_renderer->BeginFrame();
    FillAtDepth(0.5f);
    ASSERT_TRUE(Draw(white, "Quad.0"));
    m_renderer->device->EndScene();
    const std::vector<uint32_t> pixels = device->ReadBackBuffer();
    EXPECT_EQ(Pixel(pixels, 720, 450), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(pixels, 60, 450), kBlack);
    EXPECT_EQ(m_renderer->textures.Entries().at(white).count, 1);
}

TEST_F(GlPixels, DebugTextIsDrawnInTheFontAtItsVirtualPosition) {
    EXPECT_EQ(m_renderer->SetResolution(1440, 900), 120u);
    m_renderer->BeginFrame();
    m_renderer->DrawDebugText("Frame Rate:  60.000000", 380.0f, 25.0f, 0xFFFFFFFF);
    m_renderer->device->EndScene();
    const std::vector<uint32_t> pixels = device->ReadBackBuffer();
    // left = 120 + 380 / 800 x 1200 = 690, top = 25 / 600 x 900 = 37; the cell is 900 / 45 = 20 high.
    int bright = 0;
    int outside = 0;
    for (uint32_t y = 0; y < 900; ++y) {
        for (uint32_t x = 0; x < 1440; ++x) {
            const bool lit = Channel(Pixel(pixels, x, y), 16) > 200;
            const bool inside = x >= 690 && x < 1100 && y >= 37 && y < 57;
            bright += lit && inside ? 1 : 0;
            outside += lit && !inside ? 1 : 0;
        }
    }
    EXPECT_GT(bright, 50);
    EXPECT_EQ(outside, 0);
}

TEST_F(GlPixels, PicturesTheGameDoesNotShipAreRefused) {
    const std::string wide = Picture("wide.png", 4097, 1, std::vector<uint32_t>(4097, 0xFFFFFFFF));
    EXPECT_FALSE(LoadTexture(wide));
    const std::string edge = Picture("edge.png", 4096, 1, std::vector<uint32_t>(4096, 0xFFFFFFFF));
    EXPECT_TRUE(LoadTexture(edge));
    const std::string text = (m_folder / "notes.png").string();
    std::ofstream(text) << "not a picture";
    EXPECT_FALSE(LoadTexture(text));
    // A PNG cut short after its header.
    const std::string whole = Picture("whole.png", 16, 16, std::vector<uint32_t>(256, 0xFF102030));
    std::filesystem::resize_file(whole, 40);
    EXPECT_FALSE(LoadTexture(whole));
    EXPECT_FALSE(LoadTexture((m_folder / "missing.png").string()));
    EXPECT_EQ(m_renderer->textures.Entries().size(), 1u);
}

} // namespace
