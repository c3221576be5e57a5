// Key strokes and the key messages they give, the same for every display
// driver: each driver's tests press the keys its own way (the headless
// driver by virtual key, the X11 driver by X key symbol) and compare what
// the window receives with these messages.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace orvex_test {

struct KeyStroke {
    const char* x_key;  // the X key symbol's name
    unsigned vk;        // the virtual key a test gives the headless driver
    bool down;
};

struct KeyMessageSeen {
    UINT message;
    WPARAM vk;
    LPARAM lparam;
    bool operator==(const KeyMessageSeen&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const KeyMessageSeen& m) {
    return out << "{0x" << std::hex << m.message << ", 0x" << m.vk << ", 0x" << m.lparam << std::dec << "}";
}
inline bool is_key_message(UINT msg) {
    return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP;
}

struct KeyboardCase {
    std::string name;
    std::vector<KeyStroke> strokes;
    std::vector<KeyMessageSeen> messages;
};

// LPARAM: repeat count 1, scan code in bits 16-23, extended key bit 24,
// context code (Alt down) bit 29, previous state bit 30, transition bit 31.
inline LPARAM key_lparam(unsigned scan, bool extended, bool alt, bool was_down, bool released) {
    return static_cast<LPARAM>(1u | (scan << 16) | (extended ? 1u << 24 : 0u) | (alt ? 1u << 29 : 0u) |
                               (was_down ? 1u << 30 : 0u) | (released ? 1u << 31 : 0u));
}
inline KeyMessageSeen pressed(UINT message, WPARAM vk, unsigned scan, bool extended = false, bool alt = false) {
    return {message, vk, key_lparam(scan, extended, alt, false, false)};
}
inline KeyMessageSeen released(UINT message, WPARAM vk, unsigned scan, bool extended = false, bool alt = false) {
    return {message, vk, key_lparam(scan, extended, alt, true, true)};
}

inline std::vector<KeyboardCase> keyboard_cases() {
    return {
        {"letter",
         {{"a", 'A', true}, {"a", 'A', false}},
         {pressed(WM_KEYDOWN, 'A', 0x1E), released(WM_KEYUP, 'A', 0x1E)}},
        {"Escape",
         {{"Escape", VK_ESCAPE, true}, {"Escape", VK_ESCAPE, false}},
         {pressed(WM_KEYDOWN, VK_ESCAPE, 0x01), released(WM_KEYUP, VK_ESCAPE, 0x01)}},
        {"arrow of the separate block, with Shift",
         {{"Shift_L", VK_SHIFT, true}, {"Up", VK_UP, true}, {"Up", VK_UP, false}, {"Shift_L", VK_SHIFT, false}},
         {pressed(WM_KEYDOWN, VK_SHIFT, 0x2A), pressed(WM_KEYDOWN, VK_UP, 0x48, true),
          released(WM_KEYUP, VK_UP, 0x48, true), released(WM_KEYUP, VK_SHIFT, 0x2A)}},
        {"right Ctrl",
         {{"Control_R", VK_RCONTROL, true}, {"Control_R", VK_RCONTROL, false}},
         {pressed(WM_KEYDOWN, VK_CONTROL, 0x1D, true), released(WM_KEYUP, VK_CONTROL, 0x1D, true)}},
        {"Alt and a letter are system keys, with the context code",
         {{"Alt_L", VK_MENU, true}, {"x", 'X', true}, {"x", 'X', false}, {"Alt_L", VK_MENU, false}},
         {pressed(WM_SYSKEYDOWN, VK_MENU, 0x38, false, true), pressed(WM_SYSKEYDOWN, 'X', 0x2D, false, true),
          released(WM_SYSKEYUP, 'X', 0x2D, false, true), released(WM_SYSKEYUP, VK_MENU, 0x38)}},
        {"Ctrl and Alt (AltGr) make ordinary keys, with the context code",
         {{"Control_L", VK_CONTROL, true}, {"Alt_L", VK_MENU, true}, {"x", 'X', true}, {"x", 'X', false},
          {"Alt_L", VK_MENU, false}, {"Control_L", VK_CONTROL, false}},
         {pressed(WM_KEYDOWN, VK_CONTROL, 0x1D), pressed(WM_KEYDOWN, VK_MENU, 0x38, false, true),
          pressed(WM_KEYDOWN, 'X', 0x2D, false, true), released(WM_KEYUP, 'X', 0x2D, false, true),
          released(WM_KEYUP, VK_MENU, 0x38), released(WM_KEYUP, VK_CONTROL, 0x1D)}},
        {"F10 alone is a system key",
         {{"F10", VK_F10, true}, {"F10", VK_F10, false}},
         {pressed(WM_SYSKEYDOWN, VK_F10, 0x44), released(WM_SYSKEYUP, VK_F10, 0x44)}},
        {"a key pressed again while down repeats",
         {{"d", 'D', true}, {"d", 'D', true}, {"d", 'D', false}},
         {pressed(WM_KEYDOWN, 'D', 0x20), {WM_KEYDOWN, 'D', key_lparam(0x20, false, false, true, false)},
          released(WM_KEYUP, 'D', 0x20)}},
    };
}

}  // namespace orvex_test
