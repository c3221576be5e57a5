#include "frame_analysis.h"

namespace orvex_test {

bool is_green(Rgb c) { return c.g >= 40 && c.g > c.r + 8 && c.g > c.b + 8; }
bool is_black(Rgb c) { return c.r < 8 && c.g < 8 && c.b < 8; }

namespace {
template <class F>
double share(const orvex_headless::Frame& f, int x0, int y0, int x1, int y1, F&& test) {
    long n = 0, hits = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            ++n;
            hits += test(rgb_at(f, x, y)) ? 1 : 0;
        }
    return n ? static_cast<double>(hits) / static_cast<double>(n) : 0.0;
}
}  // namespace

double green_share(const orvex_headless::Frame& f, int x0, int y0, int x1, int y1) {
    return share(f, x0, y0, x1, y1, is_green);
}
double black_share(const orvex_headless::Frame& f, int x0, int y0, int x1, int y1) {
    return share(f, x0, y0, x1, y1, is_black);
}

long differing_pixels(const orvex_headless::Frame& a, const orvex_headless::Frame& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    long n = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return n;
}

}  // namespace orvex_test
