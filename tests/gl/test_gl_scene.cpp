// Scene objects on the OpenGL device: a line of sprite-font text under the HUD camera, world text and
// markers under the perspective and the top-down camera, and the perspective picture between side bars.
// The committed sheets are drawn ("../Assets" from tests/) and compared with the pictures themselves.
// Set THORNVALE_SNAPSHOT_DIR to keep what was drawn as PNG files.
#include "gl_support.h"

#include "scene/hudtext.h"
#include "scene/krcamera.h"
#include "scene/worldobject.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace gltest;

class GlScene : public GlFixture {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(GlFixture::SetUp());
        WorldObject::s_bobDirection = 0;
        WorldObject::s_pulseDirection = 0;
    }

    uint32_t Width() { return renderer().backBufferWidth; }
    uint32_t Height() { return renderer().backBufferHeight; }

    void Begin(const KRCamera& camera) {
        renderer().BeginFrame();
        camera.ApplyToDevice(*engine);
    }

    uint32_t Pixel(const std::vector<uint32_t>& pixels, int x, int y) {
        return pixels[static_cast<size_t>(y) * Width() + static_cast<size_t>(x)];
    }

    // Where the camera puts a world point, in back-buffer pixels.
    plat::Vector3 Project(const KRCamera& camera, const plat::Vector3& world) {
        plat::Matrix view;
        plat::Matrix projection;
        camera.BuildViewMatrix(view);
        camera.BuildProjectionMatrix(projection, engine->m_display);
        const plat::Matrix m = plat::D3DXMatrixMultiply(view, projection);
        const float x = world.x * m(0, 0) + world.y * m(1, 0) + world.z * m(2, 0) + m(3, 0);
        const float y = world.x * m(0, 1) + world.y * m(1, 1) + world.z * m(2, 1) + m(3, 1);
        const float w = world.x * m(0, 3) + world.y * m(1, 3) + world.z * m(2, 3) + m(3, 3);
        const plat::Viewport& v = renderer().mainViewport;
        return {static_cast<float>(v.x) + (x / w + 1.0f) * 0.5f * static_cast<float>(v.width),
                static_cast<float>(v.y) + (1.0f - y / w) * 0.5f * static_cast<float>(v.height), 0.0f};
    }

    // The picture expected where sprites show frames of a sheet on axis-aligned screen boxes, drawn in
    // order over the grey picture. Each entry: the box and the frame's top-left texel and size.
    struct Placed {
        Box box;
        int texelX = 0;
        int texelY = 0;
        int texels = 0;
        int texelsHigh = 0;
    };
    std::vector<uint32_t> Expected(const Image& sheet, const std::vector<Placed>& placed) {
        std::vector<uint32_t> out(static_cast<size_t>(Width()) * Height(), kGrey);
        for (const Placed& p : placed) {
            for (int y = static_cast<int>(std::floor(p.box.top));
                 y < static_cast<int>(std::ceil(p.box.bottom)); ++y) {
                for (int x = static_cast<int>(std::floor(p.box.left));
                     x < static_cast<int>(std::ceil(p.box.right)); ++x) {
                    const float u = (static_cast<float>(x) + 0.5f - p.box.left) / (p.box.right - p.box.left);
                    const float v = (static_cast<float>(y) + 0.5f - p.box.top) / (p.box.bottom - p.box.top);
                    if (u < 0.0f || u >= 1.0f || v < 0.0f || v >= 1.0f) {
                        continue;
                    }
                    const int tx = p.texelX + static_cast<int>(u * static_cast<float>(p.texels));
                    const int ty = p.texelY + static_cast<int>(v * static_cast<float>(p.texelsHigh));
                    uint32_t& pixel = out[static_cast<size_t>(y) * Width() + static_cast<size_t>(x)];
                    pixel = Over(sheet.At(tx, ty), pixel);
                }
            }
        }
        return out;
    }

    // The share of pixels that differ inside a region, at the best shift of at most one pixel either
    // way (rasterisation conventions differ by half a pixel); also the number of inked pixels expected.
    struct Match {
        double mismatched = 1.0;
        int inked = 0;
    };
    Match Compare(const std::vector<uint32_t>& drawn, const std::vector<uint32_t>& expected,
                  const Box& region) {
        Match best;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                int inked = 0;
                int wrong = 0;
                int total = 0;
                for (int y = static_cast<int>(region.top); y < static_cast<int>(region.bottom); ++y) {
                    for (int x = static_cast<int>(region.left); x < static_cast<int>(region.right); ++x) {
                        const uint32_t want =
                            expected[static_cast<size_t>(y) * Width() + static_cast<size_t>(x)];
                        const uint32_t got = Pixel(drawn, x + dx, y + dy);
                        inked += Difference(want, kGrey) > 24 ? 1 : 0;
                        wrong += Difference(want, got) > 48 ? 1 : 0;
                        ++total;
                    }
                }
                const double share = total > 0 ? static_cast<double>(wrong) / total : 1.0;
                if (share < best.mismatched) {
                    best = {share, inked};
                }
            }
        }
        return best;
    }

    // The smallest box around every pixel that is not the grey picture.
    Box Ink(const std::vector<uint32_t>& pixels, const Box& within) {
        Box ink{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(), -1.0f, -1.0f};
        for (int y = static_cast<int>(within.top); y < static_cast<int>(within.bottom); ++y) {
            for (int x = static_cast<int>(within.left); x < static_cast<int>(within.right); ++x) {
                if (Difference(Pixel(pixels, x, y), kGrey) > 24) {
                    ink.left = std::min(ink.left, static_cast<float>(x));
                    ink.top = std::min(ink.top, static_cast<float>(y));
                    ink.right = std::max(ink.right, static_cast<float>(x + 1));
                    ink.bottom = std::max(ink.bottom, static_cast<float>(y + 1));
                }
            }
        }
        return ink;
    }

    // A marker showing the world arrow, its textures resident.
    void MakeArrow(WorldObject& marker) {
        ASSERT_TRUE(marker.m_sprite.ApplyTextureConfig("../Assets/worldarrow.xml"));
        marker.m_sprite.Load(*engine);
    }
};

// 16 x 12 units on 800 x 600 pixels: 50 pixels a unit, the HUD camera's eye over the picture's centre.
TEST_F(GlScene, ALineOfHudTextShowsEachGlyphOfTheSheetUprightAtItsAdvance) {
    const Image sheet = LoadImage("../Assets/Fonts/fonts.png");
    ASSERT_EQ(sheet.width, 512);
    KROrthoCamera hud;
    KRPerspCamera active;
    active.Update(0.0f);
    HudTextBlock text;
    text.m_font.m_sprite.Load(*engine);
    text.m_size = 1.28f; // 64 pixels: two pixels a texel
    const std::string line = "Fj7{";
    text.SetText(line, {-3.0f, 3.0f, 1.0f});
    Begin(active);
    text.DrawText(*engine, {&hud, &active});
    const std::vector<uint32_t> pixels = EndFrame("hud_text");

    std::vector<Placed> placed;
    const float advance = 1.28f / 1.9f;
    for (size_t i = 0; i < line.size(); ++i) {
        const float cx = 400.0f + 50.0f * (-3.0f + static_cast<float>(i) * advance);
        const float cy = 300.0f - 50.0f * 1.0f;
        const int frame = line[i] - 33;
        placed.push_back(
            {{cx - 32.0f, cy - 32.0f, cx + 32.0f, cy + 32.0f}, (frame % 16) * 32, (frame / 16) * 32, 32, 32});
    }
    const Box region{placed.front().box.left - 8.0f, 210.0f, placed.back().box.right + 8.0f, 290.0f};
    const Match match = Compare(pixels, Expected(sheet, placed), region);
    EXPECT_GT(match.inked, 1500);
    EXPECT_LT(match.mismatched, 0.01);
    // Nothing else is drawn.
    const Box ink = Ink(pixels, {0.0f, 0.0f, 800.0f, 600.0f});
    EXPECT_GE(ink.left, region.left);
    EXPECT_LE(ink.right, region.right);
    EXPECT_GE(ink.top, region.top);
    EXPECT_LE(ink.bottom, region.bottom);
}

TEST_F(GlScene, AMarkerLaidFlatShowsTheWholeArrowPointingDownUnderTheTopDownCamera) {
    const Image arrow = LoadImage("../Assets/worldarrow.png");
    ASSERT_EQ(arrow.width, 64);
    KROrthoCamera kingdom;
    kingdom.Eye() = {5.0f, 10.0f, -10.0f};
    kingdom.m_target = {5.0f, 0.0f, -10.0f};
    WorldObject marker;
    MakeArrow(marker);
    marker.m_standing = 0;
    WorldObject::SetWorldPosition(&marker, {6.0f, 0.5f, 9.0f}, {0.0f, 0.0f, 0.0f}); // at (6, 0, -9)
    marker.m_boundingBox.m_scale[0] = 2.56f;
    marker.m_boundingBox.m_scale[1] = 2.56f;
    Begin(kingdom);
    marker.Render(*engine);
    const std::vector<uint32_t> pixels = EndFrame("flat_marker");

    // One unit right of the eye and one unit up the screen: (450, 250), 128 pixels a side.
    const plat::Vector3 centre = Project(kingdom, {6.0f, 0.0f, -9.0f});
    EXPECT_NEAR(centre.x, 450.0f, 0.01f);
    EXPECT_NEAR(centre.y, 250.0f, 0.01f);
    const Box box{386.0f, 186.0f, 514.0f, 314.0f};
    const Match match =
        Compare(pixels, Expected(arrow, {{box, 0, 0, 64, 64}}), {376.0f, 176.0f, 524.0f, 324.0f});
    EXPECT_GT(match.inked, 3000);
    EXPECT_LT(match.mismatched, 0.01);
    // The tip is at the bottom: more gold in the lowest quarter's middle than in the top's corners.
    EXPECT_GT(Channel(Pixel(pixels, 450, 290), 16), 150);
    EXPECT_EQ(Pixel(pixels, 392, 192), kGrey);
}

// The camera a marker's label is drawn with: the test's own, not the engine's world's.
KRCamera* g_labelCamera = nullptr;

TextCameras LabelCameras(Engine&) {
    return {nullptr, g_labelCamera};
}

TEST_F(GlScene, AStandingMarkerAndItsWorldLabelAppearWhereThePerspectiveCameraProjectsThem) {
    KRPerspCamera camera;
    camera.Update(0.0f);
    g_labelCamera = &camera;
    SetTextCameraSource(LabelCameras);
    WorldObject marker;
    MakeArrow(marker);
    marker.m_standing = 1;
    marker.SetLabel("GO");
    marker.m_label.m_worldFlag = 1;
    marker.m_label.m_size = 0.8f;
    marker.m_label.m_font.m_sprite.Load(*engine);
    WorldObject::SetWorldPosition(&marker, {8.0f, 1.5f, 0.0f}, {0.0f, 0.0f, 0.0f}); // at (8, 1, 0)
    marker.m_boundingBox.m_scale[0] = 2.0f;
    marker.m_boundingBox.m_scale[1] = 2.0f;
    Begin(camera);
    marker.Render(*engine);
    const std::vector<uint32_t> alone = EndFrame("standing_marker");

    // The quad from (7, 0) to (9, 2) in the plane z = 0.
    const plat::Vector3 topLeft = Project(camera, {7.0f, 2.0f, 0.0f});
    const plat::Vector3 bottomRight = Project(camera, {9.0f, 0.0f, 0.0f});
    const Box quad{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    const Box ink = Ink(alone, {0.0f, 0.0f, 800.0f, 600.0f});
    EXPECT_GE(ink.left, quad.left - 1.0f);
    EXPECT_LE(ink.right, quad.right + 1.0f);
    EXPECT_GE(ink.top, quad.top - 1.0f);
    EXPECT_LE(ink.bottom, quad.bottom + 1.0f);
    EXPECT_GT(ink.right - ink.left, (quad.right - quad.left) * 0.6f);
    // The arrow's head, a quarter up from the quad's foot on its middle line, is gold.
    const plat::Vector3 head = Project(camera, {8.0f, 0.5f, 0.0f});
    const uint32_t gold = Pixel(alone, static_cast<int>(head.x), static_cast<int>(head.y));
    EXPECT_GT(Channel(gold, 16), 150);
    EXPECT_GT(Channel(gold, 16), Channel(gold, 0) + 60);

    // With its label: two glyphs from half a unit left of the marker, at its top, half a unit nearer.
    marker.m_showLabel = true;
    Begin(camera);
    marker.Render(*engine);
    const std::vector<uint32_t> labelled = EndFrame("standing_marker_label");
    const plat::Vector3 labelTopLeft = Project(camera, {7.5f - 0.4f, 2.0f + 0.4f, -0.5f});
    const plat::Vector3 labelBottomRight = Project(camera, {7.5f + 0.8f / 1.9f + 0.4f, 2.0f - 0.4f, -0.5f});
    Box changed{800.0f, 600.0f, 0.0f, 0.0f};
    int parchment = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const uint32_t now = Pixel(labelled, x, y);
            if (now != Pixel(alone, x, y)) {
                changed = {std::min(changed.left, static_cast<float>(x)),
                           std::min(changed.top, static_cast<float>(y)),
                           std::max(changed.right, static_cast<float>(x + 1)),
                           std::max(changed.bottom, static_cast<float>(y + 1))};
                parchment += Difference(now, 0xFFEADCB4) < 24 ? 1 : 0;
            }
        }
    }
    EXPECT_GT(parchment, 60);
    EXPECT_GE(changed.left, labelTopLeft.x - 1.0f);
    EXPECT_LE(changed.right, labelBottomRight.x + 1.0f);
    EXPECT_GE(changed.top, labelTopLeft.y - 1.0f);
    EXPECT_LE(changed.bottom, labelBottomRight.y + 1.0f);
    EXPECT_GT(changed.right - changed.left, (labelBottomRight.x - labelTopLeft.x) * 0.6f);
    // The next engine's world installs its own again.
    SetTextCameraSource(nullptr);
    g_labelCamera = nullptr;
}

TEST_F(GlScene, OnAWideDisplayThePerspectivePictureKeepsItsProportionsBetweenTheBars) {
    const Image arrow = LoadImage("../Assets/worldarrow.png");
    renderer().SetResolution(1440, 900);
    ASSERT_TRUE(renderer().barsOn);
    KRPerspCamera camera;
    camera.m_pitch = 0.0f; // level, so the standing quad faces the eye
    camera.Update(0.0f);
    WorldObject marker;
    MakeArrow(marker);
    marker.m_standing = 1;
    WorldObject::SetWorldPosition(&marker, {8.0f, 0.5f, 0.0f}, {0.0f, 0.0f, 0.0f}); // at (8, 0, 0)
    marker.m_boundingBox.m_scale[0] = 4.0f;
    marker.m_boundingBox.m_scale[1] = 4.0f;
    Begin(camera);
    marker.Render(*engine);
    const std::vector<uint32_t> pixels = EndFrame("wide_marker");

    // The arrow's own proportions, from its picture over the grey.
    Box own{64.0f, 64.0f, 0.0f, 0.0f};
    for (int y = 0; y < arrow.height; ++y) {
        for (int x = 0; x < arrow.width; ++x) {
            if (Difference(Over(arrow.At(x, y), kGrey), kGrey) > 24) {
                own = {std::min(own.left, static_cast<float>(x)), std::min(own.top, static_cast<float>(y)),
                       std::max(own.right, static_cast<float>(x + 1)),
                       std::max(own.bottom, static_cast<float>(y + 1))};
            }
        }
    }
    const Box ink = Ink(pixels, {120.0f, 0.0f, 1320.0f, 900.0f});
    const float ownRatio = (own.right - own.left) / (own.bottom - own.top);
    const float drawnRatio = (ink.right - ink.left) / (ink.bottom - ink.top);
    EXPECT_NEAR(drawnRatio / ownRatio, 1.0f, 0.05f);
    // Centred in the picture between the bars, which stay black.
    EXPECT_NEAR((ink.left + ink.right) * 0.5f, 720.0f, 3.0f);
    for (int y : {0, 450, 899}) {
        EXPECT_EQ(Pixel(pixels, 0, y), kBlack);
        EXPECT_EQ(Pixel(pixels, 119, y), kBlack);
        EXPECT_EQ(Pixel(pixels, 1320, y), kBlack);
        EXPECT_EQ(Pixel(pixels, 1439, y), kBlack);
    }
}

} // namespace
