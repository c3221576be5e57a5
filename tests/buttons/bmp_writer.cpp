#include "tests/buttons/bmp_writer.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace orvex_test {

namespace {
void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
}  // namespace

std::vector<std::uint8_t> bmp_bytes(const BmpSpec& s) {
    const std::size_t stride = (static_cast<std::size_t>(s.width) * s.bits + 31) / 32 * 4;
    const bool masks = s.bits == 16 && s.rgb565;
    const std::size_t table = s.bits <= 8 ? s.colors.size() * 4 : 0;
    const std::size_t offset = 14 + 40 + (masks ? 12 : 0) + table;
    const std::size_t size = offset + stride * static_cast<std::size_t>(s.height);

    std::vector<std::uint8_t> out;
    out.reserve(size);
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<std::uint32_t>(size));
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(offset));
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(s.width));
    put32(out, static_cast<std::uint32_t>(s.top_down ? -s.height : s.height));
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(s.bits));
    put32(out, masks ? BI_BITFIELDS : BI_RGB);
    put32(out, static_cast<std::uint32_t>(stride * static_cast<std::size_t>(s.height)));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, s.bits <= 8 ? static_cast<std::uint32_t>(s.colors.size()) : 0);
    put32(out, 0);
    if (masks) {
        put32(out, 0xF800);
        put32(out, 0x07E0);
        put32(out, 0x001F);
    }
    if (s.bits <= 8)
        for (const RGBQUAD& c : s.colors) {
            out.push_back(c.rgbBlue);
            out.push_back(c.rgbGreen);
            out.push_back(c.rgbRed);
            out.push_back(0);
        }
    for (int r = 0; r < s.height; ++r) {
        const int y = s.top_down ? r : s.height - 1 - r;
        std::vector<std::uint8_t> row(stride, 0);
        for (int x = 0; x < s.width; ++x) {
            const std::uint32_t v = s.pixel(x, y);
            const std::uint8_t red = static_cast<std::uint8_t>(v >> 16), green = static_cast<std::uint8_t>(v >> 8),
                               blue = static_cast<std::uint8_t>(v);
            switch (s.bits) {
                case 1: row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8)); break;
                case 4: row[x / 2] |= static_cast<std::uint8_t>((v & 15) << (x % 2 ? 0 : 4)); break;
                case 8: row[x] = static_cast<std::uint8_t>(v); break;
                case 16: {
                    std::uint32_t w = s.rgb565 ? ((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3)
                                               : ((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3);
                    row[x * 2] = static_cast<std::uint8_t>(w);
                    row[x * 2 + 1] = static_cast<std::uint8_t>(w >> 8);
                    break;
                }
                case 24:
                    row[x * 3] = blue;
                    row[x * 3 + 1] = green;
                    row[x * 3 + 2] = red;
                    break;
                case 32:
                    row[x * 4] = blue;
                    row[x * 4 + 1] = green;
                    row[x * 4 + 2] = red;
                    break;
                default: throw std::invalid_argument("bits");
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

void write_bmp(const std::string& path, const BmpSpec& spec) {
    const std::vector<std::uint8_t> bytes = bmp_bytes(spec);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

BmpSpec picture(const std::vector<std::string>& rows, const std::function<std::uint32_t(char)>& ink) {
    BmpSpec s;
    s.height = static_cast<int>(rows.size());
    s.width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    s.bits = 24;
    s.pixel = [rows, ink](int x, int y) -> std::uint32_t {
        const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
        return c == '.' ? 0xFF00FFu : ink(c);
    };
    return s;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvex-buttons-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    dir_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

}  // namespace orvex_test
