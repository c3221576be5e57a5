// BMP files for the button tests: pictures drawn in characters, written to
// a directory of the test's own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/image_writers/bmp_writer.h"

namespace orvex_test {

// A picture of any depth a DIB section has, from a function that gives each
// pixel's colour (or colour index).
using BmpSpec = orvex_image_writers::BmpPicture;

// Writes the picture as a BMP file; throws when it cannot.
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
