// The GUI system of a screen: what Init builds, the fader's states on the sprite's clock, the fade keys,
// drawing order and projection, the shared screen bodies, and a teardown that leaves nothing behind
// (these run under the sanitizers too).
#include "test_gui_support.h"

using namespace guitest;

namespace {

class GUISystemTest : public GUITest {
  protected:
    void SetUp() override {
        GUITest::SetUp();
        layout = WriteLayout("Screen", "<Title type=\"image\" file=\"" + sheet +
                                           "\" x=\"100\" y=\"50\" w=\"200\" h=\"40\"/>\n"
                                           "<Go type=\"button\" action=\"Pause\" file=\"" +
                                           sheet + "\" x=\"300\" y=\"300\" w=\"100\" h=\"40\"/>\n");
    }

    // Lets the sprite clock run past one animation step (0.05 s) and updates the GUI.
    void Step(GUISystem& gui, uint64_t milliseconds = 60) {
        clock.now += milliseconds;
        const float delta = static_cast<float>(milliseconds) / 1000.0f;
        gui.Update(&delta);
    }

    std::string layout;
};

TEST_F(GUISystemTest, InitMakesAHiddenPointerAWindowAsLargeAsTheBackBufferAndAClearFader) {
    SetBackBuffer(1280, 720, 160);
    GUISystem gui;
    gui.Init(*engine);
    EXPECT_EQ(gui.m_gameData, engine->m_gameData.get());
    ASSERT_NE(gui.m_mousePtr, nullptr);
    EXPECT_EQ(gui.m_mousePtr->m_name, "MousePtr");
    EXPECT_EQ(gui.m_mousePtr->m_sprite.m_xmlName, "../Assets/krguimouseptr.xml");
    EXPECT_FALSE(gui.m_mousePtr->m_active);
    EXPECT_EQ(gui.m_mousePtr->m_z, 0.0f);
    EXPECT_EQ(gui.m_mousePtr->m_w, 32.0f);
    ASSERT_NE(gui.m_mainWindow, nullptr);
    EXPECT_EQ(gui.m_mainWindow->m_name, "Main Window");
    EXPECT_EQ(gui.m_mainWindow->m_sprite.m_xmlName, "../Assets/krguibgtest.xml");
    EXPECT_EQ(gui.m_mainWindow->m_w, 1280.0f);
    EXPECT_EQ(gui.m_mainWindow->m_h, 720.0f);
    ASSERT_NE(gui.m_fader, nullptr);
    EXPECT_EQ(gui.m_fader->m_name, "Fader");
    EXPECT_EQ(gui.m_fader->m_sprite.m_xmlName, "../Assets/Textures/FadeAnimation/fade.xml");
    EXPECT_EQ(gui.m_fader->m_w, 800.0f);
    EXPECT_EQ(gui.m_fader->m_h, 600.0f);
    EXPECT_EQ(gui.m_fader->m_sprite.m_currentFrame, 0u);
    EXPECT_EQ(gui.m_fadeState, FADE_IDLE);

    // The pointer follows the cursor but is never drawn.
    engine->m_input.cursorX = 17;
    engine->m_input.cursorY = 23;
    gui.HandleScreenInput(*engine);
    EXPECT_EQ(gui.m_mousePtr->m_x, 17.0f);
    EXPECT_EQ(gui.m_mousePtr->m_y, 23.0f);
}

TEST_F(GUISystemTest, FadingToBlackRunsItsFramesThenHoldsTheLastAsBlack) {
    GUISystem gui;
    gui.Init(*engine);
    gui.FadeToBlack();
    EXPECT_EQ(gui.m_fadeState, FADE_TO_BLACK);
    EXPECT_EQ(gui.m_fader->m_sprite.m_currentFrame, 0u);
    Step(gui, 10); // too soon for a frame
    EXPECT_EQ(gui.m_fader->m_sprite.m_currentFrame, 0u);
    Step(gui);
    Step(gui);
    EXPECT_EQ(gui.m_fader->m_sprite.m_currentFrame, 2u);
    EXPECT_EQ(gui.m_fadeState, FADE_TO_BLACK);
    Step(gui);
    EXPECT_EQ(gui.m_fadeState, FADE_BLACK);
    for (int i = 0; i < 3; ++i) {
        Step(gui);
    }
    EXPECT_EQ(gui.m_fadeState, FADE_BLACK);
    EXPECT_EQ(gui.m_fader->m_sprite.m_currentFrame, 2u);

    gui.UnfadeFromBlack();
    EXPECT_EQ(gui.m_fadeState, FADE_UNFADING);
    EXPECT_EQ(gui.m_fader->m_sprite.m_currentFrame, 3u);
    Step(gui);
    Step(gui);
    EXPECT_EQ(gui.m_fadeState, FADE_UNFADING);
    Step(gui);
    EXPECT_EQ(gui.m_fadeState, FADE_IDLE);
    Step(gui);
    EXPECT_EQ(gui.m_fadeState, FADE_IDLE);
    EXPECT_EQ(gui.m_fader->m_sprite.m_currentFrame, 5u);
}

TEST_F(GUISystemTest, EitherFadeStartsAgainFromItsFirstFrameWhateverTheState) {
    GUISystem gui;
    gui.Init(*engine);
    gui.FadeToBlack();
    Step(gui);
    ASSERT_EQ(gui.m_fader->m_sprite.m_currentFrame, 1u);
    gui.FadeToBlack();
    EXPECT_EQ(gui.m_fader->m_sprite.m_currentFrame, 0u);
    EXPECT_EQ(gui.m_fadeState, FADE_TO_BLACK);
    // Unfading half-way through a fade to black.
    Step(gui);
    gui.UnfadeFromBlack();
    EXPECT_EQ(gui.m_fader->m_sprite.m_currentFrame, 3u);
    EXPECT_EQ(gui.m_fadeState, FADE_UNFADING);
    // A raw delta of 0 (a first frame) leaves the fader where it is.
    clock.now += 60;
    const float zero = 0.0f;
    gui.Update(&zero);
    EXPECT_EQ(gui.m_fader->m_sprite.m_currentFrame, 3u);
}

TEST_F(GUISystemTest, TheBracketKeysFadeOnTheirPressOnly) {
    GUISystem gui;
    gui.Init(*engine);
    InputSys& input = engine->m_input;
    input.keys[KEY_LBRACKET] = 1;
    gui.HandleScreenInput(*engine);
    EXPECT_EQ(gui.m_fadeState, FADE_TO_BLACK);
    input.EndFrame();
    for (int i = 0; i < 4; ++i) {
        Step(gui);
    }
    ASSERT_EQ(gui.m_fadeState, FADE_BLACK);
    gui.HandleScreenInput(*engine); // still held: no new fade
    EXPECT_EQ(gui.m_fadeState, FADE_BLACK);
    input.keys[KEY_LBRACKET] = 0;
    input.keys[KEY_RBRACKET] = 1;
    gui.HandleScreenInput(*engine);
    EXPECT_EQ(gui.m_fadeState, FADE_UNFADING);
    EXPECT_EQ(gui.m_fader->m_sprite.m_currentFrame, 3u);
}

TEST_F(GUISystemTest, WithoutAFaderTheFadeCallsAndUpdatesDoNothing) {
    GUISystem gui;
    gui.FadeToBlack();
    gui.UnfadeFromBlack();
    Step(gui);
    EXPECT_EQ(gui.m_fadeState, FADE_IDLE);
    EXPECT_FALSE(gui.Draw(*engine) && !device->spyDraws.empty());
    EXPECT_TRUE(device->spyDraws.empty());
}

TEST_F(GUISystemTest, DrawingUsesTheVirtualScreenAndPutsTheFaderOverEverything) {
    PlainState screen;
    CapturedLog log;
    ASSERT_TRUE(screen.m_gui.LoadScreen(*engine, layout));
    ASSERT_TRUE(screen.m_gui.Draw(*engine));
    plat::Matrix view, projection;
    device->GetTransform(plat::kTsView, view);
    device->GetTransform(plat::kTsProjection, projection);
    EXPECT_EQ(view, plat::D3DXMatrixIdentity());
    EXPECT_EQ(projection, plat::D3DXMatrixOrthoOffCenterLH(0.0f, 800.0f, -600.0f, 0.0f, 0.0f, 100.0f));
    // The main window, its two children in order, the fader; the pointer is hidden.
    ASSERT_EQ(device->spyDraws.size(), 4u);
    auto origin = [](const plat::Matrix& m) {
        return std::make_pair(m(3, 0) - 0.5f * m(0, 0), m(3, 1) + 0.5f * m(1, 1));
    };
    EXPECT_EQ(origin(device->spyDraws[0].world), std::make_pair(0.0f, 0.0f));
    EXPECT_EQ(origin(device->spyDraws[1].world), std::make_pair(100.0f, -50.0f));
    EXPECT_EQ(origin(device->spyDraws[2].world), std::make_pair(300.0f, -300.0f));
    EXPECT_EQ(
        device->spyDraws[3].world,
        plat::D3DXMatrixMultiply(plat::D3DXMatrixMultiply(plat::D3DXMatrixTranslation(0.5f, -0.5f, 0.0f),
                                                          plat::D3DXMatrixScaling(800.0f, 600.0f, 1.0f)),
                                 plat::D3DXMatrixTranslation(0.0f, 0.0f, 0.1f)));
    EXPECT_NE(device->spyDraws[3].texture, device->spyDraws[1].texture);
}

TEST_F(GUISystemTest, TheSharedScreenBodiesUpdateWithTheRawDeltaAndDrawTheGUI) {
    PlainState screen;
    {
        CapturedLog log;
        ASSERT_TRUE(screen.m_gui.LoadScreen(*engine, layout));
    }
    screen.m_gui.FadeToBlack();
    engine->m_timer.rawDelta = 0.05;
    engine->m_timer.gameDelta = 0.0; // game time paused: the GUI runs on regardless
    clock.now += 60;
    DefaultStateUpdate(screen, *engine);
    EXPECT_EQ(screen.m_gui.m_fader->m_sprite.m_currentFrame, 1u);
    engine->m_showDebugInfo = false;
    DefaultStateRender(screen, *engine);
    EXPECT_EQ(device->spyDraws.size(), 4u);
}

TEST_F(GUISystemTest, ScreenUnloadDeletesThePointerWindowFaderAndItems) {
    PlainState screen;
    GUISystem& gui = screen.m_gui;
    {
        CapturedLog log;
        ASSERT_TRUE(gui.LoadScreen(*engine, layout));
    }
    ASSERT_EQ(gui.m_items.size(), 2u);
    gui.m_dataBound.push_back({gui.m_items.front().get(), 1, "text"});
    gui.UnloadScreen(*engine);
    EXPECT_EQ(gui.m_mousePtr, nullptr);
    EXPECT_EQ(gui.m_mainWindow, nullptr);
    EXPECT_EQ(gui.m_fader, nullptr);
    EXPECT_TRUE(gui.m_items.empty());
    EXPECT_TRUE(gui.m_dataBound.empty());
    // An unloaded screen's GUI is inert, and it can be loaded again.
    gui.HandleScreenInput(*engine);
    Step(gui);
    CapturedLog log;
    ASSERT_TRUE(gui.LoadScreen(*engine, layout));
    EXPECT_EQ(gui.m_items.size(), 2u);
}

TEST_F(GUISystemTest, ItemsAndTheirWindowMayGoInEitherOrder) {
    GUISystem gui;
    gui.Init(*engine);
    gui.AddImage("A", sheet, 0.0f, 0.0f, 10, 10);
    gui.AddImage("B", sheet, 0.0f, 0.0f, 10, 10);
    // The items first: the window is left with no child to reach.
    gui.Clear();
    EXPECT_TRUE(gui.m_mainWindow->m_children.empty());
    gui.m_mainWindow->HandleInput(*engine);
    gui.Draw(*engine);

    gui.AddImage("C", sheet, 0.0f, 0.0f, 10, 10);
    KRGUIObject* c = gui.FindByName("C");
    // The window first, as a screen's Unload does: the items no longer point at it.
    gui.m_mainWindow.reset();
    EXPECT_EQ(c->m_parent, nullptr);
    EXPECT_FLOAT_EQ(c->AddParentOffsets({1.0f, 2.0f, 0.1f}).x, 1.0f);
    gui.Destroy();
    EXPECT_TRUE(gui.m_items.empty());
}

TEST_F(GUISystemTest, InitAgainReplacesThePointerWindowAndFader) {
    GUISystem gui;
    gui.Init(*engine);
    gui.AddImage("Old", sheet, 0.0f, 0.0f, 10, 10);
    gui.FadeToBlack();
    gui.Init(*engine);
    // The old window went with its Init; the old item stays listed but in no window.
    EXPECT_EQ(gui.FindByName("Old")->m_parent, nullptr);
    EXPECT_TRUE(gui.m_mainWindow->m_children.empty());
    EXPECT_EQ(gui.m_fadeState, FADE_IDLE);
}

TEST_F(GUISystemTest, AScreenTakesItsWholeGUIWithItWhenItGoes) {
    auto screen = std::make_unique<PlainState>();
    {
        CapturedLog log;
        ASSERT_TRUE(screen->m_gui.LoadScreen(*engine, layout));
    }
    engine->m_stack = {screen.get()};
    screen.reset();
    EXPECT_TRUE(engine->m_stack.empty());
}

TEST_F(GUISystemTest, DataBoundTextFollowsItsDataNumber) {
    GameData data;
    std::string text = "kept";
    GUISystem::UpdateDataBoundText(0, nullptr, text);
    EXPECT_EQ(text, "kept");
    GUISystem::UpdateDataBoundText(1, &data, text);
    GUISystem::UpdateDataBoundText(2, &data, text);
    EXPECT_EQ(text, "kept");
    GUISystem::UpdateDataBoundText(3, &data, text);
    EXPECT_EQ(text, "Invalid DataNum");
    GUISystem::UpdateDataBoundText(1, nullptr, text);
    EXPECT_EQ(text, "GameData not set!");

    GUISystem gui;
    gui.Init(*engine);
    gui.AddImage("Counter", sheet, 0.0f, 0.0f, 10, 10);
    gui.m_dataBound.push_back({gui.FindByName("Counter"), 7, "before"});
    Step(gui);
    EXPECT_EQ(gui.m_dataBound.front().m_text, "Invalid DataNum");
}

} // namespace
