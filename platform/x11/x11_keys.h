// X key codes as the platform's key events (x11_keys.cpp).
#pragma once

#include <X11/Xlib.h>

#include "platform/core/keyboard.h"

namespace orvex_x11 {

// The key event of an X key event's key, vk 0 when the key has no virtual
// key: `numlock` tells whether Num Lock was on, which turns the keypad's
// navigation keys into its digits.
orvex_platform::KeyEvent translate_key(Display* dpy, unsigned keycode, bool numlock, bool down);
unsigned find_numlock_mask(Display* dpy);

}  // namespace orvex_x11
