// Writes BMP files for the tests: any depth a DIB section has, from a
// function that gives each pixel's colour (or colour index).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace orvex_test {

struct BmpSpec {
    int width = 1;
    int height = 1;
    int bits = 24;           // 1, 4, 8, 16, 24 or 32
    bool rgb565 = false;     // 16 bits: colour masks 5-6-5 (BI_BITFIELDS) instead of 5-5-5
    bool top_down = false;   // rows stored top row first
    std::vector<RGBQUAD> colors;  // colour table of 1-, 4- and 8-bit files
    // (x, y) from the top-left: 0x00RRGGBB, or a colour index for 1, 4 and 8 bits.
    std::function<std::uint32_t(int x, int y)> pixel;
};

std::vector<std::uint8_t> bmp_bytes(const BmpSpec& spec);
void write_bmp(const std::string& path, const BmpSpec& spec);

// A 24-bit picture drawn in characters, one string per row from the top:
// '.' is magenta (0xFF00FF), every other character the colour `ink` gives it.
BmpSpec picture(const std::vector<std::string>& rows, const std::function<std::uint32_t(char)>& ink);

// A directory of its own for a test's files, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
};

}  // namespace orvex_test
