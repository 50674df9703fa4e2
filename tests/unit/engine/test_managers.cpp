// The geometry, texture and font managers on the null device: reference counts, their log lines, the
// buffers they fill, and what survives a device reset.
#include "engine/krfontmanager.h"
#include "engine/krgeometry.h"
#include "engine/krtexturemanager.h"
#include "platform/null/nullgraphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

plat::PresentParams Params(uint32_t width, uint32_t height) {
    plat::PresentParams params;
    params.backBufferWidth = width;
    params.backBufferHeight = height;
    return params;
}

int Calls(const plat::NullDevice& device, const std::string& name) {
    return static_cast<int>(std::count(device.calls.begin(), device.calls.end(), name));
}

TEST(GeometryDesc, InitQuadIsTheWhiteTransparentUnitQuadNamedQuadX) {
    GeometryDesc quad;
    quad.InitQuad();
    EXPECT_EQ(quad.name, "Quad.x");
    const float expected[4][5] = {
        {-0.5f, 0.5f, 0, 0, 0}, {-0.5f, -0.5f, 0, 0, 1}, {0.5f, -0.5f, 0, 1, 1}, {0.5f, 0.5f, 0, 1, 0}};
    for (int i = 0; i < 4; ++i) {
        const QuadVertex& v = quad.vertices[static_cast<size_t>(i)];
        EXPECT_EQ(v.x, expected[i][0]);
        EXPECT_EQ(v.y, expected[i][1]);
        EXPECT_EQ(v.z, expected[i][2]);
        EXPECT_EQ(v.u, expected[i][3]);
        EXPECT_EQ(v.v, expected[i][4]);
        EXPECT_EQ(v.w, 0.0f);
        EXPECT_EQ(v.diffuse, 0x00FFFFFFu);
    }
    EXPECT_EQ(quad.indices, (std::array<uint16_t, 6>{0, 1, 2, 3, 0, 2}));
}

TEST(GeometryDesc, SetAlphaNamesTheQuadAndColoursEveryVertex) {
    GeometryDesc quad;
    quad.InitQuad();
    for (int alpha : {190, 127, 63, 0, 255}) {
        quad.SetAlpha(alpha);
        EXPECT_EQ(quad.name, "Quad." + std::to_string(alpha));
        for (const QuadVertex& v : quad.vertices) {
            EXPECT_EQ(v.diffuse, static_cast<uint32_t>(alpha) * 0x1000000u + 0xFFFFFFu);
        }
    }
    // Quad.0 draws like Quad.x but is a quad of its own.
    quad.SetAlpha(0);
    GeometryDesc plain;
    plain.InitQuad();
    EXPECT_NE(quad.name, plain.name);
    EXPECT_EQ(quad.vertices[2].diffuse, plain.vertices[2].diffuse);
}

class Managers : public ::testing::Test {
  protected:
    Managers() : device(Params(800, 600)) {
        geometry.SetDevice(&device);
        textures.SetDevice(&device);
        fonts.SetDevice(&device);
        quad.InitQuad();
        quad.SetAlpha(190);
    }

    plat::NullDevice device;
    GeometryManager geometry;
    TextureManager textures;
    FontManager fonts;
    GeometryDesc quad;
};

TEST_F(Managers, GeometryLoadedThreeTimesIsBuiltOnceAndFreedAtTheLastRelease) {
    ASSERT_TRUE(geometry.Load(quad));
    ASSERT_TRUE(geometry.Load(quad));
    ASSERT_TRUE(geometry.Load(quad));
    EXPECT_EQ(Calls(device, "CreateVertexBuffer"), 1);
    EXPECT_EQ(geometry.Entries().at("Quad.190").count, 3);

    CaptureStdout();
    EXPECT_TRUE(geometry.Release("Quad.190"));
    EXPECT_TRUE(geometry.Release("Quad.190"));
    EXPECT_EQ(GetCapturedStdout(), "Geometry reference decremented.\nGeometry reference decremented.\n");
    EXPECT_EQ(device.Ledger().vertexBuffers, 1);
    CaptureStdout();
    EXPECT_TRUE(geometry.Release("Quad.190"));
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(device.Ledger().vertexBuffers, 0);
    EXPECT_EQ(device.Ledger().indexBuffers, 0);
    // Unknown names are refused without a line.
    CaptureStdout();
    EXPECT_FALSE(geometry.Release("Quad.190"));
    EXPECT_EQ(GetCapturedStdout(), "");
}

TEST_F(Managers, GeometryBuffersHoldTheQuadAndDrawAsTwoTriangles) {
    ASSERT_TRUE(geometry.Load(quad));
    const GeometryManager::Entry& entry = geometry.Entries().at("Quad.190");
    auto* vertices = dynamic_cast<plat::NullVertexBuffer*>(entry.vertexBuffer.get());
    auto* indices = dynamic_cast<plat::NullIndexBuffer*>(entry.indexBuffer.get());
    ASSERT_NE(vertices, nullptr);
    ASSERT_NE(indices, nullptr);
    ASSERT_EQ(vertices->bytes.size(), 112u);
    ASSERT_EQ(indices->bytes.size(), 12u);
    EXPECT_EQ(std::memcmp(vertices->bytes.data(), quad.vertices.data(), 112), 0);
    EXPECT_EQ(std::memcmp(indices->bytes.data(), quad.indices.data(), 12), 0);
    EXPECT_EQ(vertices->pool, plat::kPoolDefault);
    EXPECT_EQ(indices->pool, plat::kPoolManaged);
    EXPECT_FALSE(vertices->locked);

    ASSERT_TRUE(geometry.Draw("Quad.190"));
    ASSERT_EQ(device.draws.size(), 1u);
    const plat::NullDraw& draw = device.draws[0];
    EXPECT_EQ(draw.vertices, vertices);
    EXPECT_EQ(draw.indices, indices);
    EXPECT_EQ(draw.stride, 28u);
    EXPECT_EQ(draw.type, plat::kPtTriangleList);
    EXPECT_EQ(draw.numVertices, 4u);
    EXPECT_EQ(draw.startIndex, 0u);
    EXPECT_EQ(draw.primitiveCount, 2u);

    CaptureStdout();
    EXPECT_FALSE(geometry.Draw("Quad.63"));
    EXPECT_EQ(GetCapturedStdout(), "Couldn't find geometry: Quad.63\n");
    device.failDraws = true;
    EXPECT_FALSE(geometry.Draw("Quad.190"));
}

TEST_F(Managers, GeometryThatCannotBeBuiltIsNotKept) {
    device.failBufferCreation = true;
    EXPECT_FALSE(geometry.Load(quad));
    device.failBufferCreation = false;
    device.failLocks = true;
    EXPECT_FALSE(geometry.Load(quad));
    EXPECT_TRUE(geometry.Entries().empty());
    EXPECT_EQ(device.Ledger().vertexBuffers, 0);
    device.failLocks = false;
    EXPECT_TRUE(geometry.Load(quad));
}

TEST_F(Managers, TexturesAreCountedByFileWithTheirLines) {
    const TextureDesc desc{"../Assets/krbcspr.png", 64, 64, 255};
    CaptureStdout();
    ASSERT_TRUE(textures.Load(desc));
    ASSERT_TRUE(textures.Load(desc));
    EXPECT_EQ(GetCapturedStdout(), "texture ../Assets/krbcspr.png is already loaded.\n");
    EXPECT_EQ(device.texturesCreated.size(), 1u);
    EXPECT_EQ(textures.Entries().at(desc.file).count, 2);
    EXPECT_EQ(textures.Entries().at(desc.file).desc.width, 64);

    ASSERT_TRUE(textures.Bind(desc.file));
    EXPECT_EQ(device.texture, textures.Entries().at(desc.file).texture.get());
    CaptureStdout();
    EXPECT_FALSE(textures.Bind("../Assets/none.png"));
    EXPECT_TRUE(textures.Unload(desc.file));
    EXPECT_EQ(GetCapturedStdout(), "Couldn't find texture: ../Assets/none.png\nTexture count decremented.\n");
    CaptureStdout();
    EXPECT_TRUE(textures.Unload(desc.file));
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(device.Ledger().textures, 0);
    // The bound texture is gone, and so is the device's pointer to it.
    EXPECT_EQ(device.texture, nullptr);
    CaptureStdout();
    EXPECT_FALSE(textures.Unload(desc.file));
    EXPECT_EQ(GetCapturedStdout(), "Couldn't find texture to unload!\n");
}

TEST_F(Managers, ATextureThatCannotBeReadFailsWithoutALine) {
    device.missingFiles.insert("../Assets/missing.png");
    CaptureStdout();
    EXPECT_FALSE(textures.Load({"../Assets/missing.png", 0, 0, 0}));
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_TRUE(textures.Entries().empty());
}

TEST_F(Managers, AfterALostDeviceEverythingIsRebuiltUnderItsNameAndCount) {
    ASSERT_TRUE(geometry.Load(quad));
    ASSERT_TRUE(geometry.Load(quad));
    ASSERT_TRUE(textures.Load({"a.png", 0, 0, 0}));
    fonts.CreateFonts(800, 600, 0);
    // Default-pool buffers and live fonts would make the reset fail.
    plat::PresentParams params = Params(1024, 768);
    EXPECT_EQ(device.Reset(params), plat::kErrInvalidCall);
    geometry.ReleaseBuffers();
    textures.ReleaseTextures();
    fonts.OnLostDevice();
    EXPECT_FALSE(geometry.Draw("Quad.190"));
    EXPECT_FALSE(textures.Bind("a.png"));
    ASSERT_EQ(device.Reset(params), plat::kOk);
    geometry.RebuildBuffers();
    textures.RebuildTextures();
    fonts.OnResetDevice();
    EXPECT_EQ(geometry.Entries().at("Quad.190").count, 2);
    EXPECT_EQ(textures.Entries().at("a.png").count, 1);
    EXPECT_EQ(device.texturesCreated, (std::vector<std::string>{"a.png", "a.png"}));
    EXPECT_TRUE(geometry.Draw("Quad.190"));
    EXPECT_TRUE(textures.Bind("a.png"));
    EXPECT_EQ(device.Ledger().vertexBuffers, 1);
}

TEST_F(Managers, FontSizesFollowTheBackBufferAndTheBars) {
    fonts.CreateFonts(1440, 900, 120);
    ASSERT_EQ(device.fontsCreated.size(), 2u);
    const plat::FontDesc& debug = device.fontsCreated[0];
    EXPECT_EQ(debug.faceName, "Palatino Linotype");
    EXPECT_EQ(debug.height, 20);
    EXPECT_EQ(debug.width, 0u);
    EXPECT_EQ(debug.weight, 100u);
    EXPECT_FALSE(debug.italic);
    const plat::FontDesc& times = device.fontsCreated[1];
    EXPECT_EQ(times.faceName, "Times New Roman");
    EXPECT_EQ(times.height, 30);
    EXPECT_EQ(times.width, 10u);
    EXPECT_EQ(times.weight, 500u);
    EXPECT_NE(fonts.Find("Debug"), nullptr);
    EXPECT_NE(fonts.Find("Times New Roman"), nullptr);
    fonts.ReleaseFonts();
    EXPECT_EQ(fonts.Find("Debug"), nullptr);
    EXPECT_EQ(device.Ledger().fonts, 0);
}

TEST_F(Managers, DebugTextIsMeasuredThenDrawnAtItsVirtualPosition) {
    fonts.CreateFonts(1440, 900, 120);
    fonts.DrawDebugText("StartState", 0xFFFFFFFF, 130.0f, 50.0f);
    ASSERT_EQ(device.texts.size(), 1u);
    const plat::NullText& text = device.texts[0];
    EXPECT_EQ(text.face, "Palatino Linotype");
    EXPECT_EQ(text.text, "StartState");
    EXPECT_EQ(text.format, plat::kDtWordBreak);
    EXPECT_EQ(text.colour, 0xFFFFFFFFu);
    // left = 120 + 130 / 800 x 1200, top = 50 / 600 x 900; the measuring fitted the rest to the text
    // (the null font is half its 20-pixel cell wide a character).
    EXPECT_EQ(text.rect.left, 315);
    EXPECT_EQ(text.rect.top, 75);
    EXPECT_EQ(text.rect.right, 315 + 10 * 10);
    EXPECT_EQ(text.rect.bottom, 95);

    device.missingFaces.insert("Palatino Linotype");
    fonts.ReleaseFonts();
    fonts.CreateFonts(1440, 900, 120);
    CaptureStdout();
    fonts.DrawDebugText("StartState", 0xFFFFFFFF, 130.0f, 50.0f);
    EXPECT_EQ(GetCapturedStdout(), "Debug font not found! Text not printed!\n");
    EXPECT_EQ(device.texts.size(), 1u);
}

} // namespace
