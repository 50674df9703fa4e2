// Which draws the OpenGL device leaves out as wholly off screen, and draws of many picture sizes gathered
// together.
#include "gl_support.h"

#include "platform/d3dx.h"

#include <filesystem>

namespace {

using namespace gltest;

// A unit-wide quad in the XY plane, centred on (x, y), at depth z, as plain positions.
struct Quad {
    float positions[4][3];
};

Quad QuadAt(float x, float y, float z, float half = 0.5f) {
    return {{{x - half, y + half, z}, {x - half, y - half, z}, {x + half, y - half, z}, {x + half, y + half, z}}};
}

bool Outside(const plat::Matrix& worldViewProj, const Quad& quad) {
    return plat::OutsideClipVolume(worldViewProj.m, reinterpret_cast<const uint8_t*>(quad.positions), 4,
                                   sizeof(quad.positions[0]));
}

TEST(ClipVolume, OnlyADrawWhollyBeyondOneSideIsLeftOut) {
    const plat::Matrix identity = plat::D3DXMatrixIdentity();
    // Half over the right edge, and a corner on it: both show.
    EXPECT_FALSE(Outside(identity, QuadAt(1.0f, 0.0f, 0.5f)));
    EXPECT_FALSE(Outside(identity, QuadAt(1.5f, 1.5f, 0.5f)));
    // Just past each side.
    EXPECT_TRUE(Outside(identity, QuadAt(1.501f, 0.0f, 0.5f)));
    EXPECT_TRUE(Outside(identity, QuadAt(-1.501f, 0.0f, 0.5f)));
    EXPECT_TRUE(Outside(identity, QuadAt(0.0f, 1.501f, 0.5f)));
    EXPECT_TRUE(Outside(identity, QuadAt(0.0f, -1.501f, 0.5f)));
    // Direct3D's depth runs from 0 to w: both ends show, past them nothing does.
    EXPECT_FALSE(Outside(identity, QuadAt(0.0f, 0.0f, 0.0f)));
    EXPECT_FALSE(Outside(identity, QuadAt(0.0f, 0.0f, 1.0f)));
    EXPECT_TRUE(Outside(identity, QuadAt(0.0f, 0.0f, -0.01f)));
    EXPECT_TRUE(Outside(identity, QuadAt(0.0f, 0.0f, 1.01f)));
    // Corners beyond different sides, the view between them: it shows.
    EXPECT_FALSE(Outside(identity, QuadAt(0.0f, 0.0f, 0.5f, 3.0f)));

    // Through a perspective camera looking along +z: behind the eye is left out, a quad reaching from
    // behind the eye into the view is not.
    const plat::Matrix projection = plat::D3DXMatrixPerspectiveFovLH(1.0f, 4.0f / 3.0f, 1.0f, 100.0f);
    EXPECT_TRUE(Outside(projection, QuadAt(0.0f, 0.0f, -5.0f)));
    EXPECT_FALSE(Outside(projection, QuadAt(0.0f, 0.0f, 5.0f)));
    const Quad reaching = {{{-0.5f, 0.0f, -3.0f}, {0.5f, 0.0f, -3.0f}, {0.5f, 0.0f, 10.0f}, {-0.5f, 0.0f, 10.0f}}};
    EXPECT_FALSE(Outside(projection, reaching));
}

using GlBatching = GlRendererFixture;

// Ten sizes, so ten array textures, alternating, each in a short strip of its own: one batch that binds
// each array in turn for the draws that sample it.
TEST_F(GlBatching, EachDrawShowsItsOwnTextureWhateverSizesSurroundIt) {
    m_renderer->SetResolution(800, 600);
    constexpr int kSizes = 10;
    constexpr int kStrips = 16;
    uint32_t colours[kSizes];
    std::string files[kSizes];
    for (int i = 0; i < kSizes; ++i) {
        colours[i] = 0xFF000000u | static_cast<uint32_t>(25 * i) << 16 | static_cast<uint32_t>(250 - 25 * i) << 8 |
                     static_cast<uint32_t>(i % 2 == 0 ? 40 : 200);
        files[i] = (m_folder / ("size" + std::to_string(i) + ".png")).string();
        ASSERT_TRUE(SavePng(files[i], 1 + i, 2 + i, std::vector<uint32_t>((1 + i) * (2 + i), colours[i])));
        ASSERT_TRUE(m_renderer->textures.Load({files[i], 0, 0, 0}));
    }
    GeometryDesc quad;
    quad.InitQuad();
    quad.SetAlpha(0);
    ASSERT_TRUE(m_renderer->geometry.Load(quad));
    const int order[kStrips] = {0, 1, 0, 2, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 9, 1};

    m_renderer->BeginFrame();
    plat::Device& drawing = *m_renderer->device;
    drawing.SetTransform(plat::kTsView, plat::D3DXMatrixIdentity());
    drawing.SetTransform(plat::kTsProjection, plat::D3DXMatrixIdentity());
    constexpr float kWidth = 2.0f / kStrips;
    for (int strip = 0; strip < kStrips; ++strip) {
        drawing.SetTransform(plat::kTsWorld,
                             plat::D3DXMatrixMultiply(plat::D3DXMatrixScaling(kWidth, 0.2f, 1.0f),
                                                      plat::D3DXMatrixTranslation(
                                                          -1.0f + kWidth * (static_cast<float>(strip) + 0.5f),
                                                          0.0f, 0.5f)));
        ASSERT_TRUE(m_renderer->textures.Bind(files[order[strip]]));
        ASSERT_TRUE(m_renderer->geometry.Draw(quad.name));
    }
    drawing.EndScene();

    const std::vector<uint32_t> pixels = device->ReadBackBuffer();
    for (int strip = 0; strip < kStrips; ++strip) {
        EXPECT_EQ(pixels[300 * 800 + 25 + 50 * strip], colours[order[strip]]) << "strip " << strip;
    }
}

// Each program's block of draw records against the range bound at its binding: a driver may read all
// of an active block, however few draws the batch held.
void ExpectEveryDrawBlockBacked(const plat::GlDevice& device) {
    for (GLuint program : device.Programs()) {
        const GLuint block = glGetUniformBlockIndex(program, "Draws");
        GLint binding = 0;
        GLint needed = 0;
        glGetActiveUniformBlockiv(program, block, GL_UNIFORM_BLOCK_BINDING, &binding);
        glGetActiveUniformBlockiv(program, block, GL_UNIFORM_BLOCK_DATA_SIZE, &needed);
        GLint buffer = 0;
        GLint64 size = 0;
        glGetIntegeri_v(GL_UNIFORM_BUFFER_BINDING, static_cast<GLuint>(binding), &buffer);
        glGetInteger64i_v(GL_UNIFORM_BUFFER_SIZE, static_cast<GLuint>(binding), &size);
        // Bound whole, a buffer reports no range: the range is all of it.
        if (size == 0 && buffer != 0) {
            glBindBuffer(GL_COPY_READ_BUFFER, static_cast<GLuint>(buffer));
            glGetBufferParameteri64v(GL_COPY_READ_BUFFER, GL_BUFFER_SIZE, &size);
            glBindBuffer(GL_COPY_READ_BUFFER, 0);
        }
        EXPECT_GT(needed, 0) << "program " << program;
        EXPECT_GE(size, needed) << "program " << program;
    }
}

// Batches of one or two draws, textured, untextured and both, then text over the picture: after each,
// every program made so far has its block of draw records backed whole.
TEST_F(GlBatching, EveryProgramsDrawBlockIsBackedWholeHoweverFewDrawsABatchHolds) {
    m_renderer->SetResolution(800, 600);
    const std::string white = (m_folder / "white.png").string();
    ASSERT_TRUE(SavePng(white, 2, 2, std::vector<uint32_t>(4, 0xFFFFFFFF)));
    ASSERT_TRUE(m_renderer->textures.Load({white, 0, 0, 0}));
    GeometryDesc quad;
    quad.InitQuad();
    quad.SetAlpha(0);
    ASSERT_TRUE(m_renderer->geometry.Load(quad));

    m_renderer->BeginFrame();
    plat::Device& drawing = *m_renderer->device;
    drawing.SetTransform(plat::kTsView, plat::D3DXMatrixIdentity());
    drawing.SetTransform(plat::kTsProjection, plat::D3DXMatrixIdentity());
    drawing.SetTransform(plat::kTsWorld, plat::D3DXMatrixTranslation(0.0f, 0.0f, 0.5f));
    const auto draw = [&](bool textured) {
        drawing.SetTexture(0, nullptr);
        ASSERT_TRUE(!textured || m_renderer->textures.Bind(white));
        ASSERT_TRUE(m_renderer->geometry.Draw(quad.name));
    };
    // Each step makes a program of its own, so that it is among those checked.
    size_t made = device->Programs().size();
    const auto flushAndCheck = [&](const char* step) {
        SCOPED_TRACE(step);
        ASSERT_EQ(drawing.EndScene(), plat::kOk);
        ASSERT_EQ(drawing.BeginScene(), plat::kOk);
        EXPECT_GT(device->Programs().size(), made);
        made = device->Programs().size();
        ExpectEveryDrawBlockBacked(*device);
    };
    draw(true);
    flushAndCheck("textured");
    draw(false);
    flushAndCheck("untextured");
    draw(true);
    draw(false);
    flushAndCheck("both");
    m_renderer->DrawDebugText("Frame Rate:  60.000000", 10.0f, 10.0f, 0xFFFFFFFF);
    flushAndCheck("text");
    drawing.EndScene();
}

} // namespace
