// Keyboard and mouse state read by every screen, filled from raw input reports.
#pragma once

#include "platform/platform.h"

#include <cstdint>

// Index of a key in InputSys::keys.
enum KeyIndex : int {
    KEY_ESCAPE = 0,
    KEY_F1 = 1, // F1 to F12 are 1 to 12
    KEY_SHIFT_E0 = 13,
    KEY_SHIFT_E1 = 14,
    KEY_LCONTROL = 15,
    KEY_RCONTROL = 16,
    KEY_ALT = 17,
    KEY_SPACE = 18,
    KEY_BACKSPACE = 19,
    KEY_ENTER = 20,
    KEY_UP = 21,
    KEY_DOWN = 22,
    KEY_LEFT = 23,
    KEY_RIGHT = 24,
    KEY_1 = 25, // digits 1 to 9 are 25 to 33
    KEY_0 = 34,
    KEY_A = 35, // letters A to Z are 35 to 60
    KEY_COMMA = 61,
    KEY_PERIOD = 62,
    KEY_SLASH = 63,
    KEY_BACKSLASH = 64,
    KEY_MINUS = 65,
    KEY_EQUALS = 66,
    KEY_LBRACKET = 67,
    KEY_RBRACKET = 68,
    KEY_SEMICOLON = 69,
    KEY_QUOTE = 70,
    KEY_TAB = 71,
    KEY_CAPSLOCK = 72,
    KEY_BACKQUOTE = 73,
    KEY_INSERT = 74,
    KEY_DELETE = 75,
    KEY_HOME = 76,
    KEY_END = 77,
    KEY_PAGEUP = 78,
    KEY_PAGEDOWN = 79,
    KEY_COUNT = 80
};

// Index of a mouse button in InputSys::buttons.
enum MouseButton : int { MOUSE_LEFT = 0, MOUSE_RIGHT = 1 };

inline constexpr int KeyLetter(char c) { return KEY_A + (c - 'A'); }
inline constexpr int KeyDigit(int d) { return d == 0 ? KEY_0 : KEY_1 + d - 1; }

// Windows virtual-key codes of the keys the game knows.
namespace vk {
constexpr uint16_t Back = 0x08, Tab = 0x09, Return = 0x0D, Shift = 0x10, Control = 0x11, Menu = 0x12,
                   Capital = 0x14, Escape = 0x1B, Space = 0x20, Prior = 0x21, Next = 0x22, End = 0x23,
                   Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D,
                   Delete = 0x2E, LWin = 0x5B, RWin = 0x5C, Apps = 0x5D, Numpad0 = 0x60, Multiply = 0x6A,
                   Add = 0x6B, Subtract = 0x6D, Decimal = 0x6E, Divide = 0x6F, F1 = 0x70, F12 = 0x7B,
                   NumLock = 0x90, Scroll = 0x91, LShift = 0xA0, RShift = 0xA1, LControl = 0xA2,
                   RControl = 0xA3, Oem1 = 0xBA, OemPlus = 0xBB, OemComma = 0xBC, OemMinus = 0xBD,
                   OemPeriod = 0xBE, Oem2 = 0xBF, Oem3 = 0xC0, Oem4 = 0xDB, Oem5 = 0xDC, Oem6 = 0xDD,
                   Oem7 = 0xDE, Pause = 0x13, Snapshot = 0x2C;
}

// The KeyIndex of a virtual key, or -1 when the game has no row for it. Shift needs the report's
// flags, so it is answered by OnKeyboard alone.
int KeyIndexOfVirtualKey(uint16_t virtualKey);

class InputSys {
public:
    // Applies one report; 0 for keyboard and mouse reports.
    int OnRawInput(const plat::RawInput& report);
    void OnKeyboard(const plat::RawKeyboard& report);
    void OnMouse(const plat::RawMouse& report);
    // What the engine does after every frame: remember this frame's keys and buttons.
    void EndFrame();

    bool KeyDown(int index) const { return keys[index] != 0; }
    bool KeyPressed(int index) const { return keys[index] != 0 && prevKeys[index] == 0; }
    bool KeyReleased(int index) const { return keys[index] == 0 && prevKeys[index] != 0; }
    bool ButtonPressed(int index) const { return buttons[index] != 0 && prevButtons[index] == 0; }
    bool ButtonReleased(int index) const { return buttons[index] == 0 && prevButtons[index] != 0; }

    uint8_t keys[KEY_COUNT] = {};
    uint8_t prevKeys[KEY_COUNT] = {};
    int32_t mouseDx = 0;
    int32_t mouseDy = 0;
    int32_t cursorX = 0;
    int32_t cursorY = 0;
    uint8_t buttons[3] = {};
    uint8_t prevButtons[3] = {};
    // Presses begun on each button so far, so that a screen can tell the press it saw begin from a
    // later one that began while another screen had the input.
    uint32_t pressCount[3] = {};
};
