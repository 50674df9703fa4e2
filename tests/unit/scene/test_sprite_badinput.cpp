// Broken texture configurations: each is logged and the sprite draws the default texture instead.
#include "sprite_support.h"

using namespace spritetest;
using Lines = std::vector<std::string>;

namespace {

struct BadCase {
    const char* what;
    std::string body; // "$PNG" stands for a valid image
    std::string reason;
};

std::string Expand(std::string body, const std::string& image) {
    for (size_t at = body.find("$PNG"); at != std::string::npos; at = body.find("$PNG")) {
        body.replace(at, 4, image);
    }
    return body;
}

const std::string kAnimation =
    "<Animation><Run><StartFrame>%S</StartFrame><EndFrame>%E</EndFrame></Run></Animation>";

std::string RunAnimation(const std::string& start, const std::string& end) {
    std::string out = kAnimation;
    out.replace(out.find("%S"), 2, start);
    out.replace(out.find("%E"), 2, end);
    return out;
}

TEST_F(SpriteTest, BrokenConfigurationsAreLoggedAndDrawnWithTheDefaultTexture) {
    assets.Write("gif.png", "GIF89a\x01\x00\x01\x00");
    assets.Write("short.png", "\x89PN");
    const BadCase cases[] = {
        {"missing image", "<File>../Assets/nothing.png</File>", "no image ../Assets/nothing.png"},
        {"no File element", "<ScaleX>2</ScaleX>", "no image "},
        {"not a PNG", "<File>../Assets/gif.png</File>", "image ../Assets/gif.png is not a PNG"},
        {"cut-off PNG", "<File>../Assets/short.png</File>", "image ../Assets/short.png is not a PNG"},
        {"a folder as image", "<File>../Assets</File>", "image ../Assets is not a PNG"},
        {"negative columns", "<File>$PNG</File><ScaleX>-3</ScaleX>", "frame grid -3.00 x 0.00"},
        {"negative rows", "<File>$PNG</File><ScaleX>2</ScaleX><ScaleY>-0.5</ScaleY>",
         "frame grid 2.00 x -0.50"},
        {"huge columns", "<File>$PNG</File><ScaleX>1e9</ScaleX>", "frame grid 1000000000.00 x 0.00"},
        {"infinite rows", "<File>$PNG</File><ScaleY>1e40</ScaleY>", "frame grid 0.00 x inf"},
        {"no number", "<File>$PNG</File><ScaleX>nan</ScaleX>", "frame grid nan x 0.00"},
        {"huge grid", "<File>$PNG</File><ScaleX>4096</ScaleX><ScaleY>4096</ScaleY>",
         "frame grid 4096.00 x 4096.00"},
        {"huge width", "<File>$PNG</File><Width>1e20</Width>", "Width or Height is not a size"},
        {"negative alpha", "<File>$PNG</File><Alpha>-4</Alpha>", "Alpha -4"},
    };
    std::string image = assets.WritePng("fine.png");
    int n = 0;
    for (const BadCase& bad : cases) {
        SCOPED_TRACE(bad.what);
        std::string file = assets.Write("bad" + std::to_string(n) + ".xml",
                                        TextureXml("Bad" + std::to_string(n), Expand(bad.body, image)));
        ++n;
        Sprite sprite(&clock);
        CapturedLog log;
        sprite.InitWithXML(file, false);
        sprite.Load(*engine);
        sprite.SetAnimation("Run");
        sprite.Draw(*engine);
        Lines lines = log.Lines();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[0], "Bad texture config " + file + ": " + bad.reason);
        EXPECT_EQ(lines[1], "Sprite InitWithXML couldn't load " + file);
        EXPECT_EQ(sprite.m_xmlName, file);
        EXPECT_EQ(sprite.m_textureFile, kDefaultTextureFile);
        EXPECT_EQ(sprite.m_frames, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 0}}));
        EXPECT_TRUE(sprite.m_animations.empty());
        ASSERT_FALSE(device->spyDraws.empty());
        EXPECT_EQ(device->spyDraws.back().texture,
                  renderer().textures.Entries().at(kDefaultTextureFile).texture.get());
        device->spyDraws.clear();
    }
}

TEST_F(SpriteTest, UnreadableFilesFallBackAfterTheReadersOwnLine) {
    std::string image = assets.WritePng("fine.png");
    const std::pair<const char*, std::string> files[] = {
        {"missing file", "../Assets/missing.xml"},
        {"not XML", assets.Write("garbage.xml", "<Texture type=\"G\"><File>")},
        {"empty", assets.Write("empty.xml", "")},
    };
    for (const auto& [what, file] : files) {
        SCOPED_TRACE(what);
        Sprite sprite(&clock);
        CapturedLog log;
        sprite.InitWithXML(file, false);
        Lines lines = log.Lines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "Sprite InitWithXML couldn't load " + file);
        EXPECT_EQ(sprite.m_textureFile, kDefaultTextureFile);
        EXPECT_EQ(sprite.m_width, 64);
        EXPECT_EQ(sprite.m_height, 64);
        EXPECT_EQ(sprite.m_frames.size(), 1u);
    }
}

TEST_F(SpriteTest, ARefusedReapplyLeavesTheSpriteAsItWasButRecordsTheName) {
    Sprite sprite(&clock);
    std::string sheet = WriteSheet();
    sprite.InitWithXML(sheet, false);
    ASSERT_TRUE(sprite.SetAnimation("Walk"));
    std::string image = assets.WritePng("other.png");
    std::string bad =
        assets.Write("bad.xml", TextureXml("Bad", "<File>" + image + "</File><Alpha>-1</Alpha>" +
                                                      RunAnimation("0", "0")));
    CapturedLog log;
    EXPECT_FALSE(sprite.ApplyTextureConfig(bad));
    EXPECT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(sprite.m_xmlName, bad);
    EXPECT_EQ(sprite.m_textureFile, "../Assets/sheet.png");
    EXPECT_EQ(sprite.m_frames.size(), 6u);
    EXPECT_EQ(sprite.m_columns, 3u);
    EXPECT_TRUE(sprite.m_playing);
    EXPECT_EQ(sprite.m_animations.count("Run"), 0u);
}

// Odd ranges are taken as they stand: one ending below its start sits on its start, one running past
// the frame table shows frame 0 there, and a file without a type is read like any other.
TEST_F(SpriteTest, OddAnimationRangesAndUntypedFilesAreTaken) {
    std::string image = assets.WritePng("fine.png");
    std::string file = assets.Write(
        "odd.xml", "<Texture><File>" + image + "</File><ScaleX>2</ScaleX><ScaleY>1</ScaleY>" + RunAnimation("1", "0") +
                       "</Texture>");
    std::string past = assets.Write(
        "past.xml", TextureXml("Past", "<File>" + image + "</File><ScaleX>2</ScaleX><ScaleY>1</ScaleY>" +
                                           "<Animation><Far><StartFrame>1</StartFrame><EndFrame>3</EndFrame>"
                                           "</Far></Animation>"));
    Sprite sprite(&clock);
    CapturedLog log;
    sprite.InitWithXML(file, false);
    EXPECT_EQ(log.Lines(), Lines{"Error Reading Attribute"});
    EXPECT_EQ(sprite.m_textureFile, image);
    ASSERT_TRUE(sprite.SetAnimation("Run"));
    const float dt = 0.016f;
    for (int i = 0; i < 3; ++i) {
        clock.now += 60;
        sprite.Animate(&dt);
        EXPECT_EQ(sprite.m_currentFrame, 1u);
    }

    ASSERT_TRUE(sprite.ApplyTextureConfig(past));
    ASSERT_TRUE(sprite.SetAnimation("Far"));
    const std::pair<float, float> second = MapUv(sprite.FrameTextureMatrix(), 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(second.first, 0.5f);
    for (uint32_t expected : {2u, 3u, 1u}) {
        clock.now += 60;
        sprite.Animate(&dt);
        EXPECT_EQ(sprite.m_currentFrame, expected);
        if (expected >= 2u) {
            const std::pair<float, float> shown = MapUv(sprite.FrameTextureMatrix(), 0.0f, 0.0f);
            EXPECT_FLOAT_EQ(shown.first, 0.0f);
            EXPECT_FLOAT_EQ(shown.second, 0.0f);
        }
    }
}

} // namespace
