// Buttons and the hit test: the press over a button takes the click for the top screen, the release
// over it runs the script and then clicks; the virtual screen mapped between the side bars; windows
// offsetting their children; the hovered button drawn larger.
#include "test_gui_support.h"

using namespace guitest;
using Lines = std::vector<std::string>;

namespace {

// What the recording script saw when it ran: the clicks played so far.
std::vector<int> g_runs;
const GUITest* g_fixture = nullptr;

void RecordRun() {
    g_runs.push_back(g_fixture->Clicks());
}

class GUIButton : public GUITest {
  protected:
    void SetUp() override {
        GUITest::SetUp();
        g_runs.clear();
        g_fixture = this;
        engine->m_scripts.m_scripts["Record"] = &RecordRun;
        engine->m_stack = {&screen};
        screen.m_gui.Init(*engine);
        // 100 x 50 at (200, 100): pixels 200 to 300 and 100 to 150 on an 800 x 600 back buffer.
        screen.m_gui.AddButton("Go", "Record", sheet, 200.0f, 100.0f, 100, 50);
        button = dynamic_cast<KRGUIButton*>(screen.m_gui.FindByName("Go"));
        ASSERT_NE(button, nullptr);
    }
    void TearDown() override {
        g_fixture = nullptr;
        engine->m_stack.clear();
        GUITest::TearDown();
    }

    // One frame of the screen's input with the cursor at (x, y) and the left button as given.
    void Frame(int x, int y, bool down, KRState* state = nullptr) {
        engine->m_input.cursorX = x;
        engine->m_input.cursorY = y;
        engine->m_input.buttons[0] = down ? 1 : 0;
        (state != nullptr ? state : &screen)->m_gui.HandleScreenInput(*engine);
        engine->m_input.EndFrame();
    }

    PlainState screen;
    KRGUIButton* button = nullptr;
};

TEST_F(GUIButton, ThePressTakesTheClickAndTheReleaseOverTheButtonRunsTheScriptAndThenClicks) {
    Frame(250, 125, false);
    EXPECT_TRUE(button->m_hovered);
    EXPECT_FALSE(screen.m_gui.m_guiClick);

    Frame(250, 125, true);
    EXPECT_TRUE(button->m_pressed);
    EXPECT_EQ(button->m_state, 1);
    EXPECT_TRUE(screen.m_gui.m_guiClick);
    EXPECT_TRUE(g_runs.empty());

    // Held: the flag was for the press only, and nothing runs yet.
    Frame(255, 130, true);
    EXPECT_FALSE(screen.m_gui.m_guiClick);
    EXPECT_TRUE(button->m_pressed);
    EXPECT_TRUE(g_runs.empty());

    Frame(255, 130, false);
    EXPECT_EQ(g_runs, std::vector<int>{0}); // the script ran before any click
    EXPECT_EQ(Clicks(), 1);
    EXPECT_FALSE(button->m_pressed);
    EXPECT_EQ(button->m_state, 0);

    // Released once is released: further frames run nothing.
    Frame(255, 130, false);
    EXPECT_EQ(g_runs.size(), 1u);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(GUIButton, PressedOnAndReleasedOffTheButtonOnlyLetsGo) {
    Frame(250, 125, true);
    ASSERT_TRUE(button->m_pressed);
    Frame(400, 125, true);
    EXPECT_FALSE(button->m_hovered);
    Frame(400, 125, false);
    EXPECT_FALSE(button->m_pressed);
    EXPECT_EQ(button->m_state, 0);
    EXPECT_TRUE(g_runs.empty());
    EXPECT_EQ(Clicks(), 0);
    // Back over it and released again: there is no press left to finish.
    Frame(250, 125, false);
    EXPECT_TRUE(g_runs.empty());
}

TEST_F(GUIButton, PressedOffAndReleasedOnTheButtonDoesNothing) {
    Frame(400, 300, true);
    EXPECT_FALSE(button->m_pressed);
    EXPECT_FALSE(screen.m_gui.m_guiClick);
    Frame(250, 125, true);
    EXPECT_FALSE(button->m_pressed);
    Frame(250, 125, false);
    EXPECT_TRUE(g_runs.empty());
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(GUIButton, AnInactiveOrHiddenButtonIgnoresTheMouse) {
    button->m_active = false;
    Frame(250, 125, false);
    Frame(250, 125, true);
    EXPECT_FALSE(button->m_hovered);
    EXPECT_FALSE(button->m_pressed);
    EXPECT_FALSE(screen.m_gui.m_guiClick);
    Frame(250, 125, false);
    EXPECT_TRUE(g_runs.empty());

    button->m_active = true;
    button->m_sprite.m_visible = false;
    Frame(250, 125, true);
    EXPECT_FALSE(button->m_hovered);
    EXPECT_FALSE(button->m_pressed);
    Frame(250, 125, false);
    EXPECT_TRUE(g_runs.empty());
    EXPECT_EQ(Clicks(), 0);
}

TEST_F(GUIButton, AScriptThatIsNotRegisteredIsOnlyReportedAndTheClickStillSounds) {
    button->m_action = "Recrod";
    Frame(250, 125, true);
    CapturedLog log;
    Frame(250, 125, false);
    EXPECT_EQ(log.Lines(), Lines{"Cannot find script by name"});
    EXPECT_TRUE(g_runs.empty());
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(GUIButton, ThePressMarksTheScreenOnTopEvenWhenTheButtonBelongsToOneBelow) {
    PlainState top("Top");
    top.m_gui.Init(*engine);
    engine->m_stack = {&screen, &top};
    Frame(250, 125, true, &screen);
    EXPECT_TRUE(top.m_gui.m_guiClick);
    EXPECT_FALSE(screen.m_gui.m_guiClick);
    EXPECT_TRUE(button->m_pressed);
    engine->m_stack = {&screen};
}

TEST_F(GUIButton, TheVirtualScreenLiesBetweenTheSideBarsAndFillsTheHeight) {
    KRGUIObject item("Corner", sheet, 100.0f, 50.0f);
    // 1280 x 720 with bars of 160: 960 pixels for 800 units (1.2 each), 720 for 600 (1.2 each).
    const float w = 1280.0f, h = 720.0f, m = 160.0f;
    EXPECT_TRUE(item.IsMouseOver(160.0f, 0.0f, w, h, m));
    EXPECT_FALSE(item.IsMouseOver(159.5f, 10.0f, w, h, m));
    EXPECT_TRUE(item.IsMouseOver(280.0f, 60.0f, w, h, m));
    EXPECT_FALSE(item.IsMouseOver(280.5f, 30.0f, w, h, m));
    EXPECT_FALSE(item.IsMouseOver(200.0f, 60.5f, w, h, m));
    // Without bars the same item starts at pixel 0.
    EXPECT_TRUE(item.IsMouseOver(0.0f, 0.0f, 800.0f, 600.0f, 0.0f));
    EXPECT_FALSE(item.IsMouseOver(100.5f, 0.0f, 800.0f, 600.0f, 0.0f));
    item.m_x = 700.0f;
    item.m_y = 550.0f;
    EXPECT_TRUE(item.IsMouseOver(160.0f + 960.0f, 720.0f, w, h, m));
    EXPECT_FALSE(item.IsMouseOver(160.0f + 960.0f + 1.0f, 700.0f, w, h, m));

    // The engine's display gives the button the same mapping.
    SetBackBuffer(1280, 720, 160);
    Frame(160 + 240, 120, false); // virtual (200, 100): the button's corner
    EXPECT_TRUE(button->m_hovered);
    Frame(399, 140, false);
    EXPECT_FALSE(button->m_hovered);
}

TEST_F(GUIButton, ChildrenAreOffsetByTheirWindowsAndComeNearerByOneStepPerWindow) {
    KRGUIWindow outer("Outer", sheet, 400.0f, 400.0f);
    KRGUIWindow inner("Inner", sheet, 200.0f, 200.0f);
    KRGUIObject child("Child", sheet, 20.0f, 20.0f);
    outer.m_x = 100.0f;
    outer.m_y = 50.0f;
    child.m_x = 10.0f;
    child.m_y = 10.0f;
    ASSERT_TRUE(outer.AddChild(&child));
    plat::Vector3 p = child.AddParentOffsets({child.m_x, child.m_y, child.m_z});
    EXPECT_FLOAT_EQ(p.x, 110.0f);
    EXPECT_FLOAT_EQ(p.y, 60.0f);
    EXPECT_FLOAT_EQ(p.z, 0.1f);
    EXPECT_TRUE(child.IsMouseOver(110.0f, 60.0f, 800.0f, 600.0f, 0.0f));
    EXPECT_FALSE(child.IsMouseOver(109.0f, 61.0f, 800.0f, 600.0f, 0.0f));

    outer.RemoveChild(&child);
    EXPECT_EQ(child.m_parent, nullptr);
    inner.m_x = 5.0f;
    inner.m_y = 7.0f;
    inner.m_z = 0.5f;
    outer.m_z = 0.3f;
    ASSERT_TRUE(inner.AddChild(&child));
    ASSERT_TRUE(outer.AddChild(&inner));
    p = child.AddParentOffsets({child.m_x, child.m_y, child.m_z});
    EXPECT_FLOAT_EQ(p.x, 115.0f);
    EXPECT_FLOAT_EQ(p.y, 67.0f);
    EXPECT_FLOAT_EQ(p.z, 0.1f + 0.5f - 0.1f + 0.3f - 0.1f);
}

TEST_F(GUIButton, AWindowRefusesItselfItsHoldersAnotherWindowsChildAndARepeat) {
    KRGUIWindow a("A", sheet, 10.0f, 10.0f);
    KRGUIWindow b("B", sheet, 10.0f, 10.0f);
    KRGUIWindow c("C", sheet, 10.0f, 10.0f);
    KRGUIObject item("Item", sheet, 10.0f, 10.0f);
    EXPECT_FALSE(a.AddChild(&a));
    EXPECT_FALSE(a.AddChild(nullptr));
    EXPECT_TRUE(a.AddChild(&item));
    EXPECT_FALSE(a.AddChild(&item));
    EXPECT_FALSE(b.AddChild(&item));
    EXPECT_EQ(item.m_parent, &a);
    EXPECT_TRUE(b.AddChild(&c));
    EXPECT_TRUE(a.AddChild(&b));
    // A window that holds a window cannot become its child: the offsets would walk round for ever.
    EXPECT_FALSE(c.AddChild(&a));
    EXPECT_FALSE(b.AddChild(&a));
    EXPECT_EQ(a.m_children, (std::vector<KRGUIObject*>{&item, &b}));
    EXPECT_EQ(c.m_children.empty(), true);
}

// Where a world matrix takes a corner of the unit quad (row vector, w = 1).
std::pair<float, float> Corner(const plat::Matrix& m, float x, float y) {
    return {x * m(0, 0) + y * m(1, 0) + m(3, 0), x * m(0, 1) + y * m(1, 1) + m(3, 1)};
}

TEST_F(GUIButton, AHoveredButtonIsDrawnTenUnitsLargerAboutItsCentreAndThenPutBack) {
    button->Load(*engine);
    const plat::Matrix caller = plat::D3DXMatrixTranslation(1.0f, 2.0f, 3.0f);
    device->SetTransform(plat::kTsWorld, caller);

    button->Render(*engine);
    ASSERT_EQ(device->spyDraws.size(), 1u);
    const plat::Matrix plain = device->spyDraws.back().world;
    EXPECT_EQ(Corner(plain, -0.5f, 0.5f), std::make_pair(201.0f, -98.0f));
    EXPECT_EQ(Corner(plain, 0.5f, -0.5f), std::make_pair(301.0f, -148.0f));
    EXPECT_FLOAT_EQ(device->spyDraws.back().world(3, 2), 3.1f);

    button->m_hovered = true;
    button->Render(*engine);
    ASSERT_EQ(device->spyDraws.size(), 2u);
    const plat::Matrix grown = device->spyDraws.back().world;
    EXPECT_EQ(Corner(grown, -0.5f, 0.5f), std::make_pair(196.0f, -93.0f));
    EXPECT_EQ(Corner(grown, 0.5f, -0.5f), std::make_pair(306.0f, -153.0f));
    EXPECT_EQ(button->m_x, 200.0f);
    EXPECT_EQ(button->m_y, 100.0f);
    EXPECT_EQ(button->m_w, 100.0f);
    EXPECT_EQ(button->m_h, 50.0f);

    plat::Matrix after;
    device->GetTransform(plat::kTsWorld, after);
    EXPECT_EQ(after, caller);

    // Inactive items and hidden buttons draw nothing.
    button->m_active = false;
    button->Render(*engine);
    button->m_active = true;
    button->m_sprite.m_visible = false;
    button->Render(*engine);
    EXPECT_EQ(device->spyDraws.size(), 2u);
}

} // namespace
