// The intro on a clock that moves only when told and on input set by hand: the splashes' five-second
// steps, the fade and the change to the loading screen when black, the skip inputs, a layout without the
// second splash, and the check line of a display state it does not know.
#include "engine/engine.h"
#include "flow/introstate.h"
#include "flow/loadingstate.h"
#include "scene/test_gui_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using guitest::CapturedLog;
using Lines = std::vector<std::string>;

class Intro : public guitest::GUITest {
  protected:
    void SetUp() override {
        GUITest::SetUp();
        first = WritePicture("corvessa.xml", "CorvessaPicture", 1, "");
        second = WritePicture("lumbrake.xml", "LumbrakePicture", 1, "");
        engine->m_request = REQUEST_RUN;
        intro = std::make_unique<IntroState>(&clock);
    }
    void TearDown() override {
        if (intro->m_gui.m_mainWindow != nullptr) {
            CapturedLog log;
            intro->Unload(*engine);
        }
        intro.reset();
        GUITest::TearDown();
    }

    std::string Item(const std::string& name, const std::string& file) {
        return "<" + name + " type=\"image\" file=\"" + file + "\" x=\"0\" y=\"0\" w=\"800\" h=\"600\"/>\n";
    }

    void WriteIntroLayout(bool withSecond = true) {
        WriteLayout("guiintro",
                    Item("CorvessaSplash", first) + (withSecond ? Item("TeamLumbrakeSplash", second) : ""));
    }

    Lines Start() {
        CapturedLog log;
        intro->Load(*engine);
        intro->Initialize(*engine);
        return log.Lines();
    }

    // One frame of the screen: `milliseconds` pass, then its input and update, then the input of this
    // frame becomes the previous one.
    Lines Frame(uint64_t milliseconds = 50) {
        CapturedLog log;
        clock.now += milliseconds;
        engine->m_timer.rawDelta = static_cast<double>(milliseconds) / 1000.0;
        intro->HandleInput(*engine);
        intro->Update(*engine);
        engine->m_input.EndFrame();
        return log.Lines();
    }

    bool Shown(const char* name) const {
        const KRGUIObject* item = intro->m_gui.FindByName(name);
        return item != nullptr && item->m_active;
    }

    bool LeavingForLoadingScreen() const {
        return engine->m_request == REQUEST_CHANGE &&
               engine->m_lastRequestedState == &LoadingState::Instance();
    }

    static bool Has(const Lines& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    std::string first;
    std::string second;
    std::unique_ptr<IntroState> intro;
};

TEST_F(Intro, ItLoadsItsLayoutFadesInAndShowsOnlyTheFirstSplash) {
    WriteIntroLayout();
    const Lines lines = Start();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Loading MainMenuState");
    EXPECT_EQ(lines.back(), "Initializing IntroState");
    EXPECT_FALSE(Has(lines, "Crap."));
    EXPECT_EQ(intro->GetName(), "IntroState");
    EXPECT_EQ(intro->m_gui.m_items.size(), 2u);
    EXPECT_TRUE(Shown("CorvessaSplash"));
    EXPECT_FALSE(Shown("TeamLumbrakeSplash"));
    EXPECT_EQ(intro->m_displayState, IntroState::kFirstSplash);
    EXPECT_EQ(intro->m_gui.m_fadeState, FADE_UNFADING);
}

TEST_F(Intro, EachSplashStaysFiveSecondsThenTheScreenFadesAndLeavesOnlyWhenBlack) {
    WriteIntroLayout();
    Start();
    // The unfade of the first frames ends long before the first step.
    for (int i = 0; i < 20; ++i) {
        Frame(50);
    }
    EXPECT_EQ(intro->m_gui.m_fadeState, FADE_IDLE);
    // 1.0 s has passed; exactly 5.0 s is not yet more than 5.
    Frame(4000);
    EXPECT_EQ(intro->m_displayState, IntroState::kFirstSplash);
    EXPECT_TRUE(Shown("CorvessaSplash"));
    Frame(1);
    EXPECT_EQ(intro->m_displayState, IntroState::kSecondSplash);
    EXPECT_FALSE(Shown("CorvessaSplash"));
    EXPECT_TRUE(Shown("TeamLumbrakeSplash"));
    EXPECT_EQ(engine->m_request, REQUEST_RUN);

    // The timer started again at the switch.
    Frame(4999);
    EXPECT_EQ(intro->m_displayState, IntroState::kSecondSplash);
    Frame(2);
    EXPECT_EQ(intro->m_displayState, IntroState::kFadingOut);
    EXPECT_EQ(intro->m_gui.m_fadeState, FADE_TO_BLACK);
    EXPECT_EQ(engine->m_request, REQUEST_RUN);

    int frames = 0;
    while (intro->m_gui.m_fadeState != FADE_BLACK && frames < 50) {
        Frame(60);
        EXPECT_EQ(engine->m_request, REQUEST_RUN) << "left before the screen was black";
        ++frames;
    }
    ASSERT_EQ(intro->m_gui.m_fadeState, FADE_BLACK);
    Frame(60);
    EXPECT_TRUE(LeavingForLoadingScreen());
    // The change is pending: a second request in the same wait is refused, not repeated.
    EXPECT_EQ(Frame(60), Lines{"Change State request rejected."});
}

TEST_F(Intro, EscEnterSpaceAndEitherMouseReleaseSkipAtOnce) {
    WriteIntroLayout();
    Start();
    struct Skip {
        const char* what;
        int key;
        int button;
    };
    for (const Skip& skip :
         {Skip{"Esc", KEY_ESCAPE, -1}, Skip{"Enter", KEY_ENTER, -1}, Skip{"Space", KEY_SPACE, -1},
          Skip{"left release", -1, 0}, Skip{"right release", -1, 1}}) {
        engine->m_request = REQUEST_RUN;
        engine->m_lastRequestedState = intro.get();
        if (skip.key >= 0) {
            engine->m_input.keys[skip.key] = 1;
        } else {
            // Pressed in the frame before, released now: the button may have gone down before the intro.
            engine->m_input.buttons[skip.button] = 1;
            engine->m_input.EndFrame();
            engine->m_input.buttons[skip.button] = 0;
        }
        Frame(16);
        EXPECT_TRUE(LeavingForLoadingScreen()) << skip.what;
        EXPECT_EQ(intro->m_displayState, IntroState::kFirstSplash) << skip.what;
        if (skip.key >= 0) {
            engine->m_input.keys[skip.key] = 0;
            Frame(16);
        }
    }
}

TEST_F(Intro, HeldKeysPressesAndOtherKeysDoNotSkip) {
    WriteIntroLayout();
    Start();
    engine->m_lastRequestedState = intro.get();
    // Held from before the intro: down in the previous frame too.
    engine->m_input.keys[KEY_SPACE] = 1;
    engine->m_input.keys[KEY_ESCAPE] = 1;
    engine->m_input.EndFrame();
    Frame(16);
    EXPECT_EQ(engine->m_request, REQUEST_RUN);
    // Their release does not skip either.
    engine->m_input.keys[KEY_SPACE] = 0;
    engine->m_input.keys[KEY_ESCAPE] = 0;
    Frame(16);
    // A button going down, a key of no meaning here.
    engine->m_input.buttons[0] = 1;
    engine->m_input.keys[KeyLetter('A')] = 1;
    engine->m_input.keys[KEY_TAB] = 1;
    Frame(16);
    EXPECT_EQ(engine->m_request, REQUEST_RUN);
    EXPECT_EQ(engine->m_lastRequestedState, intro.get());
    EXPECT_EQ(intro->m_displayState, IntroState::kFirstSplash);
}

TEST_F(Intro, WithoutTheSecondSplashItReportsAtInitializeAndAtTheSwitchAndGoesOn) {
    WriteIntroLayout(false);
    const Lines start = Start();
    ASSERT_GE(start.size(), 2u);
    EXPECT_EQ(Lines(start.end() - 2, start.end()), (Lines{"Initializing IntroState", "Crap."}));
    EXPECT_EQ(std::count(start.begin(), start.end(), "Crap."), 1);
    Frame(1000);
    Lines lines = Frame(4001);
    EXPECT_EQ(lines, Lines{"Crap."});
    EXPECT_EQ(intro->m_displayState, IntroState::kSecondSplash);
    EXPECT_FALSE(Shown("CorvessaSplash"));
    lines = Frame(5001);
    EXPECT_EQ(lines, Lines{});
    EXPECT_EQ(intro->m_displayState, IntroState::kFadingOut);
}

TEST_F(Intro, WaitingAtTheFadeOrInAnUnknownStateOnlyReportsEveryFiveSeconds) {
    WriteIntroLayout();
    Start();
    for (int i = 0; i < 20; ++i) {
        Frame(50);
    }
    // The fader never turns black here: another screen faded it back in.
    intro->m_displayState = IntroState::kFadingOut;
    const std::string check = "introstate(185) : \"m_displayState in IntroState screwd up.\"";
    Frame(3000);
    EXPECT_EQ(Frame(2001), Lines{check});
    EXPECT_EQ(Frame(4000), Lines{});
    EXPECT_EQ(Frame(1001), Lines{check});
    EXPECT_EQ(intro->m_displayState, IntroState::kFadingOut);
    EXPECT_EQ(engine->m_request, REQUEST_RUN);

    intro->m_displayState = 7;
    EXPECT_EQ(Frame(5001), Lines{check});
    EXPECT_EQ(intro->m_displayState, 7);
    EXPECT_TRUE(Shown("CorvessaSplash"));
    EXPECT_FALSE(Shown("TeamLumbrakeSplash"));
}

TEST_F(Intro, CleanupAndUnloadLogAndTheGuiGoes) {
    WriteIntroLayout();
    Start();
    CapturedLog log;
    intro->Cleanup(*engine);
    intro->Unload(*engine);
    EXPECT_EQ(log.Lines(), (Lines{"Cleanup IntroState", "Unloading IntroState"}));
    EXPECT_TRUE(intro->m_gui.m_items.empty());
    EXPECT_EQ(intro->m_gui.m_mainWindow, nullptr);
    EXPECT_EQ(intro->m_gui.m_fader, nullptr);
}

} // namespace
