// The texture folder scan: listing a folder's XML names, loading the texture configurations among
// them, and the scans of the committed content on the null device.
#include "engine/krassetpaths.h"
#include "engine/krtexturescan.h"
#include "scene/sprite_support.h"

#include <map>
#include <set>

using namespace spritetest;

namespace {

using Lines = std::vector<std::string>;

std::set<std::string> Names(const GameData& gameData) {
    std::set<std::string> names;
    for (const auto& [name, value] : gameData.m_textureConfigs) {
        EXPECT_EQ(name, value);
        names.insert(name);
    }
    return names;
}

class TextureScan : public SpriteTest {
  protected:
    // Its image is named without ".xml", so that only the configuration is listed.
    std::string Texture(const std::string& relative, const std::string& type) {
        std::string imageName = relative;
        for (size_t at = imageName.find(".xml"); at != std::string::npos; at = imageName.find(".xml")) {
            imageName.replace(at, 4, "-xml");
        }
        std::string image = assets.WritePng(imageName + ".png");
        return assets.Write(relative,
                            TextureXml(type, "<File>" + image +
                                                 "</File><Alpha>255</Alpha><Width>8</Width><Height>8</Height>"
                                                 "<ScaleX>1</ScaleX><ScaleY>1</ScaleY>"));
    }
    int32_t TextureCount(const std::string& file) {
        auto found = renderer().textures.Entries().find(file);
        return found == renderer().textures.Entries().end() ? 0 : found->second.count;
    }

    GameData& gameData() { return *engine->m_gameData; }
};

TEST_F(TextureScan, TheListingTakesEveryFileOfTheFolderWithXmlInItsNameAndNoSubFolder) {
    Texture("scan/a.xml", "ScanA");
    Texture("scan/b.xml.bak", "ScanB");
    assets.Write("scan/notes.txt", "x");
    assets.Write("scan/SHOUT.XML", "<x/>");
    assets.Write("scan/sub.xml/inner.xml", "<x/>");
    const size_t before = gameData().m_textureConfigs.size();

    CapturedLog log;
    EXPECT_TRUE(ListTextureConfigFiles(L"../Assets/scan", gameData()));
    EXPECT_EQ(log.Lines(), (Lines{"../Assets/scan\\*All Texture XML Files Added: "}));
    std::set<std::string> names = Names(gameData());
    EXPECT_EQ(names.size(), before + 2);
    EXPECT_EQ(names.count("a.xml"), 1u);
    EXPECT_EQ(names.count("b.xml.bak"), 1u);
    EXPECT_EQ(names.count("inner.xml"), 0u);
    EXPECT_EQ(names.count("sub.xml"), 0u);
}

TEST_F(TextureScan, AFolderThatCannotBeListedFailsAfterItsPatternAndTakesNothingAway) {
    Texture("first/a.xml", "FirstA");
    ASSERT_TRUE(ListTextureConfigFiles(L"../Assets/first", gameData()));
    const std::set<std::string> before = Names(gameData());

    testing::internal::CaptureStdout();
    EXPECT_FALSE(ListTextureConfigFiles(L"../Assets/none", gameData()));
    // The pattern is written without a line end; whatever is logged next continues it.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "../Assets/none\\*");
    EXPECT_EQ(Names(gameData()), before);
    // A path that no folder can have is refused the same way.
    CapturedLog quiet;
    EXPECT_FALSE(ListTextureConfigFiles(std::wstring(L"../Assets/") + wchar_t(0xD800), gameData()));

    Texture("second/b.xml", "SecondB");
    ASSERT_TRUE(ListTextureConfigFiles(L"../Assets/second", gameData()));
    std::set<std::string> after = Names(gameData());
    EXPECT_EQ(after.count("a.xml"), 1u);
    EXPECT_EQ(after.count("b.xml"), 1u);
}

TEST_F(TextureScan, LoadingMakesEveryTextureConfigurationResidentAndPassesOverTheRest) {
    Texture("load/tex.xml", "LoadTex");
    Texture("load/old.xml.bak", "LoadOld");
    assets.WritePng("load/layout.png");
    assets.Write("load/layout.xml", "<?xml version=\"1.0\" ?>\n<GUI type=\"LoadLayout\"><File>../Assets/load/"
                                    "layout.png</File></GUI>\n");
    Texture("elsewhere/only.xml", "Elsewhere");
    ASSERT_TRUE(ListTextureConfigFiles(L"../Assets/elsewhere", gameData()));
    ASSERT_TRUE(ListTextureConfigFiles(L"../Assets/load", gameData()));

    CapturedLog log;
    EXPECT_TRUE(LoadTextureConfigFiles("../Assets/load", gameData(), *engine));
    // The name listed from another folder is not here, and nothing is said about it.
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(TextureCount("../Assets/load/tex-xml.png"), 1);
    EXPECT_EQ(TextureCount("../Assets/load/old-xml.bak.png"), 1);
    EXPECT_EQ(TextureCount("../Assets/load/layout.png"), 0);
    EXPECT_EQ(TextureCount("../Assets/elsewhere/only-xml.png"), 0);

    // A second pass adds a reference to what is resident, not a second copy.
    const size_t textures = renderer().textures.Entries().size();
    EXPECT_TRUE(LoadTextureConfigFiles("../Assets/load", gameData(), *engine));
    EXPECT_EQ(TextureCount("../Assets/load/tex-xml.png"), 2);
    EXPECT_EQ(renderer().textures.Entries().size(), textures);
}

TEST_F(TextureScan, ABrokenFileIsLoggedAndSkippedAndTheOthersStillLoad) {
    assets.Write("broken/a.xml", "<?xml version=\"1.0\" ?>\n<Texture type=\"Broken\"><File>");
    assets.Write("broken/b.xml", std::string("<Texture type=\"Nul\">\0</Texture>", 31));
    Texture("broken/c.xml", "BrokenC");
    ASSERT_TRUE(ListTextureConfigFiles(L"../Assets/broken", gameData()));
    CapturedLog log;
    EXPECT_TRUE(LoadTextureConfigFiles("../Assets/broken", gameData(), *engine));
    Lines lines = log.Lines();
    EXPECT_TRUE(HasLineStarting(lines, "Couldn't read config ../Assets/broken/a.xml"));
    EXPECT_TRUE(HasLineStarting(lines, "Couldn't read config ../Assets/broken/b.xml"));
    EXPECT_EQ(TextureCount("../Assets/broken/c-xml.png"), 1);
}

class CommittedContentScan : public CommittedContentTest {
  protected:
    // The image of every texture configuration directly in the folder.
    static std::map<std::string, std::string> TextureImages(const std::string& folder) {
        std::map<std::string, std::string> images;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_directory() || name.find(".xml") == std::string::npos) {
                continue;
            }
            KRConfig config = ReadConfig(folder + "/" + name);
            if (config.m_elementName != "Texture") {
                continue;
            }
            for (const auto& [element, text] : config.m_childValues) {
                if (element == "File") {
                    images[name] = text;
                }
            }
        }
        return images;
    }
};

TEST_F(CommittedContentScan, StartUpLoadsEveryTextureConfigurationWithoutAFailureLine) {
    Engine engine;
    CapturedLog log;
    ASSERT_TRUE(engine.Init(&window, &idle));
    Lines lines = log.Lines();
    EXPECT_EQ(FailureLines(lines), Lines{});
    EXPECT_TRUE(HasLineStarting(lines, "../Assets\\*All Texture XML Files Added: "));
    EXPECT_TRUE(HasLineStarting(lines, "../Assets/Textures/FadeAnimation\\*All Texture XML Files Added: "));

    const auto& textures = engine.m_display.renderer->textures.Entries();
    size_t checked = 0;
    for (const char* folder : {kAssetsFolder, kFadeAnimationFolder}) {
        for (const auto& [name, image] : TextureImages(folder)) {
            EXPECT_EQ(textures.count(image), 1u) << folder << "/" << name;
            ++checked;
        }
    }
    EXPECT_GT(checked, 20u);
}

TEST_F(CommittedContentScan, TheLoadingScreensFoldersLoadEveryTextureConfigurationWithoutAFailureLine) {
    Engine engine;
    {
        CapturedLog quiet;
        ASSERT_TRUE(engine.Init(&window, &idle));
    }
    GameData& gameData = *engine.m_gameData;
    // The loading screen's folders, in its spelling; those whose content is still to come are left out.
    std::vector<std::string> scanned;
    CapturedLog log;
    for (const char* folder :
         {"../Assets/Buttons", "../Assets/Boxes", "../Assets/Textures/SkyBox", "../Assets/Tiles",
          "../Assets/Units", "../Assets/Buildings", "../Assets/Fonts"}) {
        if (!fs::is_directory(folder)) {
            continue;
        }
        const std::string narrow = folder;
        EXPECT_TRUE(ListTextureConfigFiles(std::wstring(narrow.begin(), narrow.end()), gameData)) << folder;
        EXPECT_TRUE(LoadTextureConfigFiles(folder, gameData, engine));
        scanned.push_back(folder);
    }
    Lines lines = log.Lines();
    EXPECT_EQ(FailureLines(lines), Lines{});
    EXPECT_GE(scanned.size(), 6u);

    const auto& textures = engine.m_display.renderer->textures.Entries();
    for (const std::string& folder : scanned) {
        const auto images = TextureImages(folder);
        EXPECT_FALSE(images.empty()) << folder;
        for (const auto& [name, image] : images) {
            EXPECT_EQ(textures.count(image), 1u) << folder << "/" << name;
        }
    }
    // Everything a HUD box switches to at run time is resident.
    for (const char* texture :
         {"../Assets/Buttons/ButtonFlash.png", "../Assets/Buttons/ButtonDarkGrey.png",
          "../Assets/Buttons/LeftArrowButtons.png", "../Assets/Buttons/RightArrowButtons.png",
          "../Assets/Textures/Skybox/front.png"}) {
        EXPECT_EQ(textures.count(texture), 1u) << texture;
    }
}

} // namespace
