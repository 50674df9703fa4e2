#include "engine/engine.h"
#include "engine/krtimer.h"
#include "platform/null/nullplatform.h"
#include "recordingstate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(FrameTimer, TheFirstTickMeasuresFromConstructionAndClampsBeforeScaling) {
    plat::ManualClock clock;
    clock.now = 5000;
    FrameTimer timer(&clock);
    timer.clampOn = true;
    timer.scaleOn = true;
    timer.scale = 2.5;
    clock.now += 200;
    timer.Tick();
    EXPECT_NEAR(timer.rawDelta, 0.2, 1e-6);
    EXPECT_NEAR(timer.gameDelta, 0.05 * 2.5, 1e-6);
    clock.now += 10;
    timer.Tick();
    EXPECT_NEAR(timer.gameDelta, 0.010 * 2.5, 1e-6);
}

TEST(FrameTimer, PausedMaximumStopsGameTimeWhileRawTimeRuns) {
    plat::ManualClock clock;
    FrameTimer timer(&clock);
    timer.clampOn = true;
    timer.maxDelta = 0.0;
    clock.now += 33;
    timer.Tick();
    EXPECT_NEAR(timer.gameDelta, 0.0, 1e-6);
    EXPECT_NEAR(timer.rawDelta, 0.033, 1e-6);
}

TEST(FrameTimer, WithoutClampingAStallPassesWhole) {
    plat::ManualClock clock;
    FrameTimer timer(&clock);
    clock.now += 4000;
    timer.Tick();
    EXPECT_NEAR(timer.gameDelta, 4.0, 1e-6);
}

TEST(FrameTimer, ResetSwitchesClampAndScaleOffButKeepsTheMaximum) {
    plat::ManualClock clock;
    FrameTimer timer(&clock);
    timer.clampOn = true;
    timer.scaleOn = true;
    timer.scale = 3.0;
    timer.maxDelta = 0.0;
    clock.now = 1000;
    timer.Reset();
    EXPECT_FALSE(timer.clampOn);
    EXPECT_FALSE(timer.scaleOn);
    EXPECT_DOUBLE_EQ(timer.scale, 1.0);
    EXPECT_DOUBLE_EQ(timer.maxDelta, 0.0);
    clock.now = 1100;
    timer.Tick();
    EXPECT_NEAR(timer.gameDelta, 0.1, 1e-6);
    EXPECT_FLOAT_EQ(timer.Elapsed(), 0.1f);
}

TEST(FrameTimer, TimeNeverRunsBackwardsAndNeverWraps) {
    plat::ManualClock clock;
    clock.now = (uint64_t{1} << 32) - 10; // where a 32-bit millisecond clock would wrap
    FrameTimer timer(&clock);
    clock.now += 20;
    timer.Tick();
    EXPECT_NEAR(timer.rawDelta, 0.02, 1e-6);
    clock.now -= 500;
    timer.Tick();
    EXPECT_NEAR(timer.rawDelta, 0.0, 1e-6);
    EXPECT_NEAR(timer.gameDelta, 0.0, 1e-6);
    clock.now += 510;
    timer.Tick();
    EXPECT_NEAR(timer.rawDelta, 0.01, 1e-9);
}

class DebugOverlay : public ::testing::Test {
protected:
    void SetUp() override { plat::Install({nullptr, &clock, nullptr}); }
    void TearDown() override { plat::Install({}); }
    plat::ManualClock clock;
    std::vector<std::string> journal;
    RecordingState state{"IntroState", journal};
};

TEST_F(DebugOverlay, OffDrawsNothing) {
    Engine engine;
    EXPECT_TRUE(DebugOverlayTexts(engine, state).empty());
}

TEST_F(DebugOverlay, TextsAndPlacesFollowTheMargin) {
    Engine engine;
    engine.m_showDebugInfo = true;
    engine.m_display.margin = 120;
    engine.m_timer.clampOn = true;
    clock.now += 25;
    engine.m_timer.Tick();
    auto texts = DebugOverlayTexts(engine, state);
    ASSERT_EQ(texts.size(), 3u); // no audio system: no listener line
    EXPECT_EQ(texts[0].text, "Frame Time:  0.025000");
    EXPECT_EQ(texts[0].x, 380);
    EXPECT_EQ(texts[0].y, 10);
    EXPECT_EQ(texts[1].text, "Frame Rate:  40.000000");
    EXPECT_EQ(texts[1].y, 25);
    EXPECT_EQ(texts[2].text, "IntroState");
    EXPECT_EQ(texts[2].x, 130);
    EXPECT_EQ(texts[2].y, 50);
    for (const DebugText& t : texts) {
        EXPECT_EQ(t.colour, 0xFFFFFFFFu);
    }
}

TEST_F(DebugOverlay, AZeroFrameShowsAnInfiniteRate) {
    Engine engine;
    engine.m_showDebugInfo = true;
    auto texts = DebugOverlayTexts(engine, state);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, "Frame Rate:  inf");
}

} // namespace
