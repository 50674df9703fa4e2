// The sprite font: the glyph frames of a text, the fixed advance, HUD text under the HUD camera and
// world text under the applied camera.
#include "test_gameobject_support.h"

#include "scene/hudtext.h"
#include "scene/krcamera.h"

#include <climits>

using namespace scenetest;

namespace {

constexpr uint32_t kFrames = kGlyphColumns * kGlyphRows;
constexpr uint32_t kLastFrame = kFrames - 1;

using Font = SceneTest;

std::vector<uint32_t> Frames(const HudTextBlock& block) {
    std::vector<uint32_t> frames;
    for (const KRFont& glyph : block.m_glyphs) {
        frames.push_back(glyph.m_sprite.m_currentFrame);
    }
    return frames;
}

TEST_F(Font, APrototypeGlyphIsAGameObjectOfTheFontSheet) {
    KRFont font(kFontsFile);
    EXPECT_EQ(font.m_name, "KRFont");
    EXPECT_EQ(font.m_sprite.m_frames.size(), kFrames);
    EXPECT_TRUE(font.m_text.empty());

    HudTextBlock block;
    EXPECT_TRUE(block.m_text.empty());
    EXPECT_TRUE(block.m_glyphs.empty());
    EXPECT_FLOAT_EQ(block.m_size, 0.27f);
    EXPECT_EQ(block.m_worldFlag, 0);
    EXPECT_EQ(block.m_font.m_sprite.m_xmlName, kFontsFile);
}

TEST_F(Font, TheTextAThenASpaceThenBGivesThreeGlyphsAndTheSpaceIsTheLastFrame) {
    HudTextBlock block;
    block.SetText("A B", {4.0f, 5.0f, 6.0f});
    EXPECT_EQ(block.m_text, "A B");
    ExpectVectorNear(block.m_origin, {4.0f, 5.0f, 6.0f}, 0.0f);
    EXPECT_EQ(Frames(block), (std::vector<uint32_t>{32, kLastFrame, 33}));
    for (size_t i = 0; i < block.m_glyphs.size(); ++i) {
        const BoundingBox& box = block.m_glyphs[i].m_boundingBox;
        ExpectVectorNear(box.m_position, {static_cast<float>(i), 5.0f, 6.0f}, 0.0f);
        EXPECT_EQ(box.m_scale[0], 1.0f);
        EXPECT_EQ(box.m_scale[1], 1.0f);
        EXPECT_EQ(block.m_glyphs[i].m_name, "KRFont");
    }
    // The glyphs are the prototype's copies: the prototype keeps showing its own frame.
    EXPECT_EQ(block.m_font.m_sprite.m_currentFrame, 0u);

    // A new text replaces every glyph; an empty one leaves none.
    block.SetText("~!", {0.0f, 0.0f, 0.0f});
    EXPECT_EQ(Frames(block), (std::vector<uint32_t>{93, 0}));
    block.SetText("", {0.0f, 0.0f, 0.0f});
    EXPECT_TRUE(block.m_glyphs.empty());
    block.DrawText(*engine, {});
    EXPECT_TRUE(device->sceneDraws.empty());
}

TEST_F(Font, CharactersOutsideThirtyThreeToOneTwentySevenLandPastTheSheetAndShowItsFirstFrame) {
    EXPECT_EQ(HudTextBlock::GlyphFrame('!', kFrames), 0u);
    EXPECT_EQ(HudTextBlock::GlyphFrame('\x7f', kFrames), 94u);
    EXPECT_EQ(HudTextBlock::GlyphFrame(' ', kFrames), kLastFrame);
    EXPECT_EQ(HudTextBlock::GlyphFrame('\n', kFrames), static_cast<uint32_t>(10 - 33));
    EXPECT_EQ(HudTextBlock::GlyphFrame('\x80', kFrames), static_cast<uint32_t>(-128 - 33));
    EXPECT_EQ(HudTextBlock::GlyphFrame('\xff', kFrames), static_cast<uint32_t>(-1 - 33));
    EXPECT_EQ(HudTextBlock::GlyphFrame('\0', kFrames), static_cast<uint32_t>(-33));
    // A sheet without frames has no last frame to give the space.
    EXPECT_EQ(HudTextBlock::GlyphFrame(' ', 0), 0u);

    HudTextBlock block;
    block.m_worldFlag = 1;
    const std::string text = std::string("\t\n\x1f\x80\xe9\xff", 6) + "A";
    block.SetText(text, {0.0f, 0.0f, 0.0f});
    ASSERT_EQ(block.m_glyphs.size(), text.size());
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        EXPECT_GE(block.m_glyphs[i].m_sprite.m_currentFrame, kFrames) << i;
    }
    block.DrawText(*engine, {});
    ASSERT_EQ(device->sceneDraws.size(), text.size());
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        EXPECT_EQ(ShownFrame(device->sceneDraws[i].texture0, kGlyphColumns, kGlyphRows), std::make_pair(0, 0))
            << i;
    }
    // 'A' is frame 32: the first column of the third row.
    EXPECT_EQ(ShownFrame(device->sceneDraws.back().texture0, kGlyphColumns, kGlyphRows),
              std::make_pair(0, 2));
}

TEST_F(Font, WorldTextAdvancesByTheSizeOverOnePointNineAndStandsUpright) {
    KRPerspCamera active;
    active.Update(0.0f);
    HudTextBlock block;
    block.m_worldFlag = 1;
    block.SetText("AB C", {0.0f, 0.0f, 0.0f});
    block.m_origin = {1.0f, 2.0f, 3.0f};
    block.DrawText(*engine, {nullptr, &active});

    plat::Matrix activeView;
    active.BuildViewMatrix(activeView);
    const float advance = 0.27f / 1.9f;
    ASSERT_EQ(device->sceneDraws.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const SceneDraw& draw = device->sceneDraws[i];
        const float x = 1.0f + static_cast<float>(i) * advance;
        EXPECT_EQ(draw.world, Rows({{{0.27f, 0, 0, 0}, {0, 0.27f, 0, 0}, {0, 0, 1, 0}, {x, 2, 3, 1}}})) << i;
        // Every glyph after the first is drawn with the active camera, applied again after each.
        if (i > 0) {
            EXPECT_EQ(draw.view, activeView) << i;
        }
        EXPECT_EQ(block.m_glyphs[i].m_rotationMatrix, plat::D3DXMatrixIdentity());
    }
    EXPECT_FLOAT_EQ(advance, 0.14210527f);
    EXPECT_EQ(Frames(block), (std::vector<uint32_t>{32, 33, kLastFrame, 34}));
    EXPECT_EQ(device->transforms[plat::kTsView], activeView);
}

TEST_F(Font, HudTextLiesFlatUnderTheHudCameraAndFollowsItsEye) {
    KROrthoCamera hud;
    hud.Translate({2.0f, 0.0f, -1.0f}); // eye (2, 10, -1)
    KRPerspCamera active;
    active.Update(0.0f);
    HudTextBlock block;
    block.m_size = 0.5f;
    block.SetText("Hi", {-3.0f, 3.0f, 4.0f});
    block.DrawText(*engine, {&hud, &active});

    plat::Matrix hudView;
    plat::Matrix hudProjection;
    plat::Matrix activeView;
    plat::Matrix activeProjection;
    hud.BuildViewMatrix(hudView);
    hud.BuildProjectionMatrix(hudProjection, engine->m_display);
    active.BuildViewMatrix(activeView);
    active.BuildProjectionMatrix(activeProjection, engine->m_display);

    ASSERT_EQ(device->sceneDraws.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const SceneDraw& draw = device->sceneDraws[i];
        // Scale, the Y/Z swap, then the origin plus the advance and the HUD camera's eye x and z.
        const float x = -3.0f + static_cast<float>(i) * (0.5f / 1.9f) + 2.0f;
        ExpectMatrixNear(draw.world, Rows({{{0.5f, 0, 0, 0}, {0, 0, 0.5f, 0}, {0, 1, 0, 0}, {x, 3, 3, 1}}}),
                         0.0f);
        EXPECT_EQ(draw.view, hudView) << i;
        EXPECT_EQ(draw.projection, hudProjection) << i;
        // The glyph's top edge is up on the screen: +z is screen up under the HUD camera.
        const plat::Vector3 top = Apply(plat::D3DXMatrixMultiply(draw.world, hudView), {0.0f, 0.5f, 0.0f});
        const plat::Vector3 bottom =
            Apply(plat::D3DXMatrixMultiply(draw.world, hudView), {0.0f, -0.5f, 0.0f});
        EXPECT_GT(top.y, bottom.y);
    }
    // The HUD camera's eye sits over (2, -1): the first glyph, at (-1, 3), is 3 left of it and 4 above it.
    ExpectVectorNear(
        Apply(plat::D3DXMatrixMultiply(device->sceneDraws[0].world, hudView), {0.0f, 0.0f, 0.0f}),
        {-3.0f, 4.0f, 7.0f});
    // The world's camera is back for whatever is drawn next.
    EXPECT_EQ(device->transforms[plat::kTsView], activeView);
    EXPECT_EQ(device->transforms[plat::kTsProjection], activeProjection);
}

TEST_F(Font, WithoutAHudCameraHudTextStillLiesFlatAndNothingIsAppliedAfterIt) {
    const plat::Matrix marker = plat::D3DXMatrixTranslation(0.0f, 42.0f, 0.0f);
    device->SetTransform(plat::kTsView, marker);
    HudTextBlock block;
    block.SetText("x", {1.0f, 2.0f, 3.0f});
    block.DrawText(*engine, {});
    ASSERT_EQ(device->sceneDraws.size(), 1u);
    ExpectMatrixNear(device->sceneDraws[0].world,
                     Rows({{{0.27f, 0, 0, 0}, {0, 0, 0.27f, 0}, {0, 1, 0, 0}, {1, 2, 3, 1}}}), 0.0f);
    EXPECT_EQ(device->transforms[plat::kTsView], marker);
}

TEST_F(Font, DrawingThroughTheEngineFindsTheCamerasOfTheInstalledSource) {
    static KROrthoCamera* hud = nullptr;
    static KRPerspCamera* active = nullptr;
    KROrthoCamera hudCamera;
    hudCamera.Translate({1.0f, 0.0f, 0.0f});
    KRPerspCamera activeCamera;
    hud = &hudCamera;
    active = &activeCamera;

    HudTextBlock block;
    block.SetText("ok", {0.0f, 0.0f, 0.0f});
    // No source: no camera at all, the text under whatever is applied.
    SetTextCameraSource(nullptr);
    block.DrawText(*engine);
    ASSERT_EQ(device->sceneDraws.size(), 2u);
    EXPECT_FLOAT_EQ(device->sceneDraws[0].world(3, 0), 0.0f);

    SetTextCameraSource([](Engine&) { return TextCameras{hud, active}; });
    block.DrawText(*engine);
    SetTextCameraSource(nullptr);
    ASSERT_EQ(device->sceneDraws.size(), 4u);
    plat::Matrix hudView;
    plat::Matrix activeView;
    hudCamera.BuildViewMatrix(hudView);
    activeCamera.BuildViewMatrix(activeView);
    EXPECT_FLOAT_EQ(device->sceneDraws[2].world(3, 0), 1.0f);
    EXPECT_EQ(device->sceneDraws[2].view, hudView);
    EXPECT_EQ(device->transforms[plat::kTsView], activeView);
}

TEST_F(Font, ACopiedBlockOwnsItsGlyphs) {
    HudTextBlock block("abc");
    HudTextBlock copy = block;
    copy.SetText("z", {0.0f, 0.0f, 0.0f});
    EXPECT_EQ(block.m_text, "abc");
    EXPECT_EQ(Frames(block), (std::vector<uint32_t>{64, 65, 66}));
    EXPECT_EQ(Frames(copy), (std::vector<uint32_t>{89}));
}

// The committed sheets, as the game reads them.
class FontContent : public testing::Test {
  protected:
    void SetUp() override {
        ConfigCache::Instance().Destroy();
        plat::Install({&window, &clock, &messageBox});
        std::string pattern = (spritetest::fs::temp_directory_path() / "thornvale-fonts-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = pattern;
        spritetest::fs::create_directories(root / "run");
        spritetest::fs::create_directory_symlink(
            spritetest::fs::path(__FILE__).parent_path() / "../../../Assets", root / "Assets");
        previous = spritetest::fs::current_path();
        spritetest::fs::current_path(root / "run");
    }
    void TearDown() override {
        std::error_code error;
        spritetest::fs::current_path(previous, error);
        spritetest::fs::remove_all(root, error);
        plat::Install({});
        ConfigCache::Instance().Destroy();
    }

    spritetest::fs::path root;
    spritetest::fs::path previous;
    plat::NullWindow window;
    plat::ManualClock clock;
    plat::RecordingMessageBox messageBox;
};

TEST_F(FontContent, EveryFontSheetHoldsTheCharactersFromExclamationToTildeAndABlankLastFrame) {
    const char* const files[] = {"../Assets/fonts.xml", "../Assets/Fonts/bluewhite_font.xml",
                                 "../Assets/Fonts/blackred_font.xml", "../Assets/Fonts/purple_font.xml",
                                 "../Assets/Fonts/green_font.xml"};
    CapturedLog log;
    for (const char* file : files) {
        KRFont font(file);
        EXPECT_EQ(font.m_sprite.m_xmlName, file);
        EXPECT_NE(font.m_sprite.m_textureFile, kDefaultTextureFile) << file;
        EXPECT_EQ(font.m_sprite.m_frames.size(), kFrames) << file;
        EXPECT_EQ(font.m_sprite.m_columns, kGlyphColumns) << file;
    }
    for (const std::string& line : log.Lines()) {
        ADD_FAILURE() << line;
    }
    // Each sheet has a type of its own; the bounding-box sprite adds one more.
    EXPECT_EQ(ConfigCache::Instance().Size(), 6u);
}

} // namespace
