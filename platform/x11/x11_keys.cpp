// The keyboard's keys as Windows sees them: X key symbols (or, failing
// those, the keys' places on the keyboard) as virtual keys and scan codes.
#include "platform/x11/x11_keys.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include "platform/win32.h"

namespace orvex_x11 {

namespace {

// Virtual keys Windows has that the platform header does not name.
enum : unsigned {
    kClear = 0x0C,
    kSnapshot = 0x2C,
    kLeftWin = 0x5B,
    kRightWin = 0x5C,
    kApps = 0x5D,
    kSeparator = 0x6C,
    kNumLock = 0x90,
    kScroll = 0x91,
    kOem1 = 0xBA,      // ;:
    kOemPlus = 0xBB,   // =+
    kOemComma = 0xBC,  // ,<
    kOemMinus = 0xBD,  // -_
    kOemPeriod = 0xBE, // .>
    kOem2 = 0xBF,      // /?
    kOem3 = 0xC0,      // `~
    kOem4 = 0xDB,      // [{
    kOem5 = 0xDC,      // \|
    kOem6 = 0xDD,      // ]}
    kOem7 = 0xDE,      // '"
    kOem102 = 0xE2,    // <> of the international keyboards
};

struct KeyRow {
    KeySym sym;
    unsigned vk;
    unsigned scan;
    bool extended;
};

// The one table from X key symbols to virtual keys and the scan codes of
// the keyboard's keys. Digits and letters of the main keyboard are their
// character codes; the keypad's digits (Num Lock on) are VK_NUMPAD0..9, its
// navigation keys (Num Lock off) the navigation keys, told apart from the
// separate block by the extended-key flag.
constexpr KeyRow kKeys[] = {
    {XK_Escape, VK_ESCAPE, 0x01, false},
    {XK_1, '1', 0x02, false}, {XK_2, '2', 0x03, false}, {XK_3, '3', 0x04, false}, {XK_4, '4', 0x05, false},
    {XK_5, '5', 0x06, false}, {XK_6, '6', 0x07, false}, {XK_7, '7', 0x08, false}, {XK_8, '8', 0x09, false},
    {XK_9, '9', 0x0A, false}, {XK_0, '0', 0x0B, false},
    {XK_minus, kOemMinus, 0x0C, false}, {XK_equal, kOemPlus, 0x0D, false},
    {XK_BackSpace, VK_BACK, 0x0E, false}, {XK_Tab, VK_TAB, 0x0F, false}, {XK_ISO_Left_Tab, VK_TAB, 0x0F, false},
    {XK_q, 'Q', 0x10, false}, {XK_w, 'W', 0x11, false}, {XK_e, 'E', 0x12, false}, {XK_r, 'R', 0x13, false},
    {XK_t, 'T', 0x14, false}, {XK_y, 'Y', 0x15, false}, {XK_u, 'U', 0x16, false}, {XK_i, 'I', 0x17, false},
    {XK_o, 'O', 0x18, false}, {XK_p, 'P', 0x19, false},
    {XK_bracketleft, kOem4, 0x1A, false}, {XK_bracketright, kOem6, 0x1B, false},
    {XK_Return, VK_RETURN, 0x1C, false}, {XK_Control_L, VK_CONTROL, 0x1D, false},
    {XK_a, 'A', 0x1E, false}, {XK_s, 'S', 0x1F, false}, {XK_d, 'D', 0x20, false}, {XK_f, 'F', 0x21, false},
    {XK_g, 'G', 0x22, false}, {XK_h, 'H', 0x23, false}, {XK_j, 'J', 0x24, false}, {XK_k, 'K', 0x25, false},
    {XK_l, 'L', 0x26, false},
    {XK_semicolon, kOem1, 0x27, false}, {XK_apostrophe, kOem7, 0x28, false}, {XK_grave, kOem3, 0x29, false},
    {XK_Shift_L, VK_SHIFT, 0x2A, false}, {XK_backslash, kOem5, 0x2B, false},
    {XK_z, 'Z', 0x2C, false}, {XK_x, 'X', 0x2D, false}, {XK_c, 'C', 0x2E, false}, {XK_v, 'V', 0x2F, false},
    {XK_b, 'B', 0x30, false}, {XK_n, 'N', 0x31, false}, {XK_m, 'M', 0x32, false},
    {XK_comma, kOemComma, 0x33, false}, {XK_period, kOemPeriod, 0x34, false}, {XK_slash, kOem2, 0x35, false},
    {XK_Shift_R, VK_SHIFT, 0x36, false}, {XK_KP_Multiply, VK_MULTIPLY, 0x37, false},
    {XK_Alt_L, VK_MENU, 0x38, false}, {XK_Meta_L, VK_MENU, 0x38, false}, {XK_space, VK_SPACE, 0x39, false},
    {XK_Caps_Lock, VK_CAPITAL, 0x3A, false},
    {XK_F1, VK_F1 + 0, 0x3B, false}, {XK_F2, VK_F1 + 1, 0x3C, false}, {XK_F3, VK_F1 + 2, 0x3D, false},
    {XK_F4, VK_F1 + 3, 0x3E, false}, {XK_F5, VK_F1 + 4, 0x3F, false}, {XK_F6, VK_F1 + 5, 0x40, false},
    {XK_F7, VK_F1 + 6, 0x41, false}, {XK_F8, VK_F1 + 7, 0x42, false}, {XK_F9, VK_F1 + 8, 0x43, false},
    {XK_F10, VK_F1 + 9, 0x44, false}, {XK_F11, VK_F1 + 10, 0x57, false}, {XK_F12, VK_F1 + 11, 0x58, false},
    {XK_Num_Lock, kNumLock, 0x45, true}, {XK_Scroll_Lock, kScroll, 0x46, false},
    // The keypad with Num Lock on ...
    {XK_KP_7, VK_NUMPAD7, 0x47, false}, {XK_KP_8, VK_NUMPAD8, 0x48, false}, {XK_KP_9, VK_NUMPAD9, 0x49, false},
    {XK_KP_Subtract, VK_SUBTRACT, 0x4A, false},
    {XK_KP_4, VK_NUMPAD4, 0x4B, false}, {XK_KP_5, VK_NUMPAD5, 0x4C, false}, {XK_KP_6, VK_NUMPAD6, 0x4D, false},
    {XK_KP_Add, VK_ADD, 0x4E, false},
    {XK_KP_1, VK_NUMPAD1, 0x4F, false}, {XK_KP_2, VK_NUMPAD2, 0x50, false}, {XK_KP_3, VK_NUMPAD3, 0x51, false},
    {XK_KP_0, VK_NUMPAD0, 0x52, false}, {XK_KP_Decimal, VK_DECIMAL, 0x53, false},
    {XK_KP_Separator, kSeparator, 0x53, false},
    // ... and with Num Lock off.
    {XK_KP_Home, VK_HOME, 0x47, false}, {XK_KP_Up, VK_UP, 0x48, false}, {XK_KP_Prior, VK_PRIOR, 0x49, false},
    {XK_KP_Left, VK_LEFT, 0x4B, false}, {XK_KP_Begin, kClear, 0x4C, false}, {XK_KP_Right, VK_RIGHT, 0x4D, false},
    {XK_KP_End, VK_END, 0x4F, false}, {XK_KP_Down, VK_DOWN, 0x50, false}, {XK_KP_Next, VK_NEXT, 0x51, false},
    {XK_KP_Insert, VK_INSERT, 0x52, false}, {XK_KP_Delete, VK_DELETE, 0x53, false},
    {XK_KP_Enter, VK_RETURN, 0x1C, true}, {XK_KP_Divide, VK_DIVIDE, 0x35, true},
    {XK_less, kOem102, 0x56, false},
    // The separate block and the keys right of the space bar.
    {XK_Control_R, VK_CONTROL, 0x1D, true}, {XK_Alt_R, VK_MENU, 0x38, true},
    {XK_ISO_Level3_Shift, VK_MENU, 0x38, true}, {XK_Print, kSnapshot, 0x37, true},
    {XK_Pause, VK_PAUSE, 0x45, false},
    {XK_Home, VK_HOME, 0x47, true}, {XK_Up, VK_UP, 0x48, true}, {XK_Prior, VK_PRIOR, 0x49, true},
    {XK_Left, VK_LEFT, 0x4B, true}, {XK_Right, VK_RIGHT, 0x4D, true}, {XK_End, VK_END, 0x4F, true},
    {XK_Down, VK_DOWN, 0x50, true}, {XK_Next, VK_NEXT, 0x51, true}, {XK_Insert, VK_INSERT, 0x52, true},
    {XK_Delete, VK_DELETE, 0x53, true},
    {XK_Super_L, kLeftWin, 0x5B, true}, {XK_Super_R, kRightWin, 0x5C, true}, {XK_Menu, kApps, 0x5D, true},
};

const KeyRow* row_of(KeySym sym) {
    for (const KeyRow& r : kKeys)
        if (r.sym == sym) return &r;
    return nullptr;
}

// A key whose symbols this table does not know (a letter of another
// alphabet, a national key) is taken by its place on the keyboard: X key
// codes are the kernel's codes plus 8, and those are the scan codes of the
// main block.
const KeyRow* row_of_scan(unsigned keycode) {
    if (keycode < 9 || keycode > 8 + 0x58) return nullptr;
    unsigned scan = keycode - 8;
    for (const KeyRow& r : kKeys)
        if (r.scan == scan && !r.extended) return &r;
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

KeyTranslation translate_key(Display* dpy, unsigned keycode, bool numlock) {
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
    if (!r) r = row_of_scan(keycode);
    if (!r) return {};
    return KeyTranslation{r->vk, r->scan, r->extended};
}

}  // namespace orvex_x11
