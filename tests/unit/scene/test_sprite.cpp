#include "sprite_support.h"

#include <cmath>

using namespace spritetest;
using Frames = std::vector<std::pair<uint32_t, uint32_t>>;
using Lines = std::vector<std::string>;

namespace {

void ExpectUv(const plat::Matrix& m, float u, float v, float expectU, float expectV) {
    auto [mu, mv] = MapUv(m, u, v);
    EXPECT_FLOAT_EQ(mu, expectU) << "u of (" << u << ", " << v << ")";
    EXPECT_FLOAT_EQ(mv, expectV) << "v of (" << u << ", " << v << ")";
}

TEST_F(SpriteTest, TheFrameTableRunsRowByRowAndTheTextureMatrixShowsTheCurrentFrame) {
    Sprite sprite(&clock);
    sprite.InitWithXML(WriteSheet(), false);
    EXPECT_EQ(sprite.m_frames, (Frames{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}));

    sprite.m_currentFrame = 4; // column 1 of row 1
    ExpectUv(sprite.FrameTextureMatrix(), 0.0f, 0.0f, 1.0f / 3.0f, 0.5f);
    ExpectUv(sprite.FrameTextureMatrix(), 1.0f, 1.0f, 2.0f / 3.0f, 1.0f);
    sprite.m_currentFrame = 2;
    ExpectUv(sprite.FrameTextureMatrix(), 1.0f, 1.0f, 1.0f, 0.5f);

    // Past the table the first frame shows.
    sprite.m_currentFrame = 6;
    ExpectUv(sprite.FrameTextureMatrix(), 0.0f, 0.0f, 0.0f, 0.0f);
    ExpectUv(sprite.FrameTextureMatrix(), 1.0f, 1.0f, 1.0f / 3.0f, 0.5f);
}

TEST_F(SpriteTest, AGridBelowOneOrLeftOutShowsTheWholeTextureAsOneFrame) {
    std::string image = assets.WritePng("g.png");
    for (const std::string& grid : {std::string("<ScaleX>0.5</ScaleX>"),
                                    std::string("<ScaleX>0</ScaleX><ScaleY>0.9</ScaleY>"), std::string()}) {
        ConfigCache::Instance().Destroy();
        std::string file = assets.Write("g.xml", TextureXml("Grid", "<File>" + image + "</File>" + grid));
        Sprite sprite(&clock);
        CapturedLog log;
        sprite.InitWithXML(file, false);
        EXPECT_EQ(log.Lines(), Lines{}) << grid;
        EXPECT_EQ(sprite.m_textureFile, image);
        EXPECT_EQ(sprite.m_columns, 1u);
        EXPECT_EQ(sprite.m_rows, 1u);
        EXPECT_EQ(sprite.m_frames, (Frames{{0, 0}}));
        ExpectUv(sprite.FrameTextureMatrix(), 1.0f, 1.0f, 1.0f, 1.0f);
        // A zero grid however it came about must never reach the matrix as a division.
        sprite.m_columns = 0;
        sprite.m_rows = 0;
        ExpectUv(sprite.FrameTextureMatrix(), 0.5f, 0.5f, 0.5f, 0.5f);
    }
}

TEST_F(SpriteTest, ReapplyingRebuildsTheTableButKeepsThePlayAndTheKnownRanges) {
    Sprite sprite(&clock);
    sprite.InitWithXML(WriteSheet(), false);
    ASSERT_TRUE(sprite.SetAnimation("Walk"));
    sprite.m_currentFrame = 3;

    std::string image = assets.WritePng("flash.png");
    std::string flash = assets.Write(
        "flash.xml", TextureXml("Flash", "<File>" + image +
                                             "</File><ScaleX>1</ScaleX><ScaleY>2</ScaleY><Animation>"
                                             "<Walk><StartFrame>0</StartFrame><EndFrame>0</EndFrame></Walk>"
                                             "<Jump><StartFrame>0</StartFrame><EndFrame>1</EndFrame></Jump>"
                                             "<Jump><StartFrame>1</StartFrame><EndFrame>1</EndFrame></Jump>"
                                             "</Animation>"));
    ASSERT_TRUE(sprite.ApplyTextureConfig(flash));
    EXPECT_EQ(sprite.m_xmlName, flash);
    EXPECT_EQ(sprite.m_textureFile, image);
    EXPECT_EQ(sprite.m_frames, (Frames{{0, 0}, {0, 1}}));
    EXPECT_TRUE(sprite.m_playing);
    EXPECT_EQ(sprite.m_currentFrame, 3u);
    EXPECT_EQ(sprite.m_startFrame, 1u);
    EXPECT_EQ(sprite.m_endFrame, 3u);
    EXPECT_EQ(sprite.m_animations.at("Walk").m_startFrame, 1);
    EXPECT_EQ(sprite.m_animations.at("Walk").m_endFrame, 3);
    // The first of two elements of one name wins as well.
    EXPECT_EQ(sprite.m_animations.at("Jump").m_startFrame, 0);
    EXPECT_EQ(sprite.m_animations.at("Jump").m_endFrame, 1);
    EXPECT_EQ(sprite.m_animations.count("Blink"), 1u);
    // Frame 3 is past the new table of two: the first frame shows.
    ExpectUv(sprite.FrameTextureMatrix(), 1.0f, 1.0f, 1.0f, 0.5f);
}

TEST_F(SpriteTest, SetAnimationStartsANamedRangeAndRefusesAnUnknownName) {
    Sprite sprite(&clock);
    sprite.InitWithXML(WriteSheet(), false);
    sprite.m_oneShot = true;
    sprite.m_currentFrame = 2;
    EXPECT_FALSE(sprite.SetAnimation("walk"));
    EXPECT_FALSE(sprite.m_playing);
    EXPECT_EQ(sprite.m_currentFrame, 2u);
    ASSERT_TRUE(sprite.SetAnimation("Blink"));
    EXPECT_TRUE(sprite.m_playing);
    EXPECT_EQ(sprite.m_currentFrame, 5u);
    EXPECT_EQ(sprite.m_startFrame, 5u);
    EXPECT_EQ(sprite.m_endFrame, 5u);
    EXPECT_TRUE(sprite.m_oneShot);
}

class SpriteAnimation : public SpriteTest {
  protected:
    void SetUp() override {
        SpriteTest::SetUp();
        clock.now = 1000;
        sprite.InitWithXML(WriteSheet(), false);
    }
    // Lets the clock run, then takes one animation step with a running game delta.
    uint32_t Step(uint64_t milliseconds) {
        clock.now += milliseconds;
        sprite.Animate(&delta);
        return sprite.m_currentFrame;
    }

    Sprite sprite{&clock};
    float delta = 0.016f;
};

TEST_F(SpriteAnimation, ALoopAdvancesOneFramePerCallOnTheWallClockAndWrapsToItsStart) {
    ASSERT_TRUE(sprite.SetAnimation("Walk"));
    EXPECT_EQ(Step(40), 1u);
    EXPECT_EQ(Step(20), 2u);
    // The timer was just reset: a second call in the same frame does nothing.
    EXPECT_EQ(Step(0), 2u);
    // However long the stall, one call takes one step.
    EXPECT_EQ(Step(900), 3u);
    EXPECT_EQ(Step(60), 1u);
    EXPECT_TRUE(sprite.m_playing);
}

TEST_F(SpriteAnimation, AZeroDeltaFreezesAndAStoppedSpriteStaysPut) {
    ASSERT_TRUE(sprite.SetAnimation("Walk"));
    float paused = 0.0f;
    clock.now += 200;
    sprite.Animate(&paused);
    sprite.Animate(nullptr);
    EXPECT_EQ(sprite.m_currentFrame, 1u);
    // The pause did not reset the timer: the time it lasted counts at the next step.
    EXPECT_EQ(Step(0), 2u);

    sprite.StopAnimation();
    EXPECT_EQ(sprite.m_currentFrame, 0u);
    EXPECT_FALSE(sprite.m_playing);
    EXPECT_EQ(Step(500), 0u);
}

TEST_F(SpriteAnimation, AOneShotWithoutHoldEndsOnFrameZeroStopped) {
    sprite.m_oneShot = true;
    ASSERT_TRUE(sprite.SetAnimation("Walk"));
    EXPECT_EQ(Step(60), 2u);
    EXPECT_EQ(Step(60), 3u);
    EXPECT_TRUE(sprite.m_playing);
    EXPECT_EQ(Step(60), 0u);
    EXPECT_FALSE(sprite.m_playing);
    EXPECT_FALSE(sprite.m_oneShot);
    EXPECT_FALSE(sprite.m_hold);
}

TEST_F(SpriteAnimation, AOneShotWithHoldEndsOnItsLastFrameAndClearsBothFlags) {
    sprite.m_oneShot = true;
    sprite.m_hold = true;
    ASSERT_TRUE(sprite.SetAnimation("Walk"));
    Step(60);
    Step(60);
    EXPECT_EQ(Step(60), 3u);
    EXPECT_FALSE(sprite.m_playing);
    EXPECT_FALSE(sprite.m_oneShot);
    EXPECT_FALSE(sprite.m_hold);
    EXPECT_EQ(Step(60), 3u);
}

TEST_F(SpriteAnimation, HoldWithoutOneShotStaysOnTheLastFrameStillPlaying) {
    sprite.m_hold = true;
    ASSERT_TRUE(sprite.SetAnimation("Walk"));
    Step(60);
    Step(60);
    EXPECT_EQ(Step(60), 3u);
    EXPECT_EQ(Step(60), 3u);
    EXPECT_TRUE(sprite.m_playing);
    EXPECT_TRUE(sprite.m_hold);
    sprite.StopAnimation();
    EXPECT_EQ(sprite.m_currentFrame, 3u);
    EXPECT_FALSE(sprite.m_playing);
}

TEST_F(SpriteTest, EachFadeLevelDrawsWithItsSharedQuadAndOthersDrawNothing) {
    Sprite sprite(&clock);
    sprite.InitWithXML(WriteSheet(), false);
    sprite.Load(*engine);
    sprite.m_currentFrame = 4;
    const std::pair<int32_t, std::string> levels[] = {
        {0, "Quad.0"}, {1, "Quad.190"}, {2, "Quad.127"}, {3, "Quad.63"}};
    for (const auto& [level, quad] : levels) {
        sprite.m_fadeLevel = level;
        size_t before = device->spyDraws.size();
        CapturedLog log;
        sprite.Draw(*engine);
        EXPECT_EQ(log.Lines(), Lines{}) << level;
        EXPECT_EQ(sprite.m_quad.name, quad);
        ASSERT_EQ(device->spyDraws.size(), before + 1) << level;
        EXPECT_EQ(device->draws.back().vertices, renderer().geometry.Entries().at(quad).vertexBuffer.get());
        EXPECT_EQ(device->spyDraws.back().texture,
                  renderer().textures.Entries().at(sprite.m_textureFile).texture.get());
        EXPECT_EQ(device->spyDraws.back().texture0, sprite.FrameTextureMatrix());
    }
    for (int32_t level : {4, -1}) {
        sprite.m_fadeLevel = level;
        size_t before = device->spyDraws.size();
        CapturedLog log;
        sprite.Draw(*engine);
        EXPECT_EQ(log.Lines(), (Lines{"Couldn't find geometry: Quad.255", "Failed to draw geometry."}));
        EXPECT_EQ(device->spyDraws.size(), before);
    }
}

TEST_F(SpriteTest, ALaidFlatSpriteRotatesTheCallersWorldAndPutsItBack) {
    Sprite sprite(&clock);
    sprite.InitWithXML(WriteSheet(), false);
    sprite.Load(*engine);
    sprite.m_layFlat = true;
    const plat::Matrix callerWorld = plat::D3DXMatrixTranslation(5.0f, 0.0f, -2.0f);
    device->SetTransform(plat::kTsWorld, callerWorld);
    sprite.Draw(*engine);
    ASSERT_EQ(device->spyDraws.size(), 1u);
    const plat::Matrix& drawn = device->spyDraws[0].world;
    // The quad's up (+y) now points along +z, and the caller's translation still applies last.
    EXPECT_NEAR(drawn(1, 2), 1.0f, 1e-6f);
    EXPECT_NEAR(drawn(1, 1), 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(drawn(3, 0), 5.0f);
    EXPECT_FLOAT_EQ(drawn(3, 2), -2.0f);
    EXPECT_EQ(device->transforms[plat::kTsWorld], callerWorld);

    device->failGetTransform = true;
    CapturedLog log;
    sprite.Draw(*engine);
    EXPECT_EQ(log.Lines(), (Lines{"Failed to get world transform to rotate"}));
    EXPECT_EQ(device->spyDraws.size(), 1u);
}

TEST_F(SpriteTest, ABillboardFacesItsDirectionAtItsPositionEvenWhenFacingStraightUp) {
    Sprite sprite(&clock);
    sprite.InitWithXML(WriteSheet(), true);
    sprite.Load(*engine);
    sprite.m_position = {1.0f, 2.0f, 3.0f};
    sprite.m_scale[0] = 2.0f;
    sprite.m_scale[1] = 4.0f;
    // The caller's world is replaced, not composed.
    device->SetTransform(plat::kTsWorld, plat::D3DXMatrixTranslation(100.0f, 100.0f, 100.0f));
    sprite.m_facing = {1.0f, 0.0f, 0.0f};
    sprite.Draw(*engine);
    sprite.m_facing = {0.0f, 1.0f, 0.0f};
    sprite.Draw(*engine);
    ASSERT_EQ(device->spyDraws.size(), 2u);
    for (const SpyDraw& draw : device->spyDraws) {
        EXPECT_FLOAT_EQ(draw.world(3, 0), 1.0f);
        EXPECT_FLOAT_EQ(draw.world(3, 1), 2.0f);
        EXPECT_FLOAT_EQ(draw.world(3, 2), 3.0f);
        // The quad keeps its size: rows 0 and 1 are the scaled axes.
        EXPECT_NEAR(std::hypot(draw.world(0, 0), draw.world(0, 1), draw.world(0, 2)), 2.0f, 1e-5f);
        EXPECT_NEAR(std::hypot(draw.world(1, 0), draw.world(1, 1), draw.world(1, 2)), 4.0f, 1e-5f);
    }
    // Facing up, the up vector becomes -z; with +y the orientation would be undefined.
    const plat::Matrix expected = plat::D3DXMatrixLookAtLH({0, 0, 0}, {0, 1, 0}, {0, 0, -1});
    EXPECT_NEAR(device->spyDraws[1].world(0, 0), 2.0f * expected(0, 0), 1e-6f);
    EXPECT_NEAR(device->spyDraws[1].world(1, 2), 4.0f * expected(1, 2), 1e-6f);
}

TEST_F(SpriteTest, ATextureThatIsNotResidentBindsTheDefaultAndDrawsNothing) {
    Sprite sprite(&clock);
    sprite.InitWithXML(WriteSheet(), false);
    CapturedLog log;
    sprite.Draw(*engine);
    EXPECT_EQ(log.Lines(), (Lines{"Couldn't find texture: ../Assets/sheet.png", "Failed to set texture.",
                                  "Setting default texture. "}));
    EXPECT_TRUE(device->spyDraws.empty());
    EXPECT_EQ(device->texture, renderer().textures.Entries().at(kDefaultTextureFile).texture.get());
}

TEST_F(SpriteTest, LoadMakesTextureAndQuadResidentOnceEach) {
    Sprite sprite(&clock);
    std::string image = assets.WritePng("a.png");
    sprite.InitWithXML(assets.Write("a.xml", TextureXml("A", "<File>" + image + "</File><Alpha>40</Alpha>")),
                       false);
    sprite.Load(*engine);
    CapturedLog log;
    sprite.Load(*engine);
    EXPECT_EQ(log.Lines(), (Lines{"texture " + image + " is already loaded."}));
    EXPECT_EQ(renderer().textures.Entries().at(image).count, 2);
    EXPECT_EQ(renderer().geometry.Entries().at("Quad.40").count, 2);
    EXPECT_EQ(renderer().geometry.Entries().at("Quad.40").desc.vertices[2].diffuse, 0x28FFFFFFu);
}

TEST_F(SpriteTest, AnImageTheDeviceCannotReadIsShownAsTheDefaultTexture) {
    Sprite sprite(&clock);
    sprite.InitWithXML(WriteSheet(), false);
    device->missingFiles.insert("../Assets/sheet.png");
    CapturedLog log;
    sprite.Load(*engine);
    sprite.Draw(*engine);
    EXPECT_EQ(log.Lines(), (Lines{"Couldn't load texture ../Assets/sheet.png",
                                  "texture ../Assets/defaulttexture.png is already loaded."}));
    EXPECT_EQ(sprite.m_textureFile, kDefaultTextureFile);
    EXPECT_EQ(sprite.m_frames, (Frames{{0, 0}}));
    ASSERT_EQ(device->spyDraws.size(), 1u);
    EXPECT_EQ(device->spyDraws[0].texture,
              renderer().textures.Entries().at(kDefaultTextureFile).texture.get());
}

TEST_F(SpriteTest, AConfigurationObjectAlreadyReadConfiguresTheSameWay) {
    Sprite sprite(&clock);
    sprite.InitWithXMLConfigObject(ReadConfig(WriteSheet()), false);
    EXPECT_EQ(sprite.m_frames.size(), 6u);
    EXPECT_EQ(sprite.m_animations.size(), 2u);

    Sprite fallback(&clock);
    CapturedLog log;
    fallback.InitWithXMLConfigObject(KRConfig(kConfigErrorFile, "", ""), true);
    EXPECT_EQ(log.Lines(), (Lines{"Sprite InitWithXMLConfigObject couldn't load ERROR"}));
    EXPECT_EQ(fallback.m_textureFile, kDefaultTextureFile);
    EXPECT_TRUE(fallback.m_billboard);
}

} // namespace
