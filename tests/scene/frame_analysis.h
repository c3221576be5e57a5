// Looking at presented frames: colours, regions, equality.
#pragma once

#include <cstdint>
#include <string>

#include "platform/headless/headless.h"

namespace orvex_test {

struct Rgb {
    int r, g, b;
};
inline Rgb rgb_at(const orvex_headless::Frame& f, int x, int y) {
    std::uint32_t p = f.pixel(x, y);
    return Rgb{static_cast<int>(p >> 24), static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF)};
}

// A grass-blade pixel: clearly green, green above red and blue.
bool is_green(Rgb c);
bool is_black(Rgb c);

// Shares of a rectangle [x0, x1) x [y0, y1) of the frame, from 0 to 1.
double green_share(const orvex_headless::Frame& f, int x0, int y0, int x1, int y1);
double black_share(const orvex_headless::Frame& f, int x0, int y0, int x1, int y1);

// How many pixels two frames of the same size differ in.
long differing_pixels(const orvex_headless::Frame& a, const orvex_headless::Frame& b);

}  // namespace orvex_test
