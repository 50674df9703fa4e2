#include "engine/engine.h"
#include "engine/krwinmain.h"
#include "platform/null/nullplatform.h"
#include "recordingstate.h"

#include <gtest/gtest.h>

namespace {

plat::Message KeyMessage(uint16_t vkey, bool up) {
    plat::Message m;
    m.message = plat::kWmInput;
    m.input.type = plat::kRimTypeKeyboard;
    m.input.keyboard.vkey = vkey;
    m.input.keyboard.flags = up ? plat::kRiKeyBreak : 0;
    return m;
}

class ProcessEntry : public ::testing::Test {
protected:
    void SetUp() override { plat::Install({&window, &clock, &messageBox}); }
    void TearDown() override { plat::Install({}); }

    int Run() {
        return RunGame(
            window,
            [&]() -> Engine& {
                engine = std::make_unique<Engine>();
                return *engine;
            },
            [&]() -> KRState& { return state; });
    }

    plat::NullWindow window;
    plat::ManualClock clock;
    plat::RecordingMessageBox messageBox;
    std::vector<std::string> journal;
    RecordingState state{"S", journal};
    std::unique_ptr<Engine> engine;
};

TEST_F(ProcessEntry, CreatesThePopupWindowAndShowsIt) {
    window.Send(KeyMessage(vk::Escape, false));
    state.On("HandleInput", [](Engine& e) { e.Quit(); });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(window.desc.className, "KRWC");
    EXPECT_EQ(window.desc.title, "Thornvale Oriskar");
    EXPECT_EQ(window.desc.style, 0x80000008u);
    EXPECT_EQ(window.desc.width, 800);
    EXPECT_EQ(window.desc.height, 600);
    EXPECT_EQ(window.showCommands, (std::vector<int>{plat::kSwShowNormal, plat::kSwHide}));
}

TEST_F(ProcessEntry, AWindowThatCannotBeCreatedFailsWithoutBuildingTheEngine) {
    window.createSucceeds = false;
    testing::internal::CaptureStderr();
    int status = Run();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(status, 0);
    EXPECT_EQ(engine, nullptr);
    EXPECT_EQ(messageBox.shown, (std::vector<std::string>{"Woops.: Window wasn't created!"}));
    EXPECT_NE(err.find("Window wasn't created!"), std::string::npos);
}

TEST_F(ProcessEntry, AnEngineThatCannotStartFailsAndShutsDownSafely) {
    window.registerSucceeds = false;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    int status = Run();
    std::string err = testing::internal::GetCapturedStderr();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("InputSys failed to load.\n"), std::string::npos);
    EXPECT_NE(err.find("Couldn't load engine!"), std::string::npos);
    EXPECT_EQ(messageBox.shown, (std::vector<std::string>{"Woops.: Couldn't load engine!"}));
    engine.reset(); // teardown after a failed start must not touch what was never created
    EXPECT_TRUE(journal.empty());
}

TEST_F(ProcessEntry, ClosingTheWindowQuitsThroughTheQuitMessage) {
    plat::Message destroy;
    destroy.message = plat::kWmDestroy;
    window.Send(destroy);
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(engine->m_running);
    // The quit arrived before the first frame and replaced the initial push.
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(engine->m_stack.empty());
}

TEST_F(ProcessEntry, AQuitInABurstStopsTheDrainingButItsFrameStillRuns) {
    window.Send(KeyMessage('A', false));
    window.PostQuitMessage(0);
    window.Send(KeyMessage('B', false));
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(engine->m_input.keys[KeyLetter('A')], 1);
    // The message after the quit was never taken.
    EXPECT_EQ(engine->m_input.keys[KeyLetter('B')], 0);
    EXPECT_EQ(window.queue.size(), 1u);
}

TEST_F(ProcessEntry, RawInputMovesTheCursorAndAFailedReadingIsLogged) {
    Engine e;
    window.cursorX = 123;
    window.cursorY = 45;
    WndProc(e, window, KeyMessage('A', false));
    EXPECT_EQ(e.m_input.cursorX, 123);
    EXPECT_EQ(e.m_input.cursorY, 45);
    window.cursorSucceeds = false;
    window.cursorX = 1;
    testing::internal::CaptureStdout();
    WndProc(e, window, KeyMessage('A', true));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "GetCursorPos failed.\n");
    EXPECT_EQ(e.m_input.cursorX, 123);
    EXPECT_EQ(e.m_input.keys[KeyLetter('A')], 0);
}

TEST_F(ProcessEntry, AltEnterIsLoggedAndChangesNothing) {
    Engine e;
    plat::Message command;
    command.message = plat::kWmSysCommand;
    command.wParam = 0xF100;
    command.lParam = 13;
    testing::internal::CaptureStdout();
    EXPECT_EQ(WndProc(e, window, command), 0);
    command.lParam = 0;
    WndProc(e, window, command);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Alt-enter\n");
    EXPECT_TRUE(window.queue.empty());
}

} // namespace
