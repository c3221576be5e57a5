// The headless display driver, and its interface for tests.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <algorithm>
#include <deque>
#include <memory>

#include "platform/core/driver.h"
#include "platform/core/gdi_objects.h"
#include "platform/core/handle_counts.h"
#include "platform/core/input.h"
#include "platform/core/keyboard.h"
#include "platform/core/message_queue.h"
#include "platform/core/window.h"
#include "platform/headless/headless.h"
#include "platform/platform_control.h"

namespace orvex_headless {

using namespace orvex_platform;

namespace {

struct InputEvent {
    enum Kind { key_down, key_up, motion, button_down, button_up, close } kind;
    unsigned code = 0;  // virtual key or button
    POINT at{};
    HWND wnd{};
};

class HeadlessDriver final : public Driver {
public:
    const char* name() const override { return "headless"; }

    SIZE screen_size() override { return screen; }

    void window_created(Window&) override {}
    void window_destroyed(Window&) override {}
    void window_changed(Window&) override {}
    void window_painted(Window&) override {}

    bool pump(bool) override {
        bool any = !events.empty();
        while (!events.empty()) {
            InputEvent e = events.front();
            events.pop_front();
            deliver(e);
        }
        return any;
    }

    void capture_changed(HWND) override {}
    POINT cursor_pos() override { return cursor; }
    void set_cursor_pos(POINT p) override { cursor = p; }
    HWND foreground() override { return fg; }
    void set_foreground(HWND wnd) override { fg = wnd; }

    int message_box(HWND owner, const std::string& text, const std::string& caption, UINT type) override {
        int answer = 0;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        boxes.push_back(ShownMessageBox{owner, text, caption, type, answer});
        return answer;
    }

    unsigned egl_platform() const override { return EGL_PLATFORM_SURFACELESS_MESA; }
    void* egl_native_display() override { return EGL_DEFAULT_DISPLAY; }
    bool egl_window_surfaces() const override { return false; }
    void* egl_native_window(Window&) override { return nullptr; }

    void before_swap(Window& w) override {
        ++frame_count;
        if (!read_back || read_back(frame_count)) read_frame(w);
        if (hook) hook(frame_count);
    }

    // Copies the frame out of the surface, top row first. Both buffers are
    // kept from frame to frame.
    void read_frame(Window& w) {
        const int width = w.surface_width, height = w.surface_height;
        const std::size_t row = static_cast<std::size_t>(width) * 4;
        bottom_up.resize(row * static_cast<std::size_t>(height));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottom_up.data());
        frame.number = frame_count;
        frame.width = width;
        frame.height = height;
        frame.rgba.resize(bottom_up.size());
        for (int y = 0; y < height; ++y)
            std::copy_n(bottom_up.data() + row * static_cast<std::size_t>(height - 1 - y), row,
                        frame.rgba.data() + row * static_cast<std::size_t>(y));
    }

    void push(InputEvent e) { events.push_back(e); }

    SIZE screen{1920, 1080};
    POINT cursor{0, 0};
    HWND fg{};
    std::deque<InputEvent> events;
    bool buttons[3]{};
    std::deque<int> answers;
    std::vector<ShownMessageBox> boxes;
    Frame frame;
    std::vector<std::uint8_t> bottom_up;
    int frame_count = 0;
    std::function<void(int)> hook;
    std::function<bool(int)> read_back;

private:
    WPARAM mouse_keys() const {
        WPARAM k = 0;
        if (buttons[0]) k |= MK_LBUTTON;
        if (buttons[1]) k |= MK_RBUTTON;
        if (buttons[2]) k |= MK_MBUTTON;
        if (key_held(VK_SHIFT)) k |= MK_SHIFT;
        if (key_held(VK_CONTROL)) k |= MK_CONTROL;
        return k;
    }

    void deliver(const InputEvent& e) {
        switch (e.kind) {
            case InputEvent::key_down:
            case InputEvent::key_up:
                // The test's code is a virtual key: the keyboard's key of that code.
                deliver_key(key_event_for(e.code, e.kind == InputEvent::key_down));
                break;
            case InputEvent::motion:
                cursor = e.at;
                post_mouse_input(WM_MOUSEMOVE, cursor, mouse_keys());
                break;
            case InputEvent::button_down:
            case InputEvent::button_up: {
                bool down = e.kind == InputEvent::button_down;
                buttons[e.code] = down;
                static const UINT msgs[3][2] = {{WM_LBUTTONUP, WM_LBUTTONDOWN},
                                                {WM_RBUTTONUP, WM_RBUTTONDOWN},
                                                {WM_MBUTTONUP, WM_MBUTTONDOWN}};
                post_mouse_input(msgs[e.code][down ? 1 : 0], cursor, mouse_keys());
                break;
            }
            case InputEvent::close:
                post_input_message(e.wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
                break;
        }
    }
};

HeadlessDriver* g_headless = nullptr;

// The running headless driver, started here when no driver runs yet. Its
// controls mean nothing to another driver: using them then ends the program.
HeadlessDriver& headless() {
    if (!g_headless) {
        choose_driver(DriverChoice::headless);
        driver();
    }
    if (!g_headless)
        fatal_display_error(std::string("the headless display's controls were used while the ") + driver_name() +
                            " driver runs (orvex_headless::activate() chooses the headless driver before the first "
                            "platform call).");
    return *g_headless;
}
}  // namespace

std::unique_ptr<Driver> make_driver() {
    auto d = std::make_unique<HeadlessDriver>();
    g_headless = d.get();
    return d;
}

void activate() {
    orvex_platform::choose_driver(orvex_platform::DriverChoice::headless);
    headless();
}

void set_screen_size(int width, int height) { headless().screen = SIZE{width, height}; }

void key_down(unsigned vk) { headless().push(InputEvent{InputEvent::key_down, vk, {}, {}}); }
void key_up(unsigned vk) { headless().push(InputEvent{InputEvent::key_up, vk, {}, {}}); }

void pointer_to_screen(int x, int y) { headless().push(InputEvent{InputEvent::motion, 0, POINT{x, y}, {}}); }

void pointer_to(HWND wnd, int x, int y) {
    POINT p{x, y};
    if (orvex_platform::Window* w = orvex_platform::find_window(wnd)) {
        POINT o = orvex_platform::client_origin_on_screen(*w);
        p.x += o.x;
        p.y += o.y;
    }
    pointer_to_screen(p.x, p.y);
}

void button_down(Button b) { headless().push(InputEvent{InputEvent::button_down, static_cast<unsigned>(b), {}, {}}); }
void button_up(Button b) { headless().push(InputEvent{InputEvent::button_up, static_cast<unsigned>(b), {}, {}}); }
void drag(HWND wnd, Button b, int dx, int dy) {
    const orvex_platform::Window* w = orvex_platform::find_window(wnd);
    const SIZE client = w ? orvex_platform::client_size(*w) : SIZE{0, 0};
    const int x = client.cx / 2, y = client.cy / 2;
    pointer_to(wnd, x, y);
    button_down(b);
    pointer_to(wnd, x + dx, y + dy);
    button_up(b);
}

void close_button(HWND wnd) { headless().push(InputEvent{InputEvent::close, 0, {}, wnd}); }

POINT pointer() {
    // Where the pointer will be once the queued input has been delivered.
    auto& d = headless();
    for (auto it = d.events.rbegin(); it != d.events.rend(); ++it)
        if (it->kind == InputEvent::motion) return it->at;
    return d.cursor;
}

void answer_next_message_box(int answer) { headless().answers.push_back(answer); }
const std::vector<ShownMessageBox>& message_boxes() { return headless().boxes; }
void clear_message_boxes() { headless().boxes.clear(); }

std::uint32_t Frame::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    const std::uint8_t* p = rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

const Frame& last_frame() { return headless().frame; }
int frames_presented() { return headless().frame_count; }
void on_present(std::function<void(int)> hook) { headless().hook = std::move(hook); }
void read_back_frames(std::function<bool(int)> which) { headless().read_back = std::move(which); }

std::vector<std::uint32_t> window_pixels(HWND wnd, int* width, int* height) {
    orvex_platform::Window* w = orvex_platform::find_window(wnd);
    if (!w) return {};
    SIZE s = orvex_platform::client_size(*w);
    if (width) *width = s.cx;
    if (height) *height = s.cy;
    if (w->pixels.size() != static_cast<std::size_t>(s.cx) * s.cy) return {};
    return w->pixels;
}

std::size_t gdi_object_count() { return orvex_platform::gdi_object_count(); }

LiveHandles live_handles() {
    LiveHandles h;
    h.windows = orvex_platform::all_windows().size();
    h.gdi_objects = orvex_platform::gdi_object_count();
    h.gl_contexts = orvex_platform::gl_context_count();
    h.memory_blocks = orvex_platform::global_block_count();
    h.cursors = orvex_platform::cursor_count();
    return h;
}

}  // namespace orvex_headless
