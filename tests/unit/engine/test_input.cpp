#include "engine/krinput.h"

#include <gtest/gtest.h>

namespace {

plat::RawKeyboard Key(uint16_t vkey, uint16_t flags = 0) { return {flags, vkey}; }

std::string Logged(InputSys& input, plat::RawKeyboard report) {
    testing::internal::CaptureStdout();
    input.OnKeyboard(report);
    return testing::internal::GetCapturedStdout();
}

TEST(KeyTable, EveryRowOfTheTableLandsOnItsIndex) {
    struct Row {
        uint16_t vkey;
        int index;
    };
    const Row rows[] = {{vk::Escape, 0},   {vk::F1, 1},        {vk::F12, 12},      {vk::LControl, 15},
                        {vk::RControl, 16}, {vk::Menu, 17},     {vk::Space, 18},    {vk::Back, 19},
                        {vk::Return, 20},  {vk::Up, 21},       {vk::Down, 22},     {vk::Left, 23},
                        {vk::Right, 24},   {'1', 25},          {'9', 33},          {'0', 34},
                        {'A', 35},         {'Z', 60},          {vk::OemComma, 61}, {vk::OemPeriod, 62},
                        {vk::Oem2, 63},    {vk::Oem5, 64},     {vk::OemMinus, 65}, {vk::OemPlus, 66},
                        {vk::Oem4, 67},    {vk::Oem6, 68},     {vk::Oem1, 69},     {vk::Oem7, 70},
                        {vk::Tab, 71},     {vk::Capital, 72},  {vk::Oem3, 73},     {vk::Insert, 74},
                        {vk::Delete, 75},  {vk::Home, 76},     {vk::End, 77},      {vk::Prior, 78},
                        {vk::Next, 79}};
    for (const Row& row : rows) {
        InputSys input;
        EXPECT_EQ(Logged(input, Key(row.vkey)), "") << row.vkey;
        for (int i = 0; i < KEY_COUNT; ++i) {
            EXPECT_EQ(input.keys[i], i == row.index ? 1 : 0) << "vkey " << row.vkey << " index " << i;
        }
        input.OnKeyboard(Key(row.vkey, plat::kRiKeyBreak));
        EXPECT_EQ(input.keys[row.index], 0);
    }
    EXPECT_EQ(KeyLetter('Q'), 51);
    EXPECT_EQ(KeyDigit(0), 34);
    EXPECT_EQ(KeyDigit(5), 29);
}

TEST(KeyTable, ShiftNeedsAPrefixFlagAndKeepsTheE0Row) {
    InputSys input;
    EXPECT_EQ(Logged(input, Key(vk::Shift)), "");
    for (uint8_t k : input.keys) {
        EXPECT_EQ(k, 0);
    }
    input.OnKeyboard(Key(vk::Shift, plat::kRiKeyE0));
    EXPECT_EQ(input.keys[KEY_SHIFT_E0], 1);
    input.OnKeyboard(Key(vk::Shift, plat::kRiKeyE0 | plat::kRiKeyE1));
    EXPECT_EQ(input.keys[KEY_SHIFT_E1], 0);
    input.OnKeyboard(Key(vk::Shift, plat::kRiKeyE1));
    EXPECT_EQ(input.keys[KEY_SHIFT_E1], 1);
    input.OnKeyboard(Key(vk::Shift, plat::kRiKeyE1 | plat::kRiKeyBreak));
    EXPECT_EQ(input.keys[KEY_SHIFT_E1], 0);
    EXPECT_EQ(input.keys[KEY_SHIFT_E0], 1);
}

TEST(KeyTable, KeysWithoutARowAreLoggedAndChangeNothing) {
    InputSys input;
    EXPECT_EQ(Logged(input, Key(vk::Control)), "Unregistered keyboard input: 17\n");
    EXPECT_EQ(Logged(input, Key(vk::Numpad0 + 5)), "Unregistered keyboard input: 101\n");
    EXPECT_EQ(Logged(input, Key(vk::LWin, plat::kRiKeyE0)), "Unregistered keyboard input: 91\n");
    EXPECT_EQ(Logged(input, Key(0xFF)), "Unregistered keyboard input: 255\n");
    EXPECT_EQ(Logged(input, Key(7)), "Unregistered keyboard input: 7\n");
    for (uint8_t k : input.keys) {
        EXPECT_EQ(k, 0);
    }
}

TEST(KeyEdges, HeldKeysRepeatWithoutANewPressAndQuickTapsAreUnseen) {
    InputSys input;
    input.OnKeyboard(Key('W'));
    EXPECT_TRUE(input.KeyPressed(KeyLetter('W')));
    input.EndFrame();
    input.OnKeyboard(Key('W'));
    EXPECT_TRUE(input.KeyDown(KeyLetter('W')));
    EXPECT_FALSE(input.KeyPressed(KeyLetter('W')));
    input.OnKeyboard(Key('W', plat::kRiKeyBreak));
    EXPECT_TRUE(input.KeyReleased(KeyLetter('W')));
    input.EndFrame();
    input.OnKeyboard(Key(vk::Space));
    input.OnKeyboard(Key(vk::Space, plat::kRiKeyBreak));
    EXPECT_FALSE(input.KeyPressed(KEY_SPACE));
    EXPECT_FALSE(input.KeyReleased(KEY_SPACE));
}

TEST(MouseReports, TheLastReportsMotionStaysUntilTheFrameEnds) {
    InputSys input;
    input.OnMouse({5, -3, 0});
    input.OnMouse({2, 4, 0});
    EXPECT_EQ(input.mouseDx, 2);
    EXPECT_EQ(input.mouseDy, 4);
    input.OnMouse({0, 0, plat::kRiMouseWheel});
    EXPECT_EQ(input.mouseDx, 0);
    input.OnMouse({9, 9, 0});
    input.EndFrame();
    EXPECT_EQ(input.mouseDx, 0);
    EXPECT_EQ(input.mouseDy, 0);
}

TEST(MouseReports, EachButtonTransitionIsApplied) {
    InputSys input;
    input.OnMouse({0, 0, plat::kRiMouseLeftDown});
    input.OnMouse({0, 0, plat::kRiMouseMiddleDown});
    EXPECT_EQ(input.buttons[0], 1);
    EXPECT_EQ(input.buttons[2], 1);
    EXPECT_TRUE(input.ButtonPressed(0));
    input.EndFrame();
    EXPECT_FALSE(input.ButtonPressed(0));
    // One report with two transitions changes both buttons: none is left stuck.
    input.OnMouse({0, 0, static_cast<uint16_t>(plat::kRiMouseLeftUp | plat::kRiMouseRightDown)});
    EXPECT_EQ(input.buttons[0], 0);
    EXPECT_EQ(input.buttons[1], 1);
    EXPECT_TRUE(input.ButtonReleased(0));
    input.OnMouse({0, 0, plat::kRiMouseMiddleUp});
    EXPECT_EQ(input.buttons[2], 0);
    input.OnMouse({0, 0, plat::kRiMouseRightUp});
    EXPECT_EQ(input.buttons[1], 0);
    // Wheel and the extra buttons move none of the three.
    input.OnMouse({0, 0, plat::kRiMouseWheel});
    input.OnMouse({0, 0, 0x0040});
    EXPECT_EQ(input.buttons[0] + input.buttons[1] + input.buttons[2], 0);
}

TEST(MouseReports, RawInputDispatchesByDevice) {
    InputSys input;
    plat::RawInput report;
    report.type = plat::kRimTypeKeyboard;
    report.keyboard = Key('Z');
    EXPECT_EQ(input.OnRawInput(report), 0);
    EXPECT_EQ(input.keys[KeyLetter('Z')], 1);
    report.type = plat::kRimTypeMouse;
    report.mouse = {3, 1, plat::kRiMouseRightDown};
    EXPECT_EQ(input.OnRawInput(report), 0);
    EXPECT_EQ(input.buttons[1], 1);
    report.type = plat::kRimTypeHid;
    report.mouse = {8, 8, plat::kRiMouseRightUp};
    input.OnRawInput(report);
    EXPECT_EQ(input.buttons[1], 1);
    EXPECT_EQ(input.mouseDx, 3);
}

} // namespace
