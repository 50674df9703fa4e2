// GUI layout files: one log line and at most one item per element, the repeated-tag rule, placement
// that is missing or unusable, files that are no layout, and items whose sprite has an animation of
// their own name.
#include "scene/krguiconfig.h"
#include "test_gui_support.h"

#include <cmath>

using namespace guitest;
using Lines = std::vector<std::string>;

namespace {

class GUILayout : public GUITest {
  protected:
    void SetUp() override {
        GUITest::SetUp();
        gui.Init(*engine);
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& item : gui.m_items) {
            names.push_back(item->m_name);
        }
        return names;
    }

    GUISystem gui;
};

TEST_F(GUILayout, EveryElementIsLoggedAndButtonsAndImagesBecomeItemsOfTheMainWindowInFileOrder) {
    std::string file = WriteLayout("Menu", "<Title type=\"image\" file=\"" + sheet +
                                               "\" x=\"10.75\" y=\"20\" w=\"100\" h=\"30\" index=\"4\"/>\n"
                                               "<Dial type=\"dial\" file=\"" +
                                               sheet +
                                               "\" x=\"1\" y=\"1\" w=\"1\" h=\"1\"/>\n"
                                               "<Play type=\"button\" action=\"GoToStory\" file=\"" +
                                               sheet + "\" x=\"300\" y=\"200.5\" w=\"120.9\" h=\"40\"/>\n");
    CapturedLog log;
    ASSERT_TRUE(gui.LoadFromXML(file));
    EXPECT_EQ(log.Lines(),
              (Lines{"AddingGUI, Type: image", "AddingGUI, Type: dial", "AddingGUI, Type: button"}));

    ASSERT_EQ(Names(), (std::vector<std::string>{"Title", "Play"}));
    KRGUIObject* title = gui.m_items.front().get();
    auto* play = dynamic_cast<KRGUIButton*>(gui.m_items.back().get());
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(dynamic_cast<KRGUIButton*>(title), nullptr);
    EXPECT_FLOAT_EQ(title->m_x, 10.75f);
    EXPECT_FLOAT_EQ(title->m_y, 20.0f);
    EXPECT_FLOAT_EQ(title->m_z, 0.1f);
    EXPECT_FLOAT_EQ(title->m_w, 100.0f);
    EXPECT_FLOAT_EQ(title->m_h, 30.0f);
    // Sizes are whole numbers as atoi reads them.
    EXPECT_FLOAT_EQ(play->m_w, 120.0f);
    EXPECT_FLOAT_EQ(play->m_y, 200.5f);
    EXPECT_EQ(play->m_action, "GoToStory");
    EXPECT_EQ(play->m_sprite.m_xmlName, sheet);
    EXPECT_EQ(gui.m_mainWindow->m_children, (std::vector<KRGUIObject*>{title, play}));
    EXPECT_EQ(title->m_parent, gui.m_mainWindow.get());
    EXPECT_EQ(play->m_parent, gui.m_mainWindow.get());
}

TEST_F(GUILayout, ARepeatedTagGivesItemsAlikeAndFindByNameTheFirst) {
    std::string file = WriteLayout("Twice", "<Start type=\"button\" action=\"Pause\" file=\"" + sheet +
                                                "\" x=\"1\" y=\"2\" w=\"3\" h=\"4\"/>\n"
                                                "<Start type=\"image\" action=\"Resume\" file=\"" +
                                                sheet +
                                                "\" x=\"9\" y=\"9\" w=\"9\" h=\"9\"/>\n"
                                                "<Other type=\"image\" file=\"" +
                                                sheet + "\" x=\"5\" y=\"5\" w=\"5\" h=\"5\"/>\n");
    CapturedLog log;
    ASSERT_TRUE(gui.LoadFromXML(file));
    EXPECT_EQ(log.Lines(),
              (Lines{"AddingGUI, Type: button", "AddingGUI, Type: button", "AddingGUI, Type: image"}));
    ASSERT_EQ(Names(), (std::vector<std::string>{"Start", "Start", "Other"}));
    auto first = gui.m_items.begin();
    auto second = std::next(first);
    for (auto it : {first, second}) {
        auto* button = dynamic_cast<KRGUIButton*>(it->get());
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->m_action, "Pause");
        EXPECT_FLOAT_EQ(button->m_x, 1.0f);
        EXPECT_FLOAT_EQ(button->m_h, 4.0f);
    }
    EXPECT_EQ(gui.FindByName("Start"), first->get());
    EXPECT_EQ(gui.FindByName("Other"), gui.m_items.back().get());
    EXPECT_EQ(gui.FindByName("start"), nullptr);
    EXPECT_EQ(gui.FindByName("Start "), nullptr);
    EXPECT_EQ(gui.FindByName(""), nullptr);
}

TEST_F(GUILayout, MissingPlacementIsZeroAndSaidAndUnusablePlacementMakesNoItem) {
    std::string file = WriteLayout("Odd", "<Bare type=\"image\" file=\"" + sheet +
                                              "\"/>\n"
                                              "<Backwards type=\"button\" action=\"Pause\" file=\"" +
                                              sheet +
                                              "\" x=\"1\" y=\"1\" w=\"-20\" h=\"5\"/>\n"
                                              "<Nowhere type=\"image\" file=\"" +
                                              sheet +
                                              "\" x=\"nan\" y=\"1\" w=\"2\" h=\"2\"/>\n"
                                              "<Far type=\"image\" file=\"" +
                                              sheet +
                                              "\" x=\"1e999\" y=\"1\" w=\"2\" h=\"2\"/>\n"
                                              "<Huge type=\"image\" file=\"" +
                                              sheet + "\" x=\"1\" y=\"1\" w=\"99999999999\" h=\"2\"/>\n");
    CapturedLog log;
    ASSERT_TRUE(gui.LoadFromXML(file));
    EXPECT_EQ(
        log.Lines(),
        (Lines{"GUI item Bare has no x, using 0", "GUI item Bare has no y, using 0",
               "GUI item Bare has no w, using 0", "GUI item Bare has no h, using 0", "AddingGUI, Type: image",
               "AddingGUI, Type: button", "Bad GUI item Backwards in " + file + ": no usable place or size",
               "AddingGUI, Type: image", "Bad GUI item Nowhere in " + file + ": no usable place or size",
               "AddingGUI, Type: image", "Bad GUI item Far in " + file + ": no usable place or size",
               "AddingGUI, Type: image"}));
    ASSERT_EQ(Names(), (std::vector<std::string>{"Bare", "Huge"}));
    KRGUIObject* bare = gui.m_items.front().get();
    EXPECT_EQ(bare->m_x, 0.0f);
    EXPECT_EQ(bare->m_y, 0.0f);
    EXPECT_EQ(bare->m_w, 0.0f);
    EXPECT_EQ(bare->m_h, 0.0f);
    // A width past the int32 range is held at its end, as the texture files' numbers are.
    EXPECT_FLOAT_EQ(gui.m_items.back()->m_w, 2147483647.0f);
    EXPECT_EQ(gui.m_mainWindow->m_children.size(), 2u);
}

TEST_F(GUILayout, AFileThatCannotBeReadOrIsNoLayoutAddsNothingButAnUntypedLayoutLoads) {
    {
        CapturedLog log;
        EXPECT_FALSE(gui.LoadFromXML("../Assets/nothing-here.xml"));
        Lines lines = log.Lines();
        // Only the configuration layer speaks; the GUI has no line of its own for it.
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("Couldn't read config ../Assets/nothing-here.xml", 0), 0u) << lines[0];
    }
    {
        // A texture configuration already cached as one is not a layout.
        Sprite sprite(&clock);
        sprite.InitWithXML(sheet, false);
        CapturedLog log;
        EXPECT_FALSE(gui.LoadFromXML(sheet));
        EXPECT_EQ(log.Lines(), Lines{"Fail to load GUI from XML"});
    }
    EXPECT_TRUE(gui.m_items.empty());
    EXPECT_TRUE(gui.m_mainWindow->m_children.empty());
    // A layout without a type is read under the type "", as any file is.
    std::string untyped = assets.Write("untyped.xml", "<GUI><Lone type=\"image\" x=\"1\" y=\"1\" w=\"1\" "
                                                      "h=\"1\"/></GUI>\n");
    CapturedLog log;
    EXPECT_TRUE(gui.LoadFromXML(untyped));
    EXPECT_EQ(log.Lines().front(), "Error Reading Attribute");
    EXPECT_EQ(gui.m_items.size(), 1u);
}

TEST_F(GUILayout, WithoutAMainWindowNoItemIsKept) {
    GUISystem bare;
    std::string file = WriteLayout("Early", "<Lone type=\"image\" file=\"" + sheet +
                                                "\" x=\"1\" y=\"1\" w=\"1\" h=\"1\"/>\n");
    CapturedLog log;
    EXPECT_TRUE(bare.LoadFromXML(file));
    EXPECT_EQ(log.Lines(), Lines{"AddingGUI, Type: image"});
    EXPECT_TRUE(bare.m_items.empty());
}

TEST_F(GUILayout, AnAnimationOfTheItemsOwnNameShowsItsFirstFrameStillOnAnImageAndPlaysOnAButton) {
    std::string named = WritePicture("named.xml", "Named", 6,
                                     "<Glow><StartFrame>2</StartFrame><EndFrame>4</EndFrame></Glow>"
                                     "<Shine><StartFrame>1</StartFrame><EndFrame>3</EndFrame></Shine>");
    std::string file = WriteLayout("Animated", "<Glow type=\"image\" file=\"" + named +
                                                   "\" x=\"0\" y=\"0\" w=\"10\" h=\"10\"/>\n"
                                                   "<Shine type=\"button\" action=\"Pause\" file=\"" +
                                                   named +
                                                   "\" x=\"0\" y=\"0\" w=\"10\" h=\"10\"/>\n"
                                                   "<Plain type=\"button\" action=\"Pause\" file=\"" +
                                                   named + "\" x=\"0\" y=\"0\" w=\"10\" h=\"10\"/>\n");
    {
        CapturedLog log;
        ASSERT_TRUE(gui.LoadFromXML(file));
    }
    KRGUIObject* glow = gui.FindByName("Glow");
    KRGUIObject* shine = gui.FindByName("Shine");
    KRGUIObject* plain = gui.FindByName("Plain");
    ASSERT_TRUE(glow && shine && plain);
    EXPECT_EQ(glow->m_sprite.m_currentFrame, 2u);
    EXPECT_FALSE(glow->m_sprite.m_playing);
    EXPECT_EQ(shine->m_sprite.m_currentFrame, 1u);
    EXPECT_TRUE(shine->m_sprite.m_playing);
    EXPECT_EQ(plain->m_sprite.m_currentFrame, 0u);
    EXPECT_FALSE(plain->m_sprite.m_playing);

    const float delta = 0.016f;
    for (int step = 0; step < 2; ++step) {
        clock.now += 60;
        gui.Update(&delta);
    }
    EXPECT_EQ(glow->m_sprite.m_currentFrame, 2u);
    EXPECT_EQ(shine->m_sprite.m_currentFrame, 3u);
    EXPECT_EQ(plain->m_sprite.m_currentFrame, 0u);
}

TEST_F(GUILayout, TheConfigurationDescribesItsEntries) {
    std::string file =
        WriteLayout("Described", "<Go type=\"button\" action=\"Pause\" file=\"f.xml\" x=\"12.6\" "
                                 "y=\"3\" w=\"40\" h=\"7\"/>\n");
    std::unique_ptr<KRGUIConfig> layout = LoadTypedConfig<KRGUIConfig>(file);
    ASSERT_NE(layout, nullptr);
    ASSERT_EQ(layout->m_entries.size(), 1u);
    const std::string text = layout->Describe();
    EXPECT_NE(text.find("Go button Pause f.xml 13  3 40 7\n"), std::string::npos) << text;
}

} // namespace
