// buttongen DIR: writes the example's button pictures into DIR.
//
//   playN.BMP playH.BMP playP.BMP   a round play button, 24 bits per pixel
//   starN.BMP starH.BMP starP.BMP   a five-pointed star, 8 bits with a colour table
//   stopN.BMP stopH.BMP stopP.BMP   a rounded rectangle with a stop sign, 32 bits
//
// Everything outside a shape is magenta (255, 0, 255), the colour the image
// button cuts away. Edges are hard: a blended edge pixel would be neither the
// shape's colour nor magenta.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tools/image_writers/bmp_writer.h"

namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;

struct Rgb {
    double r, g, b;
};

std::uint32_t pack(Rgb c) {
    auto ch = [](double v) { return static_cast<std::uint32_t>(std::lround(std::fmin(std::fmax(v, 0.0), 255.0))); };
    return (ch(c.r) << 16) | (ch(c.g) << 8) | ch(c.b);
}

Rgb mix(Rgb a, Rgb b, double t) { return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

// A picture: colours top row first. Written with 24 or 32 bits, or with 8
// bits and a colour table of the picture's colours (at most 256).
bool write_bmp(const std::string& path, int w, int h, const std::vector<std::uint32_t>& px, int bits) {
    orvex_image_writers::BmpPicture p;
    p.width = w;
    p.height = h;
    p.bits = bits;
    std::vector<std::uint8_t> index(px.size());
    if (bits == 8) {
        for (std::size_t i = 0; i < px.size(); ++i) {
            std::size_t k = 0;
            while (k < p.colors.size() && p.colors[k] != px[i]) ++k;
            if (k == p.colors.size()) {
                if (p.colors.size() == 256) return false;
                p.colors.push_back(px[i]);
            }
            index[i] = static_cast<std::uint8_t>(k);
        }
    }
    p.pixel = [&](int x, int y) -> std::uint32_t {
        const std::size_t i = static_cast<std::size_t>(y) * w + x;
        return bits == 8 ? index[i] : px[i];
    };
    return orvex_image_writers::write_file(path, orvex_image_writers::bmp_bytes(p));
}

using Shade = std::function<std::uint32_t(double x, double y)>;  // pixel centre -> colour or magenta

std::vector<std::uint32_t> render(int w, int h, const Shade& shade) {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[static_cast<std::size_t>(y) * w + x] = shade(x + 0.5, y + 0.5);
    return px;
}

bool in_polygon(const std::vector<std::pair<double, double>>& poly, double x, double y) {
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const auto [xi, yi] = poly[i];
        const auto [xj, yj] = poly[j];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}

// The three looks of a button: base colour, lighter when hovered, darker and
// pushed one pixel down-right when pressed.
struct Look {
    Rgb light, dark;
    double shift;
};

Shade play(const Look& look) {
    return [look](double x, double y) -> std::uint32_t {
        const double cx = 32, cy = 32, r = 30.5;
        const double dx = x - cx - look.shift, dy = y - cy - look.shift;
        const double d = std::sqrt(dx * dx + dy * dy);
        if (std::hypot(x - cx, y - cy) > r) return kMagenta;
        if (d > r - 2.5) return pack(mix(look.dark, Rgb{0, 0, 0}, 0.35));  // rim
        const std::vector<std::pair<double, double>> triangle = {
            {25 + look.shift, 18 + look.shift}, {25 + look.shift, 46 + look.shift}, {48 + look.shift, 32 + look.shift}};
        if (in_polygon(triangle, x, y)) return 0xFFFFFF;
        return pack(mix(look.light, look.dark, std::fmin(1.0, (dy + r) / (2 * r))));  // lit from above
    };
}

Shade star(const Look& look) {
    std::vector<std::pair<double, double>> poly;
    const double pi = std::acos(-1.0);
    for (int i = 0; i < 10; ++i) {
        const double a = -pi / 2 + i * pi / 5;
        const double r = i % 2 ? 12.5 : 31.0;
        poly.emplace_back(32 + r * std::cos(a), 33 + r * std::sin(a));
    }
    return [look, poly](double x, double y) -> std::uint32_t {
        if (!in_polygon(poly, x, y)) return kMagenta;
        // Four flat bands of colour: an 8-bit picture with a small colour table.
        const double t = std::floor(std::fmin(0.999, (y - 2 - look.shift) / 62.0) * 4) / 3;
        return pack(mix(look.light, look.dark, t));
    };
}

Shade stop(const Look& look) {
    return [look](double x, double y) -> std::uint32_t {
        const double w = 120, h = 40, rad = 12;
        const double qx = std::fmax(std::fabs(x - w / 2) - (w / 2 - rad), 0.0);
        const double qy = std::fmax(std::fabs(y - h / 2) - (h / 2 - rad), 0.0);
        if (std::hypot(qx, qy) > rad) return kMagenta;
        if (std::fabs(x - 24 - look.shift) < 8 && std::fabs(y - 20 - look.shift) < 8) return 0xFFFFFF;  // stop sign
        // A bar of "level" ticks to the right of the sign.
        const int tick = static_cast<int>((x - 44 - look.shift) / 8);
        if (x > 44 + look.shift && tick < 8 && std::fmod(x - 44 - look.shift, 8.0) < 5 &&
            std::fabs(y - 20 - look.shift) < 2 + tick)
            return pack(mix(Rgb{255, 255, 255}, look.light, 0.3));
        return pack(mix(look.light, look.dark, y / h));
    };
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: buttongen DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    struct Set {
        const char* name;
        int w, h, bits;
        Shade (*shape)(const Look&);
        Look normal, hover, pressed;
    } sets[] = {
        {"play", 64, 64, 24, play, {{90, 200, 120}, {30, 120, 60}, 0}, {{130, 235, 160}, {50, 160, 90}, 0},
         {{40, 140, 70}, {15, 80, 35}, 1}},
        {"star", 64, 64, 8, star, {{255, 220, 90}, {220, 140, 20}, 0}, {{255, 245, 160}, {250, 180, 40}, 0},
         {{230, 170, 40}, {170, 90, 10}, 1}},
        {"stop", 120, 40, 32, stop, {{110, 160, 240}, {40, 80, 170}, 0}, {{150, 195, 255}, {60, 110, 210}, 0},
         {{60, 100, 190}, {25, 50, 120}, 1}},
    };
    for (const Set& s : sets) {
        const std::pair<const char*, const Look*> looks[] = {{"N", &s.normal}, {"H", &s.hover}, {"P", &s.pressed}};
        for (const auto& [suffix, look] : looks) {
            const std::string path = dir + "/" + s.name + suffix + ".BMP";
            if (!write_bmp(path, s.w, s.h, render(s.w, s.h, s.shape(*look)), s.bits)) {
                std::fprintf(stderr, "buttongen: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    }
    return 0;
}
