#include "platform/core/keyboard.h"

#include "platform/core/input.h"

namespace orvex_platform {

namespace {

constexpr LPARAM kExtendedBit = LPARAM{1} << 24;
constexpr LPARAM kContextBit = LPARAM{1} << 29;
constexpr LPARAM kPreviousStateBit = LPARAM{1} << 30;
constexpr LPARAM kTransitionBit = LPARAM{1} << 31;

struct PcKey {
    unsigned vk;
    unsigned scan;
    bool extended;
    unsigned generic_vk;  // the code in messages: differs for the left and right Shift, Ctrl and Alt
};

constexpr PcKey key(unsigned vk, unsigned scan, bool extended = false) { return PcKey{vk, scan, extended, vk}; }

// The keys of the PC keyboard (scan code set 1), each under its virtual key.
// The keypad's digits are those of Num Lock on; the navigation keys are
// those of the separate block (extended), whose twins on the keypad (Num
// Lock off) have the same virtual keys and no extended flag.
constexpr PcKey kKeys[] = {
    key(VK_ESCAPE, 0x01),
    key('1', 0x02), key('2', 0x03), key('3', 0x04), key('4', 0x05), key('5', 0x06),
    key('6', 0x07), key('7', 0x08), key('8', 0x09), key('9', 0x0A), key('0', 0x0B),
    key(VK_OEM_MINUS, 0x0C), key(VK_OEM_PLUS, 0x0D), key(VK_BACK, 0x0E), key(VK_TAB, 0x0F),
    key('Q', 0x10), key('W', 0x11), key('E', 0x12), key('R', 0x13), key('T', 0x14),
    key('Y', 0x15), key('U', 0x16), key('I', 0x17), key('O', 0x18), key('P', 0x19),
    key(VK_OEM_4, 0x1A), key(VK_OEM_6, 0x1B), key(VK_RETURN, 0x1C), key(VK_CONTROL, 0x1D),
    key('A', 0x1E), key('S', 0x1F), key('D', 0x20), key('F', 0x21), key('G', 0x22),
    key('H', 0x23), key('J', 0x24), key('K', 0x25), key('L', 0x26),
    key(VK_OEM_1, 0x27), key(VK_OEM_7, 0x28), key(VK_OEM_3, 0x29), key(VK_SHIFT, 0x2A), key(VK_OEM_5, 0x2B),
    key('Z', 0x2C), key('X', 0x2D), key('C', 0x2E), key('V', 0x2F), key('B', 0x30), key('N', 0x31), key('M', 0x32),
    key(VK_OEM_COMMA, 0x33), key(VK_OEM_PERIOD, 0x34), key(VK_OEM_2, 0x35),
    key(VK_MULTIPLY, 0x37), key(VK_MENU, 0x38), key(VK_SPACE, 0x39), key(VK_CAPITAL, 0x3A),
    key(VK_F1, 0x3B), key(VK_F2, 0x3C), key(VK_F3, 0x3D), key(VK_F4, 0x3E), key(VK_F5, 0x3F),
    key(VK_F6, 0x40), key(VK_F7, 0x41), key(VK_F8, 0x42), key(VK_F9, 0x43), key(VK_F10, 0x44),
    key(VK_NUMLOCK, 0x45, true), key(VK_SCROLL, 0x46),
    key(VK_NUMPAD7, 0x47), key(VK_NUMPAD8, 0x48), key(VK_NUMPAD9, 0x49), key(VK_SUBTRACT, 0x4A),
    key(VK_NUMPAD4, 0x4B), key(VK_NUMPAD5, 0x4C), key(VK_NUMPAD6, 0x4D), key(VK_ADD, 0x4E),
    key(VK_NUMPAD1, 0x4F), key(VK_NUMPAD2, 0x50), key(VK_NUMPAD3, 0x51), key(VK_NUMPAD0, 0x52),
    key(VK_DECIMAL, 0x53), key(VK_SEPARATOR, 0x53), key(VK_CLEAR, 0x4C),
    key(VK_OEM_102, 0x56), key(VK_F11, 0x57), key(VK_F12, 0x58),
    key(VK_DIVIDE, 0x35, true), key(VK_SNAPSHOT, 0x37, true), key(VK_PAUSE, 0x45),
    key(VK_HOME, 0x47, true), key(VK_UP, 0x48, true), key(VK_PRIOR, 0x49, true), key(VK_LEFT, 0x4B, true),
    key(VK_RIGHT, 0x4D, true), key(VK_END, 0x4F, true), key(VK_DOWN, 0x50, true), key(VK_NEXT, 0x51, true),
    key(VK_INSERT, 0x52, true), key(VK_DELETE, 0x53, true),
    key(VK_LWIN, 0x5B, true), key(VK_RWIN, 0x5C, true), key(VK_APPS, 0x5D, true),
    PcKey{VK_LSHIFT, 0x2A, false, VK_SHIFT}, PcKey{VK_RSHIFT, 0x36, false, VK_SHIFT},
    PcKey{VK_LCONTROL, 0x1D, false, VK_CONTROL}, PcKey{VK_RCONTROL, 0x1D, true, VK_CONTROL},
    PcKey{VK_LMENU, 0x38, false, VK_MENU}, PcKey{VK_RMENU, 0x38, true, VK_MENU},
};

KeyboardState& keyboard() {
    static KeyboardState state;
    return state;
}

}  // namespace

KeyMessage KeyboardState::apply(const KeyEvent& e) {
    LPARAM lparam = 1 | (static_cast<LPARAM>(e.scan & 0xFF) << 16) | (e.extended ? kExtendedBit : 0);
    bool system = false;
    if (e.down) {
        if (held(e.vk)) lparam |= kPreviousStateBit;  // auto-repeat
        if (e.vk < held_.size()) held_.set(e.vk);
        system = alt() && !ctrl();
    } else {
        lparam |= kPreviousStateBit | kTransitionBit;
        system = alt() && !ctrl();
        if (e.vk < held_.size()) held_.reset(e.vk);
    }
    if (alt()) lparam |= kContextBit;
    system = system || e.vk == VK_F10;
    const UINT message = e.down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    return KeyMessage{message, e.vk, lparam};
}

void deliver_key(const KeyEvent& e) {
    const KeyMessage m = keyboard().apply(e);
    route_key(m.message, m.vk, m.lparam);
}

void release_held_keys() { keyboard().release_all(); }

bool key_held(unsigned vk) { return keyboard().held(vk); }

KeyEvent key_event_for(unsigned vk, bool down) {
    for (const PcKey& k : kKeys)
        if (k.vk == vk) return KeyEvent{k.generic_vk, k.scan, k.extended, down};
    return KeyEvent{vk, 0, false, down};
}

KeyEvent key_event_for_scan(unsigned scan, bool down) {
    for (const PcKey& k : kKeys)
        if (k.scan == scan && !k.extended) return KeyEvent{k.generic_vk, k.scan, false, down};
    return KeyEvent{0, 0, false, down};
}

}  // namespace orvex_platform
