#include "tests/buttons/bmp_writer.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace orvex_test {

void write_bmp(const std::string& path, const BmpSpec& spec) {
    if (!orvex_image_writers::write_file(path, orvex_image_writers::bmp_bytes(spec)))
        throw std::runtime_error("cannot write " + path);
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
