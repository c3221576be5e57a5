// texgen: writes the grass program's seven image files into a directory.
//
//   texgen <output directory>
//
// Five 32-bit grass textures whose alpha channel is a height map of blades
// (the grass effect draws the texture as a stack of shells, shell i keeping
// the texels whose alpha exceeds i/50, so a texel of alpha a rises to a times
// the grass height), a soil texture for the ground and a brick texture for
// the wall and the sphere. Everything is computed from fixed seeds with a
// generator of our own, so the files are the same on every run and machine
// that rounds floating point the same way. All images tile seamlessly.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "tools/image_writers/bmp_writer.h"
#include "tools/image_writers/tga_writer.h"

namespace {

// ---- deterministic randomness ------------------------------------------------------

class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    std::uint64_t next() {
        // splitmix64
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t state_;
};

std::uint32_t hash2(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^ static_cast<std::uint32_t>(y) * 0xD8163841u ^
                      seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return h;
}

// Value noise on a lattice of `period` cells, wrapping so that it tiles.
double lattice_noise(double x, double y, int period, std::uint32_t seed) {
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0, fy = y - y0;
    auto at = [&](int ix, int iy) {
        ix = ((ix % period) + period) % period;
        iy = ((iy % period) + period) % period;
        return (hash2(ix, iy, seed) & 0xFFFFFF) / 16777215.0;
    };
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double a = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
    const double b = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
    return a + (b - a) * sy;
}

// Fractal noise in 0..1 over an image of `size` pixels, tiling; `cells` is
// the lattice period of the first octave.
double fbm(double px, double py, int size, int cells, int octaves, std::uint32_t seed) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        const double scale = static_cast<double>(cells) / size;
        sum += amp * lattice_noise(px * scale, py * scale, cells, seed + static_cast<std::uint32_t>(o) * 101u);
        norm += amp;
        amp *= 0.5;
        cells *= 2;
    }
    return sum / norm;
}

double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
std::uint8_t to_byte(double v) { return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0)); }

struct Rgb {
    double r, g, b;
};
Rgb mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
Rgb scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }

// ---- images and their files ---------------------------------------------------------

struct Image {
    int width, height;
    std::vector<Rgb> rgb;        // row 0 is the bottom row
    std::vector<double> alpha;   // 0..1
    Image(int w, int h) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h), alpha(rgb.size(), 0.0) {}
    std::size_t at(int x, int y) const {
        x = ((x % width) + width) % width;
        y = ((y % height) + height) % height;
        return static_cast<std::size_t>(y) * width + x;
    }
};

// A 32-bit TGA file, bottom row first: image type 2 (uncompressed) or 10
// (run-length packets: runs of equal pixels, raw packets for the rest).
std::vector<std::uint8_t> tga_bytes(const Image& img, bool run_length) {
    std::vector<std::uint8_t> px;
    px.reserve(img.rgb.size() * 4);
    for (std::size_t i = 0; i < img.rgb.size(); ++i) {
        for (std::uint8_t b : {to_byte(img.rgb[i].b), to_byte(img.rgb[i].g), to_byte(img.rgb[i].r), to_byte(img.alpha[i])})
            px.push_back(b);
    }
    // Eight alpha bits, bottom-left origin.
    return orvex_image_writers::tga_bytes(static_cast<unsigned>(img.width), static_cast<unsigned>(img.height), 32, 8, px,
                                          run_length);
}

// A 24-bit BMP file, bottom-up, with a 40-byte info header.
std::vector<std::uint8_t> bmp_bytes(const Image& img) {
    orvex_image_writers::BmpPicture p;
    p.width = img.width;
    p.height = img.height;
    p.bits = 24;
    p.pixel = [&img](int x, int y) {
        const Rgb& c = img.rgb[img.at(x, img.height - 1 - y)];  // the image's row 0 is the bottom row
        return (std::uint32_t{to_byte(c.r)} << 16) | (std::uint32_t{to_byte(c.g)} << 8) | to_byte(c.b);
    };
    return orvex_image_writers::bmp_bytes(p);
}

// ---- grass ------------------------------------------------------------------------------

struct GrassStyle {
    int size;
    std::uint64_t seed;
    int blades;
    double length_min, length_max;  // footprint length in texels (how far a blade leans)
    double width_min, width_max;    // footprint width at the root, texels
    double height_min, height_max;  // alpha at the root, 0..1
    Rgb colour_a, colour_b;         // blade colours are drawn between these
    double dry;                     // share of blades that take the dry colour
    Rgb dry_colour;
    Rgb ground;                     // colour of the texels between blades
    int clumps;                     // 0: blades everywhere; else blades gather round this many tufts
    double clump_radius;
    double flowers;                 // share of small flower heads among the blades
};

// One blade seen from above: its footprint runs from the root along the
// direction it leans, narrowing towards the tip; its alpha (its height)
// is highest at the root and falls off along the length and across the
// width, so the shells draw a tapered blade that bends over.
void draw_blade(Image& img, Random& rnd, const GrassStyle& s, double rx, double ry) {
    const double angle = rnd.range(0, 2 * std::numbers::pi);
    const double length = rnd.range(s.length_min, s.length_max);
    const double width = rnd.range(s.width_min, s.width_max);
    // Taller blades stand up more (shorter footprint), short ones lie flatter.
    const double height = s.height_min + (s.height_max - s.height_min) * std::pow(rnd.uniform(), 0.8);
    const double dx = std::cos(angle), dy = std::sin(angle);
    const double curve = rnd.range(-0.25, 0.25);  // the blade curves a little sideways
    Rgb colour = mix(s.colour_a, s.colour_b, rnd.uniform());
    if (rnd.uniform() < s.dry) colour = mix(colour, s.dry_colour, rnd.range(0.5, 1.0));
    colour = scale(colour, rnd.range(0.85, 1.12));

    const int reach = static_cast<int>(std::ceil(length + width)) + 2;
    for (int oy = -reach; oy <= reach; ++oy) {
        for (int ox = -reach; ox <= reach; ++ox) {
            // Position relative to the root, in blade co-ordinates.
            const double px = ox + 0.5 - (rx - std::floor(rx)), py = oy + 0.5 - (ry - std::floor(ry));
            const double along = px * dx + py * dy;
            const double t = along / length;
            if (t < -0.15 || t > 1.0) continue;
            const double tc = std::max(t, 0.0);
            const double across = -px * dy + py * dx - curve * length * tc * tc;
            const double half = 0.5 * width * (1.0 - 0.85 * tc) + 0.35;
            const double d = std::fabs(across) / half;
            if (d >= 1.0) continue;
            // The root end is rounded; along the blade the height falls to 0 at the tip.
            const double root = t < 0 ? std::sqrt(std::max(0.0, 1.0 - (t / 0.15) * (t / 0.15))) : 1.0;
            const double a = height * root * std::pow(1.0 - tc, 0.9) * (1.0 - d * d);
            if (a <= 0.02) continue;
            const std::size_t i = img.at(static_cast<int>(std::floor(rx)) + ox, static_cast<int>(std::floor(ry)) + oy);
            if (a > img.alpha[i]) {
                img.alpha[i] = a;
                // Darker down in the sward, lighter at the tips that rise into the light;
                // the blade's midrib a little lighter than its edges.
                const double light = 0.42 + 0.58 * std::pow(a, 0.75);
                img.rgb[i] = scale(colour, light * (1.04 - 0.12 * d));
            }
        }
    }
}

void draw_flower(Image& img, Random& rnd, double rx, double ry) {
    static const Rgb petals[] = {{0.97, 0.96, 0.90}, {0.98, 0.86, 0.25}, {0.85, 0.70, 0.95}};
    const Rgb petal = petals[rnd.below(3)];
    const double height = rnd.range(0.10, 0.18), radius = rnd.range(1.6, 2.4);
    for (int oy = -3; oy <= 3; ++oy) {
        for (int ox = -3; ox <= 3; ++ox) {
            const double d = std::hypot(ox, oy) / radius;
            if (d >= 1.0) continue;
            const std::size_t i = img.at(static_cast<int>(rx) + ox, static_cast<int>(ry) + oy);
            const double a = height * (1.0 - 0.25 * d * d);
            if (a > img.alpha[i]) {
                img.alpha[i] = a;
                img.rgb[i] = d < 0.35 ? Rgb{0.95, 0.78, 0.15} : scale(petal, 1.0 - 0.15 * d);
            }
        }
    }
}

Image grass(const GrassStyle& s) {
    Image img(s.size, s.size);
    Random rnd(s.seed);
    // Between the blades: the colour the edges of blades blend into when the
    // texture is filtered, a darker tone of the sward.
    for (int y = 0; y < s.size; ++y) {
        for (int x = 0; x < s.size; ++x) {
            const double n = fbm(x, y, s.size, 8, 3, static_cast<std::uint32_t>(s.seed));
            img.rgb[img.at(x, y)] = scale(s.ground, 0.8 + 0.4 * n);
        }
    }
    std::vector<std::pair<double, double>> tufts;
    for (int k = 0; k < s.clumps; ++k) tufts.emplace_back(rnd.range(0, s.size), rnd.range(0, s.size));
    for (int k = 0; k < s.blades; ++k) {
        double x, y;
        if (tufts.empty()) {
            x = rnd.range(0, s.size);
            y = rnd.range(0, s.size);
        } else {
            const auto& c = tufts[static_cast<std::size_t>(rnd.below(static_cast<int>(tufts.size())))];
            const double r = s.clump_radius * std::sqrt(rnd.uniform()), a = rnd.range(0, 2 * std::numbers::pi);
            x = c.first + r * std::cos(a);
            y = c.second + r * std::sin(a);
        }
        draw_blade(img, rnd, s, x, y);
    }
    // Low flowers in the open ground between the blades.
    for (int k = 0; k < static_cast<int>(s.flowers * s.blades); ++k) {
        const double x = rnd.range(0, s.size), y = rnd.range(0, s.size);
        if (img.alpha[img.at(static_cast<int>(x), static_cast<int>(y))] == 0.0) draw_flower(img, rnd, x, y);
    }
    return img;
}

// ---- soil and bricks --------------------------------------------------------------------

Image soil(int size) {
    Image img(size, size);
    Random rnd(404);
    const Rgb dark{0.20, 0.14, 0.09}, light{0.42, 0.31, 0.20}, clay{0.50, 0.34, 0.20};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double n = fbm(x, y, size, 4, 6, 11);
            const double m = fbm(x, y, size, 16, 3, 23);
            const double clods = fbm(x, y, size, 32, 2, 41);
            const double grain = (hash2(x, y, 7) & 0xFF) / 255.0;
            Rgb c = mix(dark, light, clamp01(n * 1.6 - 0.3));
            c = mix(c, clay, clamp01((m - 0.55) * 2.5) * 0.5);
            // Crumbs of earth: small lit bumps with a shadow below them.
            c = scale(c, 0.9 + 0.25 * clamp01((clods - 0.5) * 3.0));
            img.rgb[img.at(x, y)] = scale(c, 0.85 + 0.3 * grain);
        }
    }
    // Pebbles: small rounded stones, earth-tinted, lit from above with a shadowed rim.
    for (int k = 0; k < 70; ++k) {
        const double cx = rnd.range(0, size), cy = rnd.range(0, size), r = rnd.range(1.0, 3.2);
        const double tone = rnd.range(0.36, 0.58);
        const Rgb stone{tone, tone * 0.92, tone * 0.82};
        const int reach = static_cast<int>(r) + 2;
        for (int oy = -reach; oy <= reach; ++oy) {
            for (int ox = -reach; ox <= reach; ++ox) {
                const double ux = ox + 0.5 - (cx - std::floor(cx)), uy = oy + 0.5 - (cy - std::floor(cy));
                const double d = std::hypot(ux, uy) / r;
                const std::size_t i = img.at(static_cast<int>(cx) + ox, static_cast<int>(cy) + oy);
                if (d < 1.0) {
                    const double shade = 1.0 - 0.35 * d * d + 0.18 * (uy / r);
                    img.rgb[i] = mix(img.rgb[i], scale(stone, shade), 0.85);
                } else if (d < 1.4) {
                    img.rgb[i] = scale(img.rgb[i], 0.72 + 0.28 * (d - 1.0) / 0.4);
                }
            }
        }
    }
    return img;
}

Image bricks(int size) {
    Image img(size, size);
    Random rnd(777);
    const int rows = 8, per_row = 4;  // bricks of 64 x 32 texels
    const int bh = size / rows, bw = size / per_row, mortar = 3;
    std::vector<Rgb> tint(static_cast<std::size_t>(rows * per_row));
    for (auto& t : tint) {
        const double k = rnd.range(0.0, 1.0);
        t = mix(Rgb{0.56, 0.22, 0.15}, Rgb{0.70, 0.36, 0.22}, k);
        if (rnd.uniform() < 0.15) t = scale(t, 0.78);  // an odd darker brick
    }
    for (int y = 0; y < size; ++y) {
        const int row = y / bh;
        const int in_y = y % bh;
        const int shift = (row % 2) * (bw / 2);
        for (int x = 0; x < size; ++x) {
            const int xs = (x + shift) % size;
            const int col = xs / bw, in_x = xs % bw;
            const double n = fbm(x, y, size, 16, 4, 31);
            const double grain = (hash2(x, y, 5) & 0xFF) / 255.0;
            Rgb c;
            const bool joint = in_y < mortar || in_x < mortar;
            if (joint) {
                c = scale(Rgb{0.66, 0.63, 0.58}, 0.8 + 0.3 * n + 0.1 * grain);
            } else {
                c = tint[static_cast<std::size_t>(row * per_row + col)];
                c = scale(c, 0.82 + 0.3 * n + 0.12 * grain);
                // Edges next to the joints a little darker, the upper edge lit.
                const int ex = std::min(in_x - mortar, bw - 1 - in_x), ey = std::min(in_y - mortar, bh - 1 - in_y);
                const int e = std::min(ex, ey);
                if (e < 2) c = scale(c, 0.82 + 0.09 * e);
                if (in_y == bh - 1) c = scale(c, 1.12);
            }
            img.rgb[img.at(x, y)] = c;
        }
    }
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: texgen <output directory>\n");
        return 2;
    }
    const std::string dir = argv[1];
    const Rgb ground{0.10, 0.16, 0.05};
    const GrassStyle lawn{256, 1, 9000, 1.5, 5.0, 2.2, 3.2, 0.45, 0.95,
                          {0.20, 0.55, 0.10}, {0.38, 0.70, 0.16}, 0.05, {0.62, 0.62, 0.25}, ground, 0, 0, 0};
    const GrassStyle meadow{256, 2, 5200, 4.0, 11.0, 2.6, 4.0, 0.55, 1.0,
                            {0.12, 0.40, 0.08}, {0.30, 0.56, 0.12}, 0.12, {0.55, 0.58, 0.22}, {0.07, 0.12, 0.04}, 0, 0,
                            0};
    const GrassStyle hay{256, 3, 5200, 6.0, 14.0, 1.6, 2.6, 0.3, 1.0,
                         {0.72, 0.62, 0.30}, {0.86, 0.76, 0.42}, 0.25, {0.50, 0.55, 0.20}, {0.22, 0.18, 0.08}, 0, 0, 0};
    const GrassStyle tufts{256, 4, 9000, 2.0, 8.0, 2.0, 3.4, 0.4, 1.0,
                           {0.12, 0.50, 0.28}, {0.30, 0.66, 0.36}, 0.0, {0, 0, 0}, {0.06, 0.13, 0.07}, 90, 10.0, 0.02};
    const GrassStyle autumn{256, 5, 7000, 3.0, 10.0, 2.4, 3.8, 0.35, 0.95,
                            {0.55, 0.34, 0.12}, {0.48, 0.46, 0.16}, 0.3, {0.72, 0.56, 0.22}, {0.15, 0.10, 0.05}, 70, 14.0,
                            0};
    struct Out {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } outputs[] = {
        {"grassb00.tga", tga_bytes(grass(lawn), false)},  {"grassb01.tga", tga_bytes(grass(meadow), true)},
        {"grassb02.tga", tga_bytes(grass(hay), false)},   {"grassc00.tga", tga_bytes(grass(tufts), true)},
        {"grassc01.tga", tga_bytes(grass(autumn), true)}, {"Floor04.bmp", bmp_bytes(soil(256))},
        {"wall.bmp", bmp_bytes(bricks(256))},
    };
    for (const Out& o : outputs) {
        if (!orvex_image_writers::write_file(dir + "/" + o.name, o.bytes)) {
            std::fprintf(stderr, "texgen: cannot write %s/%s\n", dir.c_str(), o.name);
            return 1;
        }
    }
    return 0;
}
