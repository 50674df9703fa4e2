// The committed content, read from the repository's Assets folder as the game reads it.
#include "sprite_support.h"

using namespace spritetest;
using Lines = std::vector<std::string>;

namespace {

using Content = CommittedContentTest;

TEST_F(Content, StartUpLeavesTheFadeQuadsAndTheOverlayResidentWithoutAFailure) {
    Engine engine;
    CapturedLog log;
    ASSERT_TRUE(engine.Init(&window, &idle));
    Lines lines = log.Lines();
    EXPECT_EQ(FailureLines(lines), Lines{});
    const Renderer& renderer = *engine.m_display.renderer;
    // Four loads of one sheet and one of the overlay; the texture-folder scan adds one more to each.
    const int32_t sheet = renderer.textures.Entries().at("../Assets/krbcspr.png").count;
    const int32_t overlay = renderer.textures.Entries().at("../Assets/overlay.png").count;
    EXPECT_GE(sheet, 4);
    EXPECT_EQ(sheet - overlay, 3);
    for (const char* quad : {"Quad.190", "Quad.127", "Quad.63", "Quad.0"}) {
        EXPECT_EQ(renderer.geometry.Entries().count(quad), 1u) << quad;
    }
    EXPECT_EQ(renderer.geometry.Entries().at("Quad.190").desc.vertices[0].diffuse, 0xBEFFFFFFu);
}

TEST_F(Content, EveryGeneratedConfigurationGivesWhatItsOwnersNeed) {
    CapturedLog log;
    Sprite fade(&clock);
    fade.InitWithXML("../Assets/Textures/FadeAnimation/fade.xml", false);
    Sprite aura(&clock);
    aura.InitWithXML("../Assets/krbcspr.xml", false);
    Sprite fallback(&clock);
    fallback.InitWithXML("../Assets/defaulttexture.xml", false);
    Sprite overlay(&clock);
    overlay.InitWithXML("../Assets/overlay.xml", false);
    EXPECT_EQ(FailureLines(log.Lines()), Lines{});

    // The fader shows frame 0 before any fade, darkens from it and ends its unfade on a frame of its own.
    ASSERT_EQ(fade.m_animations.count("FadeToBlack"), 1u);
    ASSERT_EQ(fade.m_animations.count("UnfadeFromBlack"), 1u);
    EXPECT_EQ(fade.m_animations.at("FadeToBlack").m_startFrame, 0);
    const Animation& unfade = fade.m_animations.at("UnfadeFromBlack");
    EXPECT_GT(unfade.m_startFrame, fade.m_animations.at("FadeToBlack").m_endFrame);
    EXPECT_EQ(static_cast<size_t>(unfade.m_endFrame), fade.m_frames.size() - 1);

    for (const char* name : {"AuraRed", "AuraOrange", "AuraYellow", "AuraGreen", "AuraBlue", "AuraIndigo",
                             "AuraViolet", "AuraBlack", "AuraNone"}) {
        EXPECT_EQ(aura.m_animations.count(name), 1u) << name;
    }
    EXPECT_EQ(fallback.m_textureFile, kDefaultTextureFile);
    EXPECT_EQ(fallback.m_width, 64);
    EXPECT_EQ(overlay.m_textureFile, "../Assets/overlay.png");
    // Each file carries a type of its own, so the cache never hands one file's values to another.
    EXPECT_EQ(ConfigCache::Instance().Size(), 4u);
}

} // namespace
