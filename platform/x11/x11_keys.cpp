// The keyboard's keys as Windows sees them: X key symbols (or, failing
// those, the keys' places on the keyboard) as virtual keys; their scan codes
// come from the platform's one table of the keyboard's keys (keyboard.h).
#include "platform/x11/x11_keys.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace orvex_x11 {

namespace {

struct KeyRow {
    KeySym sym;
    unsigned vk;
    // A key of the keypad that has the virtual key of a key of another block
    // (the navigation keys with Num Lock off, Enter): its extended flag is
    // the other way round.
    bool keypad_twin = false;
};

// The one table from X key symbols to virtual keys. Digits and letters of the
// main keyboard are their character codes; the keypad's digits (Num Lock on)
// are VK_NUMPAD0..9. Keys of the right-hand side have their sided codes, so
// that they get their own scan codes; their messages carry the generic ones.
constexpr KeyRow kKeys[] = {
    {XK_Escape, VK_ESCAPE},
    {XK_1, '1'}, {XK_2, '2'}, {XK_3, '3'}, {XK_4, '4'}, {XK_5, '5'},
    {XK_6, '6'}, {XK_7, '7'}, {XK_8, '8'}, {XK_9, '9'}, {XK_0, '0'},
    {XK_minus, VK_OEM_MINUS}, {XK_equal, VK_OEM_PLUS},
    {XK_BackSpace, VK_BACK}, {XK_Tab, VK_TAB}, {XK_ISO_Left_Tab, VK_TAB},
    {XK_q, 'Q'}, {XK_w, 'W'}, {XK_e, 'E'}, {XK_r, 'R'}, {XK_t, 'T'},
    {XK_y, 'Y'}, {XK_u, 'U'}, {XK_i, 'I'}, {XK_o, 'O'}, {XK_p, 'P'},
    {XK_bracketleft, VK_OEM_4}, {XK_bracketright, VK_OEM_6},
    {XK_Return, VK_RETURN}, {XK_Control_L, VK_LCONTROL},
    {XK_a, 'A'}, {XK_s, 'S'}, {XK_d, 'D'}, {XK_f, 'F'}, {XK_g, 'G'},
    {XK_h, 'H'}, {XK_j, 'J'}, {XK_k, 'K'}, {XK_l, 'L'},
    {XK_semicolon, VK_OEM_1}, {XK_apostrophe, VK_OEM_7}, {XK_grave, VK_OEM_3},
    {XK_Shift_L, VK_LSHIFT}, {XK_backslash, VK_OEM_5},
    {XK_z, 'Z'}, {XK_x, 'X'}, {XK_c, 'C'}, {XK_v, 'V'}, {XK_b, 'B'}, {XK_n, 'N'}, {XK_m, 'M'},
    {XK_comma, VK_OEM_COMMA}, {XK_period, VK_OEM_PERIOD}, {XK_slash, VK_OEM_2},
    {XK_Shift_R, VK_RSHIFT}, {XK_KP_Multiply, VK_MULTIPLY},
    {XK_Alt_L, VK_LMENU}, {XK_Meta_L, VK_LMENU}, {XK_space, VK_SPACE},
    {XK_Caps_Lock, VK_CAPITAL},
    {XK_F1, VK_F1}, {XK_F2, VK_F2}, {XK_F3, VK_F3}, {XK_F4, VK_F4}, {XK_F5, VK_F5}, {XK_F6, VK_F6},
    {XK_F7, VK_F7}, {XK_F8, VK_F8}, {XK_F9, VK_F9}, {XK_F10, VK_F10}, {XK_F11, VK_F11}, {XK_F12, VK_F12},
    {XK_Num_Lock, VK_NUMLOCK}, {XK_Scroll_Lock, VK_SCROLL},
    // The keypad with Num Lock on ...
    {XK_KP_7, VK_NUMPAD7}, {XK_KP_8, VK_NUMPAD8}, {XK_KP_9, VK_NUMPAD9}, {XK_KP_Subtract, VK_SUBTRACT},
    {XK_KP_4, VK_NUMPAD4}, {XK_KP_5, VK_NUMPAD5}, {XK_KP_6, VK_NUMPAD6}, {XK_KP_Add, VK_ADD},
    {XK_KP_1, VK_NUMPAD1}, {XK_KP_2, VK_NUMPAD2}, {XK_KP_3, VK_NUMPAD3},
    {XK_KP_0, VK_NUMPAD0}, {XK_KP_Decimal, VK_DECIMAL}, {XK_KP_Separator, VK_SEPARATOR},
    // ... and with Num Lock off.
    {XK_KP_Home, VK_HOME, true}, {XK_KP_Up, VK_UP, true}, {XK_KP_Prior, VK_PRIOR, true},
    {XK_KP_Left, VK_LEFT, true}, {XK_KP_Begin, VK_CLEAR}, {XK_KP_Right, VK_RIGHT, true},
    {XK_KP_End, VK_END, true}, {XK_KP_Down, VK_DOWN, true}, {XK_KP_Next, VK_NEXT, true},
    {XK_KP_Insert, VK_INSERT, true}, {XK_KP_Delete, VK_DELETE, true},
    {XK_KP_Enter, VK_RETURN, true}, {XK_KP_Divide, VK_DIVIDE},
    {XK_less, VK_OEM_102},
    // The separate block and the keys right of the space bar.
    {XK_Control_R, VK_RCONTROL}, {XK_Alt_R, VK_RMENU},
    {XK_ISO_Level3_Shift, VK_RMENU}, {XK_Print, VK_SNAPSHOT},
    {XK_Pause, VK_PAUSE},
    {XK_Home, VK_HOME}, {XK_Up, VK_UP}, {XK_Prior, VK_PRIOR},
    {XK_Left, VK_LEFT}, {XK_Right, VK_RIGHT}, {XK_End, VK_END},
    {XK_Down, VK_DOWN}, {XK_Next, VK_NEXT}, {XK_Insert, VK_INSERT},
    {XK_Delete, VK_DELETE},
    {XK_Super_L, VK_LWIN}, {XK_Super_R, VK_RWIN}, {XK_Menu, VK_APPS},
};

const KeyRow* row_of(KeySym sym) {
    for (const KeyRow& r : kKeys)
        if (r.sym == sym) return &r;
    return nullptr;
}

bool keypad_navigation(KeySym s) { return s >= XK_KP_Home && s <= XK_KP_Delete; }

}  // namespace

unsigned find_numlock_mask(Display* dpy) {
    unsigned mask = 0;
    XModifierKeymap* map = XGetModifierMapping(dpy);
    if (!map) return 0;
    KeyCode numlock = XKeysymToKeycode(dpy, XK_Num_Lock);
    for (int m = 0; m < 8 && numlock; ++m)
        for (int k = 0; k < map->max_keypermod; ++k)
            if (map->modifiermap[m * map->max_keypermod + k] == numlock) mask |= 1u << m;
    XFreeModifiermap(map);
    return mask;
}

orvex_platform::KeyEvent translate_key(Display* dpy, unsigned keycode, bool numlock, bool down) {
    KeyCode code = static_cast<KeyCode>(keycode);
    KeySym plain = XkbKeycodeToKeysym(dpy, code, 0, 0);
    KeySym shifted = XkbKeycodeToKeysym(dpy, code, 0, 1);
    const KeyRow* r = nullptr;
    // Num Lock turns the keypad's navigation keys into its digits.
    if (numlock && keypad_navigation(plain)) r = row_of(shifted);
    if (!r) r = row_of(plain);
    // Layouts with digits on the shifted level (the top row of a French
    // keyboard) still give the digit keys.
    if (!r && shifted >= XK_0 && shifted <= XK_9) r = row_of(shifted);
    if (r) {
        orvex_platform::KeyEvent e = orvex_platform::key_event_for(r->vk, down);
        if (r->keypad_twin) e.extended = !e.extended;
        return e;
    }
    // A key whose symbols this table does not know (a letter of another
    // alphabet, a national key) is taken by its place on the keyboard: X key
    // codes are the kernel's codes plus 8, and those are the scan codes of
    // the main block.
    if (keycode < 9) return orvex_platform::KeyEvent{};
    return orvex_platform::key_event_for_scan(keycode - 8, down);
}

}  // namespace orvex_x11
