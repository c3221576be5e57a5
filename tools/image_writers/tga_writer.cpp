#include "tools/image_writers/tga_writer.h"

#include <cstring>

#include "platform/little_endian.h"

namespace orvex_image_writers {

std::vector<std::uint8_t> tga_header(std::uint8_t image_type, unsigned width, unsigned height, std::uint8_t bits,
                                     std::uint8_t descriptor) {
    std::vector<std::uint8_t> out = {0, 0, image_type, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    orvex_platform::append_le16(out, width);
    orvex_platform::append_le16(out, height);
    out.push_back(bits);
    out.push_back(descriptor);
    return out;
}

std::vector<std::uint8_t> tga_bytes(unsigned width, unsigned height, std::uint8_t bits, std::uint8_t descriptor,
                                    const std::vector<std::uint8_t>& pixels, bool run_length) {
    std::vector<std::uint8_t> out = tga_header(run_length ? 10 : 2, width, height, bits, descriptor);
    const std::size_t size = bits / 8;
    const std::size_t count = size == 0 ? 0 : pixels.size() / size;
    const std::uint8_t* px = pixels.data();
    if (!run_length) {
        out.insert(out.end(), pixels.begin(), pixels.begin() + static_cast<long>(count * size));
        return out;
    }
    auto same = [&](std::size_t a, std::size_t b) { return std::memcmp(px + a * size, px + b * size, size) == 0; };
    std::size_t i = 0;
    while (i < count) {
        std::size_t run = 1;
        while (i + run < count && run < 128 && same(i, i + run)) ++run;
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(0x80 + run - 1));
            out.insert(out.end(), px + i * size, px + (i + 1) * size);
            i += run;
            continue;
        }
        std::size_t raw = 1;
        while (i + raw < count && raw < 128 && !(i + raw + 1 < count && same(i + raw, i + raw + 1))) ++raw;
        out.push_back(static_cast<std::uint8_t>(raw - 1));
        out.insert(out.end(), px + i * size, px + (i + raw) * size);
        i += raw;
    }
    return out;
}

}  // namespace orvex_image_writers
