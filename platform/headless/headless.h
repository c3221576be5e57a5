// The headless display: windows live in memory, rendering contexts are EGL
// pbuffers on Mesa's surfaceless platform, and tests drive it from here:
// the screen's size, input as a display would deliver it, answers to message
// boxes, and the frames handed to SwapBuffers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace orvex_platform {
class Driver;
}

namespace orvex_headless {

// The driver itself, for the platform's choice of driver.
std::unique_ptr<orvex_platform::Driver> make_driver();

// Picks the headless driver for this process (before any platform call).
void activate();

void set_screen_size(int width, int height);

// ---- input, delivered the next time the program looks at its queue --------
// A key by its virtual key: the keyboard's key of that code, a left or right
// Shift, Ctrl or Alt by its sided code (VK_RCONTROL). A key already down
// repeats, as auto-repeat does.
void key_down(unsigned vk);
void key_up(unsigned vk);
void pointer_to_screen(int x, int y);          // moves the pointer (screen co-ordinates)
void pointer_to(HWND wnd, int x, int y);       // ... to a point of a window's client area
enum class Button { left, right, middle };
void button_down(Button b);                    // at the pointer's position
void button_up(Button b);
void close_button(HWND wnd);                   // the user clicks the window's close button
// A drag across a window's client area: the pointer to its centre, the
// button pressed, the pointer moved by (dx, dy), the button released.
void drag(HWND wnd, Button b, int dx, int dy);
POINT pointer();

// ---- message boxes ----------------------------------------------------------
// Answers for the next boxes, in order; without one a box cannot be shown
// and MessageBoxA answers 0.
void answer_next_message_box(int answer);
struct ShownMessageBox {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
    int answer;
};
const std::vector<ShownMessageBox>& message_boxes();
void clear_message_boxes();

// ---- frames -------------------------------------------------------------------
struct Frame {
    int number = 0;  // 1 for the first frame presented, ...; 0 while none was read back
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // top row first
    std::uint32_t pixel(int x, int y) const;  // 0xRRGGBBAA, (0, 0) top-left
};
// The last frame read back, and how many frames were handed to SwapBuffers.
const Frame& last_frame();
int frames_presented();
// Called after each presented frame with its number (1, 2, ...): the place to
// inject input between frames.
void on_present(std::function<void(int frame)> hook);
// Which frames are read back into last_frame() as they are presented: every
// one, unless a program that needs fewer (a snapshot needs one) says which by
// their numbers. A frame not read back still counts and still reaches the
// on_present hook; an empty function reads back every frame again.
void read_back_frames(std::function<bool(int frame)> which);

// What GDI painted into a window's client area (0x00RRGGBB, top row first).
std::vector<std::uint32_t> window_pixels(HWND wnd, int* width = nullptr, int* height = nullptr);

// Objects the process holds: GDI objects that are not stock objects.
std::size_t gdi_object_count();

// Every kind of object the process holds a handle to: windows, GDI objects
// that are not stock objects (device contexts included), rendering contexts,
// global memory blocks, and cursors and icons (the system's, once loaded,
// stay).
struct LiveHandles {
    std::size_t windows = 0;
    std::size_t gdi_objects = 0;
    std::size_t gl_contexts = 0;
    std::size_t memory_blocks = 0;
    std::size_t cursors = 0;
    bool operator==(const LiveHandles&) const = default;
};
LiveHandles live_handles();

}  // namespace orvex_headless
