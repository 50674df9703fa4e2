#include "engine/engine.h"
#include "platform/null/nullgraphics.h"
#include "platform/null/nullplatform.h"
#include "recordingstate.h"

#include <gtest/gtest.h>

using Journal = std::vector<std::string>;

namespace {

class EngineRequests : public ::testing::Test {
protected:
    void SetUp() override {
        plat::Install({&window, &clock, &messageBox});
        window.Create({"KRWC", "Thornvale Oriskar", 0, 0, 0, 800, 600});
        engine = std::make_unique<Engine>();
        ASSERT_TRUE(engine->Init(&window, &a));
    }
    void TearDown() override {
        engine.reset();
        plat::Install({});
    }

    // Runs one frame and returns what it called.
    Journal Frame() {
        journal.clear();
        engine->Frame();
        return journal;
    }

    // Runs the first frame, which pushes the initial state.
    void Start() { Frame(); }

    std::string Captured(const std::function<void()>& body) {
        testing::internal::CaptureStdout();
        body();
        return testing::internal::GetCapturedStdout();
    }

    plat::NullWindow window;
    plat::ManualClock clock;
    plat::RecordingMessageBox messageBox;
    Journal journal;
    RecordingState a{"A", journal};
    RecordingState b{"B", journal};
    RecordingState c{"C", journal};
    std::unique_ptr<Engine> engine;
};

TEST_F(EngineRequests, InitPostsPushOfTheInitialStateWhichTheFirstFrameApplies) {
    EXPECT_EQ(engine->m_request, REQUEST_PUSH);
    EXPECT_EQ(engine->m_lastRequestedState, &a);
    EXPECT_TRUE(engine->m_timer.clampOn);
    EXPECT_DOUBLE_EQ(engine->m_timer.maxDelta, 0.05);
    std::string out = Captured([&] { Start(); });
    EXPECT_EQ(out, "Pushed state\n");
    EXPECT_EQ(journal, (Journal{"A.Load", "A.Initialize"}));
    EXPECT_EQ(engine->m_request, REQUEST_RUN);
    EXPECT_EQ(Frame(), (Journal{"A.HandleInput", "A.Update", "A.Render"}));
}

TEST_F(EngineRequests, PushCoversTheTopAndPopUncoversItWithoutReloading) {
    Start();
    EXPECT_TRUE(engine->PushState(&b));
    EXPECT_EQ(Frame(), (Journal{"B.Load", "B.Initialize"}));
    EXPECT_EQ(engine->m_stack, (std::vector<KRState*>{&a, &b}));
    engine->PopState();
    EXPECT_EQ(Frame(), (Journal{"B.Cleanup", "B.Unload"}));
    EXPECT_EQ(engine->m_request, REQUEST_RUN);
    // A pop leaves the target of the last accepted request where it was.
    EXPECT_EQ(engine->m_lastRequestedState, &b);
    EXPECT_EQ(Frame(), (Journal{"A.HandleInput", "A.Update", "A.Render"}));
}

TEST_F(EngineRequests, ChangeReplacesTheTop) {
    Start();
    EXPECT_TRUE(engine->ChangeState(&b));
    std::string out = Captured([&] { Frame(); });
    EXPECT_EQ(out, "Changed state\n");
    EXPECT_EQ(journal, (Journal{"A.Cleanup", "A.Unload", "B.Load", "B.Initialize"}));
    EXPECT_EQ(engine->m_stack, (std::vector<KRState*>{&b}));
}

TEST_F(EngineRequests, ChangeOnAnEmptyStackSimplyPushes) {
    engine->m_request = REQUEST_CHANGE;
    engine->m_lastRequestedState = &b;
    EXPECT_EQ(Frame(), (Journal{"B.Load", "B.Initialize"}));
    EXPECT_EQ(engine->m_stack, (std::vector<KRState*>{&b}));
}

TEST_F(EngineRequests, PopToRootUnloadsEverythingAboveTheRootAndRunsIt) {
    Start();
    engine->PushState(&b);
    Frame();
    engine->PushState(&c);
    Frame();
    engine->ReturnToRootState();
    EXPECT_EQ(Frame(), (Journal{"C.Cleanup", "C.Unload", "B.Cleanup", "B.Unload"}));
    EXPECT_EQ(engine->m_request, REQUEST_RUN);
    EXPECT_EQ(Frame(), (Journal{"A.HandleInput", "A.Update", "A.Render"}));
}

TEST_F(EngineRequests, RestartCleansUpAndInitializesTheTop) {
    Start();
    engine->m_request = REQUEST_RESTART;
    EXPECT_EQ(Frame(), (Journal{"A.Cleanup", "A.Initialize"}));
    EXPECT_EQ(engine->m_request, REQUEST_RUN);
}

TEST_F(EngineRequests, PoppingTheLastStateQuitsOnTheFollowingFrame) {
    Start();
    engine->PopState();
    EXPECT_EQ(Frame(), (Journal{"A.Cleanup", "A.Unload"}));
    EXPECT_EQ(engine->m_request, REQUEST_QUIT);
    EXPECT_TRUE(engine->m_quitting);
    EXPECT_TRUE(engine->m_running);
    EXPECT_EQ(Frame(), Journal{});
    EXPECT_FALSE(engine->m_running);
    EXPECT_EQ(engine->m_request, REQUEST_QUIT);
}

TEST_F(EngineRequests, QuitUnloadsEveryStateTopFirstAndEndsThePlaylist) {
    Start();
    engine->PushState(&b);
    Frame();
    engine->m_audio.trackIndex = 3;
    engine->Quit();
    EXPECT_EQ(Frame(), (Journal{"B.Cleanup", "B.Unload", "A.Cleanup", "A.Unload"}));
    EXPECT_FALSE(engine->m_running);
    EXPECT_EQ(engine->m_audio.trackIndex, -1);
}

TEST_F(EngineRequests, OneRequestPerFrameTheSecondIsRejectedWithItsLine) {
    Start();
    EXPECT_TRUE(engine->PushState(&b));
    std::string out = Captured([&] {
        EXPECT_FALSE(engine->PushState(&c));
        EXPECT_FALSE(engine->ChangeState(&c));
        engine->PopState();
        engine->ReturnToRootState();
    });
    EXPECT_EQ(out, "Push State request rejected.\nChange State request rejected.\nPop State request rejected.\n"
                   "Return to Root State request rejected.\n");
    EXPECT_EQ(engine->m_request, REQUEST_PUSH);
    EXPECT_EQ(engine->m_lastRequestedState, &b);
}

TEST_F(EngineRequests, QuitOverridesAPendingRequestAndBlocksLaterOnes) {
    Start();
    engine->PushState(&b);
    engine->Quit();
    EXPECT_EQ(engine->m_request, REQUEST_QUIT);
    std::string out = Captured([&] { EXPECT_FALSE(engine->PushState(&c)); });
    EXPECT_EQ(out, "Push State request rejected.\n");
    EXPECT_EQ(Frame(), (Journal{"A.Cleanup", "A.Unload"}));
    EXPECT_EQ(engine->m_request, REQUEST_QUIT);
}

TEST_F(EngineRequests, RequestingAStackedStateIsRefusedSilently) {
    Start();
    std::string out = Captured([&] {
        EXPECT_FALSE(engine->PushState(&a));
        EXPECT_FALSE(engine->ChangeState(&a));
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(engine->m_request, REQUEST_RUN);
    EXPECT_EQ(engine->m_lastRequestedState, &a);
}

TEST_F(EngineRequests, RequestsMadeWhileARequestIsAppliedAreRejected) {
    Start();
    b.On("Initialize", [&](Engine& e) { EXPECT_FALSE(e.PushState(&c)); });
    engine->PushState(&b);
    std::string out = Captured([&] { Frame(); });
    EXPECT_EQ(out, "Pushed state\nPush State request rejected.\n");
    EXPECT_EQ(engine->m_request, REQUEST_RUN);
}

TEST_F(EngineRequests, ARequestMadeDuringUpdateIsAppliedOnTheNextFrameOnly) {
    Start();
    a.On("Update", [&](Engine& e) { EXPECT_TRUE(e.ChangeState(&b)); });
    EXPECT_EQ(Frame(), (Journal{"A.HandleInput", "A.Update", "A.Render"}));
    EXPECT_EQ(Frame(), (Journal{"A.Cleanup", "A.Unload", "B.Load", "B.Initialize"}));
}

TEST_F(EngineRequests, InputEdgesOfARequestFrameAreLost) {
    Start();
    engine->PushState(&b);
    engine->m_input.keys[KEY_ESCAPE] = 1;
    engine->m_input.buttons[0] = 1;
    engine->m_input.mouseDx = 7;
    Frame();
    EXPECT_EQ(engine->m_input.prevKeys[KEY_ESCAPE], 1);
    EXPECT_FALSE(engine->m_input.KeyPressed(KEY_ESCAPE));
    EXPECT_FALSE(engine->m_input.ButtonPressed(0));
    EXPECT_EQ(engine->m_input.mouseDx, 0);
}

TEST_F(EngineRequests, ShutdownUnloadsWithoutCleanup) {
    Start();
    engine->PushState(&b);
    Frame();
    journal.clear();
    EXPECT_TRUE(engine->Shutdown());
    EXPECT_EQ(journal, (Journal{"B.Unload", "A.Unload"}));
    EXPECT_EQ(engine->m_request, REQUEST_IDLE);
    EXPECT_EQ(Frame(), Journal{});
}

TEST_F(EngineRequests, AScreenDestroyedWhileStackedLeavesTheStack) {
    auto doomed = std::make_unique<RecordingState>("D", journal);
    Start();
    engine->PushState(doomed.get());
    Frame();
    doomed.reset();
    EXPECT_EQ(engine->m_stack, (std::vector<KRState*>{&a}));
    EXPECT_EQ(engine->m_lastRequestedState, nullptr);
    journal.clear();
    engine->Shutdown();
    EXPECT_EQ(journal, (Journal{"A.Unload"}));
}

TEST_F(EngineRequests, ALostDeviceSkipsDrawingButTheScreenStillRuns) {
    Start();
    auto* device = dynamic_cast<plat::NullDevice*>(engine->m_display.renderer->device.get());
    ASSERT_NE(device, nullptr);
    int presents = device->presents;
    device->cooperativeLevel = plat::kErrDeviceLost;
    EXPECT_EQ(Frame(), (Journal{"A.HandleInput", "A.Update"}));
    EXPECT_EQ(device->presents, presents);
    device->cooperativeLevel = plat::kOk;
    EXPECT_EQ(Frame(), (Journal{"A.HandleInput", "A.Update", "A.Render"}));
    EXPECT_EQ(device->presents, presents + 1);
}

TEST_F(EngineRequests, UnknownRequestCodesAreIdle) {
    Start();
    engine->m_request = 42;
    EXPECT_EQ(Frame(), Journal{});
}

} // namespace
