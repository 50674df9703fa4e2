// The story on a clock that moves only when told: its phases from fade-in to page to fade-out, the
// inputs that turn a page and those that are ignored during a fade, Esc starting the game once, the end
// after the eighth page (and no page past it), and a layout that lacks a page.
#include "engine/engine.h"
#include "engine/krassetpaths.h"
#include "flow/storystate.h"
#include "scene/test_gui_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using guitest::CapturedLog;
using Lines = std::vector<std::string>;

int g_newGames = 0;
void CountNewGame() {
    ++g_newGames;
}

class Story : public guitest::GUITest {
  protected:
    void SetUp() override {
        GUITest::SetUp();
        page = WritePicture("page.xml", "StoryPage", 1, "");
        engine->m_request = REQUEST_RUN;
        engine->m_scripts.m_scripts["StartGame"] = CountNewGame;
        engine->m_audio.LoadSound(AssetPaths::kMusicGypsy, plat::kAudioLoopNormal);
        g_newGames = 0;
        story = std::make_unique<StoryState>(&clock);
    }
    void TearDown() override {
        if (story->m_gui.m_mainWindow != nullptr) {
            CapturedLog log;
            story->Unload(*engine);
        }
        story.reset();
        GUITest::TearDown();
    }

    void WriteStoryLayout(int missing = 0) {
        std::string items;
        for (int i = 1; i <= 8; ++i) {
            if (i != missing) {
                items += "<Story" + std::to_string(i) + " type=\"image\" file=\"" + page +
                         "\" x=\"80\" y=\"90\" w=\"640\" h=\"400\"/>\n";
            }
        }
        WriteLayout("guistory", items);
    }

    Lines Start() {
        CapturedLog log;
        story->Load(*engine);
        story->Initialize(*engine);
        return log.Lines();
    }

    Lines Frame(uint64_t milliseconds = 60) {
        CapturedLog log;
        clock.now += milliseconds;
        engine->m_timer.rawDelta = static_cast<double>(milliseconds) / 1000.0;
        story->HandleInput(*engine);
        story->Update(*engine);
        engine->m_input.EndFrame();
        return log.Lines();
    }

    // Frames until the phase is reached; false when it never is.
    bool RunUntilPhase(int32_t phase, int limit = 100) {
        for (int i = 0; i < limit && story->m_phase != phase; ++i) {
            Frame();
        }
        return story->m_phase == phase;
    }

    // The pages shown now, by number.
    std::vector<int> ShownPages() const {
        std::vector<int> shown;
        for (int i = 1; i <= 8; ++i) {
            const KRGUIObject* item = story->m_gui.FindByName("Story" + std::to_string(i));
            if (item != nullptr && item->m_active) {
                shown.push_back(i);
            }
        }
        return shown;
    }

    void Press(int key) {
        engine->m_input.keys[key] = 1;
        Frame(16);
        engine->m_input.keys[key] = 0;
        Frame(16);
    }

    void ReleaseLeftButton() {
        engine->m_input.buttons[0] = 1;
        Frame(16);
        engine->m_input.buttons[0] = 0;
        Frame(16);
    }

    std::string page;
    std::unique_ptr<StoryState> story;
};

TEST_F(Story, ItStartsOnPageOneFadingInWithItsMusic) {
    WriteStoryLayout();
    const Lines lines = Start();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Loading StoryState");
    EXPECT_EQ(lines.back(), "Initializing StoryState");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Crap."), 0);
    EXPECT_EQ(story->GetName(), "StoryState");
    EXPECT_EQ(ShownPages(), std::vector<int>{1});
    EXPECT_EQ(story->m_page, 0u);
    EXPECT_EQ(story->m_phase, StoryState::kFadingIn);
    EXPECT_FALSE(story->m_skipped);
    EXPECT_EQ(story->m_gui.m_fadeState, FADE_UNFADING);
    bool gypsy = false;
    for (const std::string& event : audio.events) {
        gypsy = gypsy || (event.rfind("start ", 0) == 0 && event.find("Gypsy.ogg") != std::string::npos);
    }
    EXPECT_TRUE(gypsy);
    EXPECT_FALSE(engine->m_gameData->m_musicChannel.IsNull());
}

TEST_F(Story, APageShowsTenSecondsAfterItsFadeInThenFadesOutAndTheNextFadesIn) {
    WriteStoryLayout();
    Start();
    ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
    EXPECT_EQ(story->m_gui.m_fadeState, FADE_IDLE);
    Frame(9000);
    Frame(1000);
    EXPECT_EQ(story->m_phase, StoryState::kShowingPage);
    Frame(1);
    EXPECT_EQ(story->m_phase, StoryState::kFadingOut);
    EXPECT_EQ(story->m_gui.m_fadeState, FADE_TO_BLACK);
    EXPECT_EQ(ShownPages(), std::vector<int>{1});

    ASSERT_TRUE(RunUntilPhase(StoryState::kFadingIn));
    EXPECT_EQ(story->m_page, 1u);
    EXPECT_EQ(ShownPages(), std::vector<int>{2});
    EXPECT_EQ(story->m_gui.m_fadeState, FADE_UNFADING);
    ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
    EXPECT_EQ(g_newGames, 0);
}

TEST_F(Story, AClickEnterOrSpaceTurnsAShownPageButNothingDuringAFade) {
    WriteStoryLayout();
    Start();
    // During the first fade-in nothing turns the page.
    ReleaseLeftButton();
    Press(KEY_SPACE);
    EXPECT_EQ(story->m_phase, StoryState::kFadingIn);
    ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));

    ReleaseLeftButton();
    EXPECT_EQ(story->m_phase, StoryState::kFadingOut);
    // And nothing more while it fades out.
    Press(KEY_ENTER);
    ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
    EXPECT_EQ(story->m_page, 1u);

    Press(KEY_ENTER);
    ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
    EXPECT_EQ(story->m_page, 2u);
    Press(KEY_SPACE);
    ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
    EXPECT_EQ(story->m_page, 3u);
    EXPECT_EQ(ShownPages(), std::vector<int>{4});

    // A right release or a press of the left button is no page turn.
    engine->m_input.buttons[1] = 1;
    Frame(16);
    engine->m_input.buttons[1] = 0;
    engine->m_input.buttons[0] = 1;
    Frame(16);
    engine->m_input.buttons[0] = 0;
    engine->m_input.EndFrame();
    EXPECT_EQ(story->m_phase, StoryState::kShowingPage);
}

TEST_F(Story, AfterTheEighthPageTheGameStartsOnceAndThePageStopsThere) {
    WriteStoryLayout();
    Start();
    for (uint32_t shown = 0; shown < 8; ++shown) {
        ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage)) << shown;
        EXPECT_EQ(story->m_page, shown);
        EXPECT_EQ(ShownPages(), std::vector<int>{static_cast<int>(shown) + 1});
        EXPECT_EQ(g_newGames, 0);
        Press(KEY_SPACE);
    }
    ASSERT_TRUE(RunUntilPhase(StoryState::kFadingIn));
    EXPECT_EQ(g_newGames, 1);
    EXPECT_EQ(story->m_page, StoryState::kPageCount);
    EXPECT_EQ(ShownPages(), std::vector<int>{});

    // Should the story stay up (the change refused), its fades go on without a page past the last; each
    // ends by asking for the new game again.
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
        Frame(10001);
        ASSERT_TRUE(RunUntilPhase(StoryState::kFadingIn));
        EXPECT_EQ(story->m_page, StoryState::kPageCount);
        EXPECT_EQ(ShownPages(), std::vector<int>{});
    }
    EXPECT_EQ(g_newGames, 4);
}

TEST_F(Story, EscStartsTheGameAtOnceAndTheEndDoesNotStartItAgain) {
    WriteStoryLayout();
    Start();
    ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
    Press(KEY_SPACE);
    ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
    Press(KEY_SPACE);
    ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
    EXPECT_EQ(story->m_page, 2u);
    Press(KEY_ESCAPE);
    EXPECT_EQ(g_newGames, 1);
    EXPECT_TRUE(story->m_skipped);
    // Held, it does not start it again.
    engine->m_input.keys[KEY_ESCAPE] = 1;
    engine->m_input.EndFrame();
    Frame(16);
    engine->m_input.keys[KEY_ESCAPE] = 0;
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
        Press(KEY_SPACE);
    }
    ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
    EXPECT_EQ(story->m_page, StoryState::kPageCount);
    EXPECT_EQ(g_newGames, 1);
}

TEST_F(Story, AMissingPageIsReportedOnceAndItsTurnShowsNothing) {
    WriteStoryLayout(5);
    const Lines start = Start();
    EXPECT_EQ(std::count(start.begin(), start.end(), "Crap."), 1);
    EXPECT_EQ(story->m_pages[4], nullptr);
    Lines later;
    for (uint32_t shown = 0; shown < 8; ++shown) {
        ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
        EXPECT_EQ(story->m_page, shown);
        EXPECT_EQ(ShownPages(),
                  shown == 4 ? std::vector<int>{} : std::vector<int>{static_cast<int>(shown) + 1});
        engine->m_input.keys[KEY_SPACE] = 1;
        for (const std::string& line : Frame(16)) {
            later.push_back(line);
        }
        engine->m_input.keys[KEY_SPACE] = 0;
        Frame(16);
    }
    ASSERT_TRUE(RunUntilPhase(StoryState::kFadingIn));
    EXPECT_EQ(g_newGames, 1);
    EXPECT_EQ(std::count(later.begin(), later.end(), "Crap."), 0);
}

TEST_F(Story, WithoutANewGameScriptTheEndOnlyReportsIt) {
    engine->m_scripts.m_scripts.erase("StartGame");
    WriteStoryLayout();
    Start();
    Lines lines;
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(RunUntilPhase(StoryState::kShowingPage));
        Press(KEY_SPACE);
    }
    for (int i = 0; i < 100 && story->m_phase != StoryState::kFadingIn; ++i) {
        for (const std::string& line : Frame()) {
            lines.push_back(line);
        }
    }
    EXPECT_EQ(lines, Lines{"Cannot find script by name"});
    EXPECT_EQ(engine->m_request, REQUEST_RUN);
}

TEST_F(Story, CleanupAndUnloadLogAndForgetThePages) {
    WriteStoryLayout();
    Start();
    CapturedLog log;
    story->Cleanup(*engine);
    story->Unload(*engine);
    EXPECT_EQ(log.Lines(), (Lines{"Cleanup StoryState", "Unloading StoryState"}));
    for (const KRGUIObject* p : story->m_pages) {
        EXPECT_EQ(p, nullptr);
    }
    EXPECT_TRUE(story->m_gui.m_items.empty());
}

} // namespace
