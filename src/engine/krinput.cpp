#include "engine/krinput.h"

#include "engine/krlog.h"

#include <cstring>

int KeyIndexOfVirtualKey(uint16_t v) {
    if (v >= vk::F1 && v <= vk::F12) {
        return KEY_F1 + (v - vk::F1);
    }
    if (v >= '1' && v <= '9') {
        return KEY_1 + (v - '1');
    }
    if (v >= 'A' && v <= 'Z') {
        return KEY_A + (v - 'A');
    }
    switch (v) {
    case vk::Escape: return KEY_ESCAPE;
    case vk::LControl: return KEY_LCONTROL;
    case vk::RControl: return KEY_RCONTROL;
    case vk::Menu: return KEY_ALT;
    case vk::Space: return KEY_SPACE;
    case vk::Back: return KEY_BACKSPACE;
    case vk::Return: return KEY_ENTER;
    case vk::Up: return KEY_UP;
    case vk::Down: return KEY_DOWN;
    case vk::Left: return KEY_LEFT;
    case vk::Right: return KEY_RIGHT;
    case '0': return KEY_0;
    case vk::OemComma: return KEY_COMMA;
    case vk::OemPeriod: return KEY_PERIOD;
    case vk::Oem2: return KEY_SLASH;
    case vk::Oem5: return KEY_BACKSLASH;
    case vk::OemMinus: return KEY_MINUS;
    case vk::OemPlus: return KEY_EQUALS;
    case vk::Oem4: return KEY_LBRACKET;
    case vk::Oem6: return KEY_RBRACKET;
    case vk::Oem1: return KEY_SEMICOLON;
    case vk::Oem7: return KEY_QUOTE;
    case vk::Tab: return KEY_TAB;
    case vk::Capital: return KEY_CAPSLOCK;
    case vk::Oem3: return KEY_BACKQUOTE;
    case vk::Insert: return KEY_INSERT;
    case vk::Delete: return KEY_DELETE;
    case vk::Home: return KEY_HOME;
    case vk::End: return KEY_END;
    case vk::Prior: return KEY_PAGEUP;
    case vk::Next: return KEY_PAGEDOWN;
    default: return -1;
    }
}

int InputSys::OnRawInput(const plat::RawInput& report) {
    switch (report.type) {
    case plat::kRimTypeMouse:
        OnMouse(report.mouse);
        return 0;
    case plat::kRimTypeKeyboard:
        OnKeyboard(report.keyboard);
        return 0;
    default:
        return 0; // other devices were never registered
    }
}

void InputSys::OnKeyboard(const plat::RawKeyboard& report) {
    uint8_t pressed = (report.flags & plat::kRiKeyBreak) != 0 ? 0 : 1;
    if (report.vkey == vk::Shift) {
        if ((report.flags & plat::kRiKeyE0) != 0) {
            keys[KEY_SHIFT_E0] = pressed;
        } else if ((report.flags & plat::kRiKeyE1) != 0) {
            keys[KEY_SHIFT_E1] = pressed;
        }
        return;
    }
    int index = KeyIndexOfVirtualKey(report.vkey);
    if (index < 0) {
        LogLine("Unregistered keyboard input: " + std::to_string(report.vkey));
        return;
    }
    keys[index] = pressed;
}

void InputSys::OnMouse(const plat::RawMouse& report) {
    mouseDx = report.lastX;
    mouseDy = report.lastY;
    // Each transition is applied, so that a report carrying two never leaves a button stuck.
    static constexpr uint16_t kDown[3] = {plat::kRiMouseLeftDown, plat::kRiMouseRightDown,
                                          plat::kRiMouseMiddleDown};
    static constexpr uint16_t kUp[3] = {plat::kRiMouseLeftUp, plat::kRiMouseRightUp, plat::kRiMouseMiddleUp};
    for (int b = 0; b < 3; ++b) {
        if ((report.buttonFlags & kDown[b]) != 0) {
            if (buttons[b] == 0) {
                ++pressCount[b];
            }
            buttons[b] = 1;
        }
        if ((report.buttonFlags & kUp[b]) != 0) {
            buttons[b] = 0;
        }
    }
}

void InputSys::EndFrame() {
    std::memcpy(prevKeys, keys, sizeof(keys));
    mouseDx = 0;
    mouseDy = 0;
    std::memcpy(prevButtons, buttons, sizeof(buttons));
}
