// The keyboard: key events of a display as the key messages Windows posts.
//
// A driver translates its own codes into a KeyEvent (a virtual key, the
// key's scan code and extended flag, down or up) and hands it to
// deliver_key; everything else is decided here, once for every driver: the
// keys held down, and the message and its LPARAM:
//
//   bits 0-15   repeat count: 1 (every event is a message of its own)
//   bits 16-23  scan code
//   bit 24      extended key (the separate block, the right Ctrl and Alt, ...)
//   bit 29      context code: Alt is down (after a press, the key itself
//               counted; after a release, the key itself no longer counted)
//   bit 30      previous state: the key was down before (always 1 on release)
//   bit 31      transition: 1 on release
//
// WM_SYSKEYDOWN and WM_SYSKEYUP instead of WM_KEYDOWN and WM_KEYUP when Alt
// is down and Ctrl is not, and for F10 always. Alt counts as down for a key
// that is pressed with it (Alt's own press included) and for a key released
// while it is still down (Alt's own release included), so that a system
// key's release is a system key too. With Ctrl down as well the keys are
// ordinary key messages, with the context code set: Ctrl+Alt is how Windows
// reports AltGr, whose keys must make characters (WM_CHAR), not system
// characters, and Windows gives every Ctrl+Alt combination that way.
#pragma once

#include <bitset>

#include "platform/win32.h"

namespace orvex_platform {

struct KeyEvent {
    unsigned vk = 0;  // the generic code of either Shift, Ctrl or Alt key
    unsigned scan = 0;
    bool extended = false;
    bool down = false;
};

struct KeyMessage {
    UINT message = 0;
    WPARAM vk = 0;
    LPARAM lparam = 0;
};

// The held keys and the rule above, independent of where messages go.
class KeyboardState {
public:
    // Updates the held keys and answers the message for the event.
    KeyMessage apply(const KeyEvent& e);
    bool held(unsigned vk) const { return vk < held_.size() && held_[vk]; }
    // The keyboard's focus went elsewhere: no key is held any more.
    void release_all() { held_.reset(); }

private:
    bool alt() const { return held(VK_MENU) || held(VK_LMENU) || held(VK_RMENU); }
    bool ctrl() const { return held(VK_CONTROL) || held(VK_LCONTROL) || held(VK_RCONTROL); }
    std::bitset<256> held_;
};

// The process's keyboard: applies the event and posts its message to the
// window with the keyboard focus (the foreground window).
void deliver_key(const KeyEvent& e);
void release_held_keys();
bool key_held(unsigned vk);

// The event of a key given by its virtual key alone, as a driver whose
// codes are virtual keys reports it: the scan code and extended flag of the
// keyboard's key of that code, and the generic code of a left or right
// Shift, Ctrl or Alt (VK_RCONTROL: VK_CONTROL, extended).
KeyEvent key_event_for(unsigned vk, bool down);
// The event of the main block's key (no extended flag) with this scan code,
// vk 0 when there is none.
KeyEvent key_event_for_scan(unsigned scan, bool down);

}  // namespace orvex_platform
