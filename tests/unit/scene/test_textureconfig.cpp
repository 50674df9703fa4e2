#include "engine/krfilestamp.h"
#include "scene/krtextureconfig.h"
#include "sprite_support.h"

#include <cmath>
#include <limits>

using namespace spritetest;

namespace {

std::unique_ptr<KRTextureConfig> Parse(const TempAssets& assets, const std::string& type,
                                       const std::string& body) {
    std::string file = assets.Write(type + ".xml", TextureXml(type, body));
    return LoadTypedConfig<KRTextureConfig>(file);
}

TEST_F(SpriteTest, EveryElementIsReadAndSpriteTruncatesTheNumbersTowardZero) {
    std::string image = assets.WritePng("a.png");
    auto config = Parse(assets, "Every",
                        "<File>" + image +
                            "</File><Single>true</Single><Alpha>200</Alpha><Width>100.7</Width>"
                            "<Height>50.2</Height><ScaleX>3.9</ScaleX><ScaleY>2.5</ScaleY>"
                            "<DefaultFrame>4</DefaultFrame><Animation><Run><StartFrame>1</StartFrame>"
                            "<EndFrame>2</EndFrame></Run><Idle><EndFrame>5</EndFrame></Idle></Animation>");
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(config->m_file, image);
    EXPECT_TRUE(config->m_single);
    EXPECT_EQ(config->m_alpha, 200);
    EXPECT_FLOAT_EQ(config->m_scaleX, 3.9f);
    EXPECT_EQ(config->m_defaultFrame, 4);
    ASSERT_EQ(config->m_animations.size(), 2u);
    EXPECT_EQ(config->m_animations[0].m_name, "Run");
    EXPECT_EQ(config->m_animations[1].m_name, "Idle");
    // A missing StartFrame reads as 0.
    EXPECT_EQ(config->m_animations[1].m_startFrame, 0);
    EXPECT_EQ(config->m_animations[1].m_endFrame, 5);
    EXPECT_EQ(config->Describe(),
              config->KRConfig::Describe() + image + "\n1\n200\n100.70\n50.20\n3.90\n2.50\n");

    Sprite sprite(&clock);
    sprite.InitWithXML("../Assets/Every.xml", false);
    EXPECT_EQ(sprite.m_columns, 3u);
    EXPECT_EQ(sprite.m_rows, 2u);
    EXPECT_EQ(sprite.m_width, 100);
    EXPECT_EQ(sprite.m_height, 50);
    EXPECT_EQ(sprite.m_frames.size(), 6u);
    EXPECT_EQ(sprite.m_quad.name, "Quad.200");
    EXPECT_EQ(sprite.m_quad.vertices[0].diffuse, 0xC8FFFFFFu);
}

TEST_F(SpriteTest, SingleTakesOnlyTheExactWords) {
    EXPECT_FALSE(Parse(assets, "S1", "<Single>TRUE</Single>")->m_single);
    EXPECT_TRUE(Parse(assets, "S2", "<Single>true</Single><Single>TRUE</Single>")->m_single);
    EXPECT_TRUE(Parse(assets, "S3", "<Single>true</Single><Single>False</Single>")->m_single);
    EXPECT_FALSE(Parse(assets, "S4", "<Single>true</Single><Single>false</Single>")->m_single);
}

TEST_F(SpriteTest, LeftOutElementsGiveNoQuadOfItsOwnAndAOneFrameGrid) {
    std::string image = assets.WritePng("b.png");
    auto config = Parse(assets, "Sparse", "<File>" + image + "</File>");
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(config->m_alpha, 255);
    EXPECT_TRUE(config->m_animations.empty());
    Sprite sprite(&clock);
    sprite.InitWithXML("../Assets/Sparse.xml", false);
    EXPECT_EQ(sprite.m_textureFile, image);
    EXPECT_EQ(sprite.m_quad.name, "Quad.x");
    EXPECT_EQ(sprite.m_frames, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 0}}));
}

TEST(ConfigNumbers, OutOfRangeNumbersAreClampedInsteadOfUndefined) {
    EXPECT_EQ(ConfigInt("42abc"), 42);
    EXPECT_EQ(ConfigInt(""), 0);
    EXPECT_EQ(ConfigInt("99999999999"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ConfigInt("-99999999999"), std::numeric_limits<int32_t>::min());
    EXPECT_FLOAT_EQ(ConfigFloat(" 3.9"), 3.9f);
    EXPECT_EQ(ConfigFloat("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ConfigFloat("-1e39"), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(ConfigFloat("nan")));
    EXPECT_EQ(ConfigFloat("x"), 0.0f);
}

TEST_F(SpriteTest, AWrongClassInTheCacheIsRefusedWithItsLine) {
    std::string image = assets.WritePng("c.png");
    std::string file = assets.Write("c.xml", TextureXml("Shared", "<File>" + image + "</File>"));
    // Another reader cached a plain configuration for this file and type first.
    ConfigCache::Instance().Offer(std::make_unique<KRConfig>(ReadConfig(file)));
    Sprite sprite(&clock);
    CapturedLog log;
    EXPECT_FALSE(sprite.ApplyTextureConfig(file));
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"Fail to load texture config"}));
    EXPECT_EQ(sprite.m_xmlName, file);
}

// Sprites skip reading files that have not changed; a change made right after a read, at the same
// size and within one tick of the file system's clock, must still be seen.
TEST_F(SpriteTest, AFileChangedInPlaceRightAfterItWasReadIsReadAnew) {
    std::string image = assets.WritePng("r.png");
    auto sheet = [&](const std::string& type, const std::string& width) {
        return assets.Write("r.xml",
                            TextureXml(type, "<File>" + image + "</File><Width>" + width + "</Width>"));
    };
    std::string file = sheet("OldA", "10");
    FileStamp stamp;
    EXPECT_FALSE(SettledFileStamp(file, stamp));
    EXPECT_FALSE(SettledFileStamp(file + ".missing", stamp));
    Sprite first(&clock);
    first.InitWithXML(file, false);
    EXPECT_EQ(first.m_width, 10);
    sheet("NewB", "20");
    Sprite second(&clock);
    second.InitWithXML(file, false);
    EXPECT_EQ(second.m_width, 20);

    // The picture is looked for again too.
    fs::remove(assets.Root() / "Assets" / "r.png");
    Sprite third(&clock);
    CapturedLog log;
    third.InitWithXML(file, false);
    EXPECT_EQ(third.m_textureFile, kDefaultTextureFile);
    EXPECT_TRUE(HasLineStarting(log.Lines(), "Sprite InitWithXML couldn't load"));
}

} // namespace
