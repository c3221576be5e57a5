// Decoding throughput on 1024 x 1024 images: the TGA reader (uncompressed and
// run-length of mixed, raw-only and run-only packets, read from a file) and the BMP decoder (from bytes in memory,
// and LoadImageA from a file), each beside stb_image decoding the very same
// file or bytes in the same run. Bytes/s counts the decoded pixel bytes.
//
//   textures_benchmark [--benchmark_repetitions=5 ...]
#include <benchmark/benchmark.h>
#include <stb_image.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/textures/tga_reader.h"
#include "platform/core/bmp_decoder.h"
#include "platform/headless/headless.h"
#include "platform/little_endian.h"
#include "platform/win32.h"
#include "tools/image_writers/bmp_writer.h"

namespace {

constexpr int kSize = 1024;

using Bytes = std::vector<std::uint8_t>;

// A 1024 x 1024 picture that is neither trivial nor noise: rows of spans of
// one colour (1 to 40 pixels long) between stretches of varying pixels, so
// that a run-length file mixes run packets and raw packets.
std::vector<std::uint32_t> picture() {
    std::vector<std::uint32_t> px(static_cast<std::size_t>(kSize) * kSize);
    std::uint64_t s = 12345;
    auto next = [&s] {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    };
    std::size_t i = 0;
    while (i < px.size()) {
        const std::size_t span = 1 + next() % 40;
        const bool flat = next() % 2 == 0;
        const std::uint32_t c = static_cast<std::uint32_t>(next());
        for (std::size_t k = 0; k < span && i < px.size(); ++k, ++i) px[i] = flat ? c : static_cast<std::uint32_t>(next());
    }
    return px;
}

// How a run-length file packs the picture: runs where neighbours repeat and
// raw packets elsewhere (38 063 packets, 53 % of the uncompressed size), raw
// packets of 128 only (8192 packets, 100.2 %), or run packets only, where a
// pixel unlike its neighbours is a run of 1 (548 394 packets, 65 %).
enum class Packets { uncompressed, mixed, raw_only, run_only };

Bytes tga_file(const std::vector<std::uint32_t>& px, int bpp, Packets packets) {
    const bool rle = packets != Packets::uncompressed;
    Bytes f = {0, 0, static_cast<std::uint8_t>(rle ? 10 : 2), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    orvex_platform::append_le16(f, kSize);
    orvex_platform::append_le16(f, kSize);
    f.push_back(static_cast<std::uint8_t>(bpp));
    f.push_back(bpp == 32 ? 8 : 0);
    const std::size_t n = static_cast<std::size_t>(bpp / 8);
    auto pixel = [&](std::size_t i, Bytes& out) {
        for (std::size_t k = 0; k < n; ++k) out.push_back(static_cast<std::uint8_t>(px[i] >> (8 * k)));
    };
    auto same = [&](std::size_t a, std::size_t b) {
        return ((px[a] ^ px[b]) & (bpp == 32 ? 0xFFFFFFFFu : 0xFFFFFFu)) == 0;
    };
    std::size_t i = 0;
    while (i < px.size()) {
        if (!rle) {
            pixel(i++, f);
            continue;
        }
        std::size_t run = 1;
        while (i + run < px.size() && run < 128 && same(i, i + run)) ++run;
        if (packets == Packets::run_only || (packets == Packets::mixed && run > 1)) {
            f.push_back(static_cast<std::uint8_t>(0x80 + run - 1));
            pixel(i, f);
            i += run;
            continue;
        }
        std::size_t raw = 1;
        if (packets == Packets::raw_only) {
            raw = std::min<std::size_t>(128, px.size() - i);
        } else {
            while (i + raw < px.size() && raw < 128 && !(i + raw + 1 < px.size() && same(i + raw, i + raw + 1))) ++raw;
        }
        f.push_back(static_cast<std::uint8_t>(raw - 1));
        for (std::size_t k = 0; k < raw; ++k) pixel(i + k, f);
        i += raw;
    }
    return f;
}

// The picture's first row is the file's bottom row.
Bytes bmp_file(const std::vector<std::uint32_t>& px, int bpp) {
    orvex_image_writers::BmpPicture p;
    p.width = p.height = kSize;
    p.bits = bpp;
    p.pixel = [&px](int x, int y) { return px[static_cast<std::size_t>(kSize - 1 - y) * kSize + x]; };
    return orvex_image_writers::bmp_bytes(p);
}

struct Files {
    std::filesystem::path dir;
    std::string tga_raw, tga_rle, tga_rle_raw_only, tga_rle_run_only, tga24_raw, bmp24_path;
    Bytes bmp24, bmp32;
    Files() {
        orvex_headless::activate();
        dir = std::filesystem::temp_directory_path() / ("orvex-textures-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const auto px = picture();
        tga_raw = write("raw32.tga", tga_file(px, 32, Packets::uncompressed));
        tga_rle = write("rle32.tga", tga_file(px, 32, Packets::mixed));
        tga_rle_raw_only = write("rle32-raw-only.tga", tga_file(px, 32, Packets::raw_only));
        tga_rle_run_only = write("rle32-run-only.tga", tga_file(px, 32, Packets::run_only));
        tga24_raw = write("raw24.tga", tga_file(px, 24, Packets::uncompressed));
        bmp24 = bmp_file(px, 24);
        bmp32 = bmp_file(px, 32);
        bmp24_path = write("bmp24.bmp", bmp24);
    }
    ~Files() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string write(const char* name, const Bytes& b) const {
        const std::string p = (dir / name).string();
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        return p;
    }
};

const Files& files() {
    static Files f;
    return f;
}

void tga_reader(benchmark::State& state, const std::string& path, int bpp) {
    for (auto _ : state) {
        orvex::TGATEXTURE t{};
        if (!orvex::LOADTGA(t, path)) {
            state.SkipWithError("the TGA reader refused the file");
            break;
        }
        benchmark::DoNotOptimize(t.IMAGEDATA);
        std::free(t.IMAGEDATA);
    }
    orvex_headless::clear_message_boxes();
    state.SetBytesProcessed(state.iterations() * kSize * kSize * (bpp / 8));
}

// Decodes with stb_image as `load` asks it to, once an iteration.
template <class Load>
void stb_decode(benchmark::State& state, int bpp, Load load) {
    for (auto _ : state) {
        int w, h, n;
        stbi_uc* p = load(&w, &h, &n);
        if (!p) {
            state.SkipWithError(stbi_failure_reason());
            break;
        }
        benchmark::DoNotOptimize(p);
        stbi_image_free(p);
    }
    state.SetBytesProcessed(state.iterations() * kSize * kSize * (bpp / 8));
}

void stb_file(benchmark::State& state, const std::string& path, int bpp) {
    stb_decode(state, bpp, [&](int* w, int* h, int* n) { return stbi_load(path.c_str(), w, h, n, 0); });
}

void BM_TgaReader_Raw32(benchmark::State& s) { tga_reader(s, files().tga_raw, 32); }
void BM_Stb_TgaRaw32(benchmark::State& s) { stb_file(s, files().tga_raw, 32); }
void BM_TgaReader_Rle32(benchmark::State& s) { tga_reader(s, files().tga_rle, 32); }
void BM_Stb_TgaRle32(benchmark::State& s) { stb_file(s, files().tga_rle, 32); }
void BM_TgaReader_Rle32RawOnly(benchmark::State& s) { tga_reader(s, files().tga_rle_raw_only, 32); }
void BM_Stb_TgaRle32RawOnly(benchmark::State& s) { stb_file(s, files().tga_rle_raw_only, 32); }
void BM_TgaReader_Rle32RunOnly(benchmark::State& s) { tga_reader(s, files().tga_rle_run_only, 32); }
void BM_Stb_TgaRle32RunOnly(benchmark::State& s) { stb_file(s, files().tga_rle_run_only, 32); }
void BM_TgaReader_Raw24(benchmark::State& s) { tga_reader(s, files().tga24_raw, 24); }
void BM_Stb_TgaRaw24(benchmark::State& s) { stb_file(s, files().tga24_raw, 24); }

void bmp_decoder(benchmark::State& state, const Bytes& file, int bpp) {
    for (auto _ : state) {
        orvex_platform::DibImage img;
        if (orvex_platform::decode_bmp(file.data(), file.size(), img) != orvex_platform::BmpResult::ok) {
            state.SkipWithError("the BMP decoder refused the file");
            break;
        }
        benchmark::DoNotOptimize(img.bits.data());
    }
    state.SetBytesProcessed(state.iterations() * kSize * kSize * (bpp / 8));
}

void stb_memory(benchmark::State& state, const Bytes& file, int bpp) {
    stb_decode(state, bpp, [&](int* w, int* h, int* n) {
        return stbi_load_from_memory(file.data(), static_cast<int>(file.size()), w, h, n, 0);
    });
}

void BM_BmpDecoder_Bmp24(benchmark::State& s) { bmp_decoder(s, files().bmp24, 24); }
void BM_Stb_Bmp24(benchmark::State& s) { stb_memory(s, files().bmp24, 24); }
void BM_BmpDecoder_Bmp32(benchmark::State& s) { bmp_decoder(s, files().bmp32, 32); }
void BM_Stb_Bmp32(benchmark::State& s) { stb_memory(s, files().bmp32, 32); }

void BM_LoadImageA_Bmp24File(benchmark::State& state) {
    for (auto _ : state) {
        HANDLE h = LoadImageA(nullptr, files().bmp24_path.c_str(), IMAGE_BITMAP, 0, 0,
                              LR_LOADFROMFILE | LR_CREATEDIBSECTION);
        if (!h) {
            state.SkipWithError("LoadImageA failed");
            break;
        }
        DeleteObject(h);
    }
    state.SetBytesProcessed(state.iterations() * kSize * kSize * 3);
}
void BM_Stb_Bmp24File(benchmark::State& s) { stb_file(s, files().bmp24_path, 24); }

BENCHMARK(BM_TgaReader_Raw32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_TgaRaw32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TgaReader_Rle32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_TgaRle32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TgaReader_Rle32RawOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_TgaRle32RawOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TgaReader_Rle32RunOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_TgaRle32RunOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TgaReader_Raw24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_TgaRaw24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpDecoder_Bmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_Bmp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpDecoder_Bmp32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_Bmp32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadImageA_Bmp24File)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stb_Bmp24File)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
