#include "platform/core/bmp_decoder.h"

#include <algorithm>
#include <cstring>

#include "platform/little_endian.h"

namespace orvex_platform {

namespace {

constexpr std::size_t file_header_size = 14;
constexpr DWORD bi_jpeg = 4, bi_png = 5;

bool known_info_header(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool valid_pair(WORD bpp, DWORD compression, bool core) {
    if (core) return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24;
    switch (compression) {
        case BI_RGB: return is_dib_depth(bpp);
        case BI_RLE8: return bpp == 8;
        case BI_RLE4: return bpp == 4;
        case BI_BITFIELDS: return bpp == 16 || bpp == 32;
        default: return false;
    }
}

// Run-length decoding into a zero-filled bottom-up image. The stream ends at
// its end-of-bitmap mark, at the end of the data between two packets, or when
// a delta moves past the last row; runs and literal groups that pass the end
// of a row are clipped there, as GDI does. A packet whose bytes are missing is
// an error.
BmpResult decode_rle(const std::uint8_t* p, std::size_t n, bool four_bit, DibImage& img) {
    const std::int64_t width = img.width, height = img.height;
    std::int64_t x = 0, y = 0;
    std::size_t i = 0;
    auto put = [&](std::int64_t px, unsigned index) {
        if (px < 0 || px >= width || y >= height) return;
        BYTE* row = img.bits.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(img.stride);
        if (!four_bit) {
            row[px] = static_cast<BYTE>(index);
        } else {
            BYTE& b = row[px / 2];
            b = (px % 2 == 0) ? static_cast<BYTE>((b & 0x0F) | ((index & 0x0F) << 4))
                              : static_cast<BYTE>((b & 0xF0) | (index & 0x0F));
        }
    };
    while (i < n && y < height) {
        if (n - i < 2) return BmpResult::bad_rle;
        unsigned count = p[i], value = p[i + 1];
        i += 2;
        if (count > 0) {
            for (unsigned k = 0; k < count && x + k < width; ++k) {
                put(x + k, four_bit ? ((k % 2 == 0) ? (value >> 4) : (value & 0x0F)) : value);
            }
            x += count;
            continue;
        }
        switch (value) {
            case 0:  // end of line
                x = 0;
                ++y;
                break;
            case 1:  // end of bitmap
                return BmpResult::ok;
            case 2:  // delta
                if (n - i < 2) return BmpResult::bad_rle;
                x += p[i];
                y += p[i + 1];
                i += 2;
                break;
            default: {  // a literal group of `value` pixels, padded to a whole 16-bit word
                std::size_t bytes = four_bit ? (value + 1) / 2 : value;
                std::size_t padded = bytes + (bytes % 2);
                if (n - i < bytes) return BmpResult::bad_rle;
                for (unsigned k = 0; k < value && x + k < width; ++k) {
                    unsigned index = four_bit ? ((k % 2 == 0) ? (p[i + k / 2] >> 4) : (p[i + k / 2] & 0x0F)) : p[i + k];
                    put(x + k, index);
                }
                x += value;
                i += std::min(padded, n - i);
                break;
            }
        }
    }
    return BmpResult::ok;
}

}  // namespace

const char* bmp_result_name(BmpResult result) {
    switch (result) {
        case BmpResult::ok: return "ok";
        case BmpResult::not_a_bitmap: return "not_a_bitmap";
        case BmpResult::truncated: return "truncated";
        case BmpResult::bad_header: return "bad_header";
        case BmpResult::unsupported: return "unsupported";
        case BmpResult::too_large: return "too_large";
        case BmpResult::bad_rle: return "bad_rle";
    }
    return "?";
}

BmpResult decode_bmp(const std::uint8_t* data, std::size_t size, DibImage& out, std::size_t max_bytes) {
    out = DibImage{};
    if (size < 2 || data[0] != 'B' || data[1] != 'M') return size < 2 ? BmpResult::truncated : BmpResult::not_a_bitmap;
    if (size < file_header_size + 4) return BmpResult::truncated;
    const std::uint32_t off_bits = read_le32(data + 10);
    const std::uint32_t header_size = read_le32(data + 14);
    const bool core = header_size == 12;
    if (!core && !known_info_header(header_size)) return BmpResult::bad_header;
    if (size - file_header_size < header_size) return BmpResult::truncated;
    const std::uint8_t* h = data + file_header_size;

    std::int64_t width, height;
    WORD planes, bpp;
    DWORD compression = BI_RGB, colors_used = 0;
    if (core) {
        width = read_le16(h + 4);
        height = read_le16(h + 6);
        planes = read_le16(h + 8);
        bpp = read_le16(h + 10);
    } else {
        width = read_le32_signed(h + 4);
        height = read_le32_signed(h + 8);
        planes = read_le16(h + 12);
        bpp = read_le16(h + 14);
        compression = read_le32(h + 16);
        colors_used = read_le32(h + 32);
    }
    if (planes != 1 || width <= 0 || height == 0) return BmpResult::bad_header;
    if (compression == bi_jpeg || compression == bi_png || !valid_pair(bpp, compression, core)) {
        return BmpResult::unsupported;
    }
    const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
    const bool top_down = height < 0;
    if (top_down && rle) return BmpResult::bad_header;  // run-length images are always bottom-up
    const std::int64_t rows = top_down ? -height : height;

    // Colour masks: inside headers of 52 bytes and more, else right after the header.
    std::size_t table_start = file_header_size + header_size;
    DWORD masks[3]{};
    if (compression == BI_BITFIELDS) {
        const std::uint8_t* m = h + 40;
        if (header_size == 40) {
            if (size - table_start < 12) return BmpResult::truncated;
            m = data + table_start;
            table_start += 12;
        }
        masks[0] = read_le32(m);
        masks[1] = read_le32(m + 4);
        masks[2] = read_le32(m + 8);
    }

    // Colour table: biClrUsed entries (at most 2^bpp), or 2^bpp when it is 0.
    std::size_t entries = 0;
    const std::size_t entry_size = core ? 3 : 4;
    if (bpp <= 8) {
        std::size_t full = std::size_t{1} << bpp;
        entries = (colors_used == 0 || colors_used > full) ? full : colors_used;
        if ((size - table_start) / entry_size < entries) return BmpResult::truncated;
    }
    const std::size_t table_end = table_start + entries * entry_size;
    // The pixels start at bfOffBits; a zero offset means right after the table.
    std::size_t pixels = off_bits == 0 ? table_end : off_bits;
    if (pixels < file_header_size + header_size) return BmpResult::bad_header;
    if (pixels > size) return BmpResult::truncated;

    // Size of the pixel memory, checked against the cap before anything is allocated.
    const std::uint64_t stride = dib_stride(static_cast<std::uint64_t>(width), bpp);
    if (stride > max_bytes || static_cast<std::uint64_t>(rows) > max_bytes / stride) return BmpResult::too_large;
    const std::size_t total = static_cast<std::size_t>(stride * static_cast<std::uint64_t>(rows));
    if (!rle && size - pixels < total) return BmpResult::truncated;

    DibImage img;
    img.width = static_cast<LONG>(width);
    img.height = static_cast<LONG>(rows);
    img.bits_per_pixel = bpp;
    img.stride = static_cast<LONG>(stride);
    img.compression = compression == BI_BITFIELDS ? BI_BITFIELDS : BI_RGB;
    std::memcpy(img.masks, masks, sizeof masks);
    img.colors.resize(entries);
    for (std::size_t k = 0; k < entries; ++k) {
        const std::uint8_t* c = data + table_start + k * entry_size;
        img.colors[k] = RGBQUAD{c[0], c[1], c[2], 0};
    }
    img.bits.assign(total, 0);

    if (rle) {
        std::size_t available = size - pixels;
        const DWORD size_image = read_le32(h + 20);
        if (size_image != 0 && size_image < available) available = size_image;
        BmpResult r = decode_rle(data + pixels, available, compression == BI_RLE4, img);
        if (r != BmpResult::ok) return r;
    } else {
        for (std::int64_t r = 0; r < rows; ++r) {
            std::int64_t src_row = top_down ? rows - 1 - r : r;
            std::memcpy(img.bits.data() + static_cast<std::size_t>(r) * stride,
                        data + pixels + static_cast<std::size_t>(src_row) * stride, stride);
        }
    }
    out = std::move(img);
    return BmpResult::ok;
}

}  // namespace orvex_platform
