// MessageBoxA on X: a modal dialog with the text, the caption and the
// buttons of the box's style, answered by mouse or keyboard (Enter, Space,
// Escape, Tab and the arrows, the buttons' access keys such as Y and N).
// While it is open the program's other windows keep being repainted.
#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cctype>

#include "platform/core/window.h"
#include "platform/x11/x11_driver.h"

namespace orvex_x11 {

namespace {

struct Button {
    int id;
    std::string label;  // '&' marks the access key
    XRectangle box{};
};

std::vector<Button> buttons_for(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
        case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
        case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
        case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
        case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
        case MB_CANCELTRYCONTINUE: return {{IDCANCEL, "Cancel"}, {IDTRYAGAIN, "&Try Again"}, {IDCONTINUE, "&Continue"}};
        default: return {{IDOK, "OK"}};
    }
}

std::string without_marks(const std::string& label) {
    std::string s;
    for (char c : label)
        if (c != '&') s += c;
    return s;
}

char access_key(const std::string& label) {
    auto at = label.find('&');
    return (at != std::string::npos && at + 1 < label.size())
               ? static_cast<char>(std::tolower(static_cast<unsigned char>(label[at + 1])))
               : 0;
}

enum class Icon { none, error, question, warning, information };

Icon icon_for(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND: return Icon::error;
        case MB_ICONQUESTION: return Icon::question;
        case MB_ICONEXCLAMATION: return Icon::warning;
        case MB_ICONASTERISK: return Icon::information;
        default: return Icon::none;
    }
}

// The box's layout, in pixels: the margin around its content, the icon's
// side, a button's least width, its height and the gap between buttons, the
// height of the strip that holds the buttons, the widest text line, the
// least width of the box.
constexpr int kPad = 12, kIcon = 32, kButtonW = 75, kButtonH = 23, kGap = 8, kStrip = 45, kMaxText = 420,
              kMinWidth = 200;
constexpr int kLineGap = 2;       // between two lines of text
constexpr int kTextTop = 4;       // the text (and icon) below the top margin
constexpr int kTextBottom = 8;    // between the text and the button strip
constexpr int kLabelPad = 20;     // a button's width beyond its label
constexpr int kFrameRoom = 48;    // kept free of the screen's height for the window manager's frame

class MessageBoxDialog {
public:
    MessageBoxDialog(X11Driver& d, HWND owner, const std::string& text, const std::string& caption, UINT type)
        : d_(d), dpy_(d.display()), owner_(owner), caption_(caption), buttons_(buttons_for(type)),
          icon_(icon_for(type)) {
        // MB_DEFBUTTON1, 2, 3: the button that has the focus at first.
        focus_ = std::min<std::size_t>((type & MB_DEFMASK) / MB_DEFBUTTON2, buttons_.size() - 1);
        layout(cp1252_to_utf8(text));
    }

    int run() {
        if (!create()) return 0;
        HWND saved_disabled = d_.disabled_window();
        HWND saved_fg = d_.foreground();
        ::Window saved_box = d_.message_box_window();
        d_.set_message_box_window(win_);
        // An owned box holds back the input of its owner, as the owner is
        // disabled on Windows while its box is open.
        if (owner_) d_.set_disabled(top_level_of(owner_));
        XMapRaised(dpy_, win_);
        XFlush(dpy_);
        while (answer_ < 0) {
            repaint_program_windows();
            d_.wait_for_events(100);
            while (answer_ < 0 && XPending(dpy_) > 0) {
                XEvent ev;
                XNextEvent(dpy_, &ev);
                if (ev.xany.window == win_)
                    handle(ev);
                else
                    d_.handle_event(ev);
            }
        }
        XDestroyWindow(dpy_, win_);
        XFlush(dpy_);
        d_.set_message_box_window(saved_box);
        d_.set_disabled(saved_disabled);
        if (saved_fg && find_window(saved_fg)) d_.set_foreground(saved_fg);
        return answer_;
    }

private:
    void layout(const std::string& utf8) {
        Painter& p = d_.painter();
        TextMetrics m = p.metrics();
        line_h_ = m.height() + kLineGap;
        // Lines as the text breaks them, wrapped at word boundaries where too long.
        std::string line;
        // The longest prefix of `s` (ending on a character boundary) that fits.
        auto fitting = [&](const std::string& s) {
            std::size_t lo = 1, hi = s.size();
            while (lo < hi) {
                std::size_t mid = (lo + hi + 1) / 2;
                if (p.text_width(s.substr(0, mid)) <= kMaxText)
                    lo = mid;
                else
                    hi = mid - 1;
            }
            while (lo < s.size() && (static_cast<unsigned char>(s[lo]) & 0xC0) == 0x80) ++lo;
            return lo;
        };
        auto flush = [&](std::string s) {
            while (!s.empty() && s.back() == '\r') s.pop_back();
            while (p.text_width(s) > kMaxText) {
                std::size_t cut = fitting(s);
                // Break at the last blank that fits, else inside the word.
                std::size_t space = s.rfind(' ', cut);
                if (space != std::string::npos && space > 0 && space <= cut) cut = space;
                lines_.push_back(s.substr(0, cut));
                s.erase(0, cut);
                while (!s.empty() && s.front() == ' ') s.erase(0, 1);
            }
            lines_.push_back(s);
        };
        for (char c : utf8) {
            if (c == '\n') {
                flush(line);
                line.clear();
            } else {
                line += c;
            }
        }
        flush(line);
        // No taller than the screen: what does not fit ends in an ellipsis.
        const SIZE screen = d_.screen_size();
        const int room = std::max<int>(1, (screen.cy - 2 * kPad - kStrip - kFrameRoom) / line_h_);
        if (static_cast<int>(lines_.size()) > room) {
            lines_.resize(static_cast<std::size_t>(room));
            lines_.back() += "\xE2\x80\xA6";
        }
        int text_w = 0;
        for (const auto& l : lines_) text_w = std::max(text_w, p.text_width(l));
        const int text_h = static_cast<int>(lines_.size()) * line_h_;
        const int icon_w = icon_ == Icon::none ? 0 : kIcon + kPad;
        const int content_h = std::max(text_h, icon_ == Icon::none ? 0 : kIcon);
        int buttons_w = 0;
        for (auto& b : buttons_) {
            b.box.width =
                static_cast<unsigned short>(std::max(kButtonW, p.text_width(without_marks(b.label)) + kLabelPad));
            b.box.height = kButtonH;
            buttons_w += b.box.width + kGap;
        }
        buttons_w -= kGap;
        width_ = std::max({2 * kPad + icon_w + text_w, 2 * kPad + buttons_w, kMinWidth});
        top_h_ = 2 * kPad + content_h + kTextBottom;
        height_ = top_h_ + kStrip;
        text_x_ = kPad + icon_w;
        text_y_ = kPad + kTextTop + std::max(0, (content_h - text_h) / 2);
        int x = width_ - kPad - buttons_w;
        for (auto& b : buttons_) {
            b.box.x = static_cast<short>(x);
            b.box.y = static_cast<short>(top_h_ + (kStrip - kButtonH) / 2);
            x += b.box.width + kGap;
        }
    }

    bool create() {
        // Centred on the primary monitor, as Windows centres its message boxes.
        const RECT monitor = d_.primary_on_root();
        ::Window root = d_.root();
        XSetWindowAttributes a{};
        a.background_pixel = WhitePixel(dpy_, d_.screen());
        a.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                       StructureNotifyMask | FocusChangeMask;
        const int x = monitor.left + std::max<int>(0, (monitor.right - monitor.left - width_) / 2),
                  y = monitor.top + std::max<int>(0, (monitor.bottom - monitor.top - height_) / 2);
        win_ = XCreateWindow(dpy_, root, x, y, static_cast<unsigned>(width_), static_cast<unsigned>(height_), 0,
                             CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &a);
        if (!win_) return false;
        std::string title = cp1252_to_utf8(caption_);
        XChangeProperty(dpy_, win_, d_.atom("_NET_WM_NAME"), d_.atom("UTF8_STRING"), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
        char* list[1] = {title.data()};
        XTextProperty tp{};
        if (Xutf8TextListToTextProperty(dpy_, list, 1, XStdICCTextStyle, &tp) >= Success) {
            XSetWMName(dpy_, win_, &tp);
            if (tp.value) XFree(tp.value);
        }
        XClassHint cls{};
        std::string name = "orvex-message-box", klass = "MessageBox";
        cls.res_name = name.data();
        cls.res_class = klass.data();
        XSetClassHint(dpy_, win_, &cls);
        Atom protocols[2] = {d_.atom("WM_DELETE_WINDOW"), d_.atom("_NET_WM_PING")};
        XSetWMProtocols(dpy_, win_, protocols, 2);
        Atom type = d_.atom("_NET_WM_WINDOW_TYPE_DIALOG");
        XChangeProperty(dpy_, win_, d_.atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&type), 1);
        if (owner_) {
            if (XWindow* o = d_.find(top_level_of(owner_))) {
                XSetTransientForHint(dpy_, win_, o->id);
                Atom modal = d_.atom("_NET_WM_STATE_MODAL");
                XChangeProperty(dpy_, win_, d_.atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<unsigned char*>(&modal), 1);
            }
        }
        XSizeHints* hints = XAllocSizeHints();
        if (hints) {
            hints->flags = PPosition | USPosition | PMinSize | PMaxSize;
            hints->x = x;
            hints->y = y;
            hints->min_width = hints->max_width = width_;
            hints->min_height = hints->max_height = height_;
            XSetWMNormalHints(dpy_, win_, hints);
            XFree(hints);
        }
        XWMHints* wm = XAllocWMHints();
        if (wm) {
            wm->flags = InputHint | StateHint;
            wm->input = True;
            wm->initial_state = NormalState;
            XSetWMHints(dpy_, win_, wm);
            XFree(wm);
        }
        return true;
    }

    // The program's windows that wait for WM_PAINT get it, from in here,
    // as the system's own modal loops send it.
    void repaint_program_windows() {
        for (HWND h : all_windows()) {
            orvex_platform::Window* w = find_window(h);
            if (w && w->update && w->visible && !w->minimized) UpdateWindow(h);
        }
    }

    int cancel_answer() const {
        for (const auto& b : buttons_)
            if (b.id == IDCANCEL) return IDCANCEL;
        // A box with OK alone closes with OK; others cannot be closed without an answer.
        return buttons_.size() == 1 && buttons_[0].id == IDOK ? IDOK : -1;
    }

    int button_at(int x, int y) const {
        for (std::size_t i = 0; i < buttons_.size(); ++i) {
            const XRectangle& r = buttons_[i].box;
            if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) return static_cast<int>(i);
        }
        return -1;
    }

    void handle(XEvent& ev) {
        switch (ev.type) {
            case Expose:
                if (ev.xexpose.count == 0) draw();
                break;
            case MapNotify:
                d_.focus_x_window(win_);
                break;
            case KeyPress: on_key(ev.xkey); break;
            case ButtonPress:
                if (ev.xbutton.button == Button1) {
                    pressed_ = button_at(ev.xbutton.x, ev.xbutton.y);
                    if (pressed_ >= 0) focus_ = static_cast<std::size_t>(pressed_);
                    draw();
                }
                break;
            case ButtonRelease:
                if (ev.xbutton.button == Button1) {
                    int at = button_at(ev.xbutton.x, ev.xbutton.y);
                    if (at >= 0 && at == pressed_) answer_ = buttons_[static_cast<std::size_t>(at)].id;
                    pressed_ = -1;
                    draw();
                }
                break;
            case ClientMessage:
                if (ev.xclient.message_type == d_.atom("WM_PROTOCOLS") && ev.xclient.format == 32) {
                    Atom p = static_cast<Atom>(ev.xclient.data.l[0]);
                    if (p == d_.atom("WM_DELETE_WINDOW")) {
                        int a = cancel_answer();
                        if (a > 0) answer_ = a;
                    } else if (p == d_.atom("_NET_WM_PING")) {
                        XClientMessageEvent reply = ev.xclient;
                        reply.window = d_.root();
                        XSendEvent(dpy_, d_.root(), False, SubstructureNotifyMask | SubstructureRedirectMask,
                                   reinterpret_cast<XEvent*>(&reply));
                    }
                }
                break;
            default: break;
        }
    }

    void on_key(XKeyEvent& ev) {
        KeySym sym = XLookupKeysym(&ev, 0);
        const bool shift = (ev.state & ShiftMask) != 0;
        switch (sym) {
            case XK_Return:
            case XK_KP_Enter:
            case XK_space: answer_ = buttons_[focus_].id; return;
            case XK_Escape: {
                int a = cancel_answer();
                if (a > 0) answer_ = a;
                return;
            }
            case XK_Tab:
            case XK_ISO_Left_Tab:
                move_focus(sym == XK_ISO_Left_Tab || shift ? -1 : 1);
                return;
            case XK_Right:
            case XK_Down: move_focus(1); return;
            case XK_Left:
            case XK_Up: move_focus(-1); return;
            default: break;
        }
        if (sym >= XK_a && sym <= XK_z) {
            char c = static_cast<char>('a' + (sym - XK_a));
            for (const auto& b : buttons_)
                if (access_key(b.label) == c) answer_ = b.id;
        }
    }

    void move_focus(int step) {
        const int n = static_cast<int>(buttons_.size());
        focus_ = static_cast<std::size_t>((static_cast<int>(focus_) + step + n) % n);
        draw();
    }

    void draw_icon(Drawable t, int x, int y) {
        Painter& p = d_.painter();
        std::uint32_t colour = 0;
        const char* glyph = "";
        switch (icon_) {
            case Icon::error: colour = 0xD83B01; glyph = "\xC3\x97"; break;  // multiplication sign
            case Icon::question: colour = 0x1E66C8; glyph = "?"; break;
            case Icon::warning: colour = 0xF0B400; glyph = "!"; break;
            case Icon::information: colour = 0x1E66C8; glyph = "i"; break;
            case Icon::none: return;
        }
        p.ellipse(t, x, y, kIcon, kIcon, colour);
        TextMetrics m = p.metrics();
        int gw = p.text_width(glyph);
        p.text(t, x + (kIcon - gw) / 2, y + (kIcon - m.height()) / 2 + m.ascent, glyph,
               icon_ == Icon::warning ? 0x000000 : 0xFFFFFF);
    }

    void draw() {
        Painter& p = d_.painter();
        Pixmap pm = XCreatePixmap(dpy_, win_, static_cast<unsigned>(width_), static_cast<unsigned>(height_),
                                  static_cast<unsigned>(DefaultDepth(dpy_, d_.screen())));
        p.fill(pm, 0, 0, width_, top_h_, 0xFFFFFF);
        p.fill(pm, 0, top_h_, width_, kStrip, 0xF0F0F0);
        if (icon_ != Icon::none) draw_icon(pm, kPad, kPad + kTextTop);
        TextMetrics m = p.metrics();
        for (std::size_t i = 0; i < lines_.size(); ++i)
            p.text(pm, text_x_, text_y_ + static_cast<int>(i) * line_h_ + m.ascent, lines_[i], 0x000000);
        for (std::size_t i = 0; i < buttons_.size(); ++i) {
            const Button& b = buttons_[i];
            const XRectangle& r = b.box;
            const bool focused = i == focus_, down = static_cast<int>(i) == pressed_;
            p.fill(pm, r.x, r.y, r.width, r.height, focused ? 0x0078D7 : 0xADADAD);
            p.fill(pm, r.x + 1, r.y + 1, r.width - 2, r.height - 2, down ? 0xCCE4F7 : (focused ? 0xE5F1FB : 0xE1E1E1));
            std::string shown = without_marks(b.label);
            int tw = p.text_width(shown);
            int tx = r.x + (r.width - tw) / 2;
            int base = r.y + (r.height - m.height()) / 2 + m.ascent;
            p.text(pm, tx, base, shown, 0x000000);
            auto at = b.label.find('&');
            if (at != std::string::npos && at + 1 < b.label.size()) {
                // The access key's letter is underlined.
                int ux = tx + p.text_width(b.label.substr(0, at));
                int uw = p.text_width(b.label.substr(at + 1, 1));
                p.line(pm, ux, base + 1, ux + uw - 1, base + 1, 0x000000);
            }
        }
        XCopyArea(dpy_, pm, win_, DefaultGC(dpy_, d_.screen()), 0, 0, static_cast<unsigned>(width_),
                  static_cast<unsigned>(height_), 0, 0);
        XFreePixmap(dpy_, pm);
        XFlush(dpy_);
    }

    X11Driver& d_;
    Display* dpy_;
    HWND owner_;
    std::string caption_;
    std::vector<Button> buttons_;
    Icon icon_;
    std::vector<std::string> lines_;
    int line_h_ = 16;
    int width_ = 0, height_ = 0, top_h_ = 0, text_x_ = 0, text_y_ = 0;
    std::size_t focus_ = 0;
    int pressed_ = -1;
    int answer_ = -1;
    ::Window win_ = 0;
};

}  // namespace

int X11Driver::message_box(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    MessageBoxDialog box(*this, owner, text, caption, type);
    return box.run();
}

}  // namespace orvex_x11
