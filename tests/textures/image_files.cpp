#include "tests/textures/image_files.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tools/image_writers/bmp_writer.h"
#include "tools/image_writers/tga_writer.h"

namespace orvex_test {

Bytes make_bmp(const BmpLayout& s) {
    const bool core = s.header_size == 12;
    Bytes info;
    if (core) {
        append_le32(info, 12);
        append_le16(info, static_cast<unsigned>(s.width));
        append_le16(info, static_cast<unsigned>(s.height));
        append_le16(info, s.planes);
        append_le16(info, s.bpp);
    } else {
        append_le32(info, s.header_size);
        append_le32(info, static_cast<std::uint32_t>(s.width));
        append_le32(info, static_cast<std::uint32_t>(s.height));
        append_le16(info, s.planes);
        append_le16(info, s.bpp);
        append_le32(info, s.compression);
        append_le32(info, s.size_image);
        append_le32(info, 2835);
        append_le32(info, 2835);
        append_le32(info, s.colors_used);
        append_le32(info, 0);
        // Masks inside the larger headers; the rest of those headers is zero.
        if (s.header_size > 40) {
            for (std::size_t k = 0; k < 3; ++k) append_le32(info, k < s.masks.size() ? s.masks[k] : 0);
        }
        info.resize(s.header_size, 0);
    }
    Bytes after_header;
    if (!core && s.header_size == 40) {
        for (std::uint32_t m : s.masks) append_le32(after_header, m);
    }
    for (std::uint32_t c : s.palette) {
        after_header.push_back(static_cast<std::uint8_t>(c));
        after_header.push_back(static_cast<std::uint8_t>(c >> 8));
        after_header.push_back(static_cast<std::uint8_t>(c >> 16));
        if (!core) after_header.push_back(0);
    }
    const std::size_t off = 14 + info.size() + after_header.size();
    Bytes f;
    f.push_back('B');
    f.push_back('M');
    append_le32(f, static_cast<std::uint32_t>(off + s.pixels.size()));
    append_le16(f, 0);
    append_le16(f, 0);
    append_le32(f, static_cast<std::uint32_t>(s.off_bits < 0 ? off : static_cast<std::size_t>(s.off_bits)));
    f.insert(f.end(), info.begin(), info.end());
    f.insert(f.end(), after_header.begin(), after_header.end());
    f.insert(f.end(), s.pixels.begin(), s.pixels.end());
    return f;
}

Bytes make_truecolor_bmp(int width, int height, int bpp, const std::vector<std::uint32_t>& argb) {
    orvex_image_writers::BmpPicture p;
    p.width = width;
    p.height = height;
    p.bits = bpp;
    p.pixel = [&](int x, int y) { return argb[static_cast<std::size_t>(y) * width + x]; };
    return orvex_image_writers::bmp_bytes(p);
}

Bytes make_tga(std::uint8_t type, unsigned width, unsigned height, std::uint8_t bpp, const Bytes& body,
               std::uint8_t descriptor) {
    Bytes f = orvex_image_writers::tga_header(type, width, height, bpp, descriptor);
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    root_ = std::filesystem::temp_directory_path() /
            ("orvex-textures-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

std::string ScratchDir::path(const std::string& name) const { return (root_ / name).string(); }

std::string ScratchDir::write(const std::string& name, const Bytes& bytes) const {
    std::string p = path(name);
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + p);
    return p;
}

Bytes read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace orvex_test
