// X key codes as Windows virtual keys and scan codes (x11_keys.cpp).
#pragma once

#include <X11/Xlib.h>

namespace orvex_x11 {

struct KeyTranslation {
    unsigned vk = 0;     // 0: no virtual key for this key
    unsigned scan = 0;   // the keyboard's scan code
    bool extended = false;
};
// The virtual key of an X key event's key: `numlock` tells whether Num Lock
// was on, which turns the keypad's navigation keys into its digits.
KeyTranslation translate_key(Display* dpy, unsigned keycode, bool numlock);
unsigned find_numlock_mask(Display* dpy);

}  // namespace orvex_x11
