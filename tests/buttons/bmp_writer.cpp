#include "tests/buttons/bmp_writer.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "tools/image_writers/bmp_writer.h"

namespace orvex_test {

std::vector<std::uint8_t> bmp_bytes(const BmpSpec& s) {
    orvex_image_writers::BmpPicture p;
    p.width = s.width;
    p.height = s.height;
    p.bits = s.bits;
    p.top_down = s.top_down;
    for (const RGBQUAD& c : s.colors)
        p.colors.push_back((std::uint32_t{c.rgbRed} << 16) | (std::uint32_t{c.rgbGreen} << 8) | c.rgbBlue);
    if (s.bits == 16 && s.rgb565) p.masks = {0xF800, 0x07E0, 0x001F};
    p.pixel = s.pixel;
    return orvex_image_writers::bmp_bytes(p);
}

void write_bmp(const std::string& path, const BmpSpec& spec) {
    if (!orvex_image_writers::write_file(path, bmp_bytes(spec))) throw std::runtime_error("cannot write " + path);
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
