// BITMAPTOREGION on a 1024 by 1024 picture whose outline has k runs of opaque
// pixels in every row, for several k: the cost should grow with the number
// of runs (rectangles), not with the square of the number of 2000-rectangle
// batches. Beside it, the merge of the same batches alone, once into the
// growing region itself (as the builder does) and once through a fresh
// destination each time (the general union, which copies the whole region
// every time).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "framework/buttons/buttons.h"
#include "platform/headless/headless.h"
#include "tools/image_writers/bmp_writer.h"

namespace {

constexpr int kSide = 1024;
constexpr int kBatch = 2000;

// Opaque pixel test of the picture with k runs per row: diagonal stripes,
// k to a row, shifted by one pixel from each row to the next, so that no two
// neighbouring rows are alike and no rectangles coalesce: the region has as
// many rectangles as the picture has runs, like the outline of a complex shape.
bool opaque(int k, int x, int y) {
    const int period = kSide / k;
    return (x + y) % period < (period + 1) / 2;
}

std::vector<std::uint8_t> picture_bytes(int k) {
    orvex_image_writers::BmpPicture p;
    p.width = p.height = kSide;
    p.bits = 24;
    p.pixel = [k](int x, int y) { return opaque(k, x, y) ? 0xA05A28u : 0xFF00FFu; };
    return orvex_image_writers::bmp_bytes(p);
}

struct Picture {
    std::string path;
    std::vector<RECT> runs;  // the rectangles the builder makes, in its order
};

const Picture& picture(int k) {
    static std::map<int, Picture> cache;
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvex-region-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    auto it = cache.find(k);
    if (it != cache.end()) return it->second;
    Picture p;
    p.path = dir + "/runs" + std::to_string(k) + ".bmp";
    const std::vector<std::uint8_t> bytes = picture_bytes(k);
    if (!orvex_image_writers::write_file(p.path, bytes)) std::abort();
    for (int y = 0; y < kSide; ++y) {
        int x = 0;
        while (x < kSide) {
            const int x0 = x;
            while (x < kSide && opaque(k, x, y)) ++x;
            if (x > x0) p.runs.push_back(RECT{x0, y, x, y + 1});
            ++x;
        }
    }
    return cache.emplace(k, std::move(p)).first->second;
}

void BM_BitmapToRegion(benchmark::State& state) {
    const Picture& p = picture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        HRGN r = orvex::BITMAPTOREGION(p.path, 0xFF00FF, 1);
        benchmark::DoNotOptimize(r);
        DeleteObject(r);
    }
    state.counters["runs"] = static_cast<double>(p.runs.size());
    state.counters["batches"] = std::ceil(static_cast<double>(p.runs.size()) / kBatch);
    state.counters["ns_per_run"] = benchmark::Counter(static_cast<double>(p.runs.size()),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}

std::vector<HRGN> batch_regions(const Picture& p) {
    std::vector<HRGN> out;
    for (std::size_t i = 0; i < p.runs.size(); i += kBatch) {
        const std::size_t n = std::min<std::size_t>(kBatch, p.runs.size() - i);
        std::vector<unsigned char> buf(sizeof(RGNDATAHEADER) + n * sizeof(RECT));
        RGNDATAHEADER h{sizeof h, RDH_RECTANGLES, static_cast<DWORD>(n), 0, {0, 0, 0, 0}};
        std::memcpy(buf.data(), &h, sizeof h);
        std::memcpy(buf.data() + sizeof h, p.runs.data() + i, n * sizeof(RECT));
        out.push_back(ExtCreateRegion(nullptr, static_cast<DWORD>(buf.size()), reinterpret_cast<RGNDATA*>(buf.data())));
    }
    return out;
}

// Merges the batches into one region: `in_place` as the builder does
// (destination = first source), otherwise into a fresh region each time.
void merge(benchmark::State& state, bool in_place) {
    const Picture& p = picture(static_cast<int>(state.range(0)));
    const std::vector<HRGN> batches = batch_regions(p);
    for (auto _ : state) {
        HRGN result = CreateRectRgn(0, 0, 0, 0);
        for (HRGN b : batches) {
            if (in_place) {
                CombineRgn(result, result, b, RGN_OR);
            } else {
                HRGN next = CreateRectRgn(0, 0, 0, 0);
                CombineRgn(next, result, b, RGN_OR);
                DeleteObject(result);
                result = next;
            }
        }
        benchmark::DoNotOptimize(result);
        DeleteObject(result);
    }
    for (HRGN b : batches) DeleteObject(b);
    state.counters["runs"] = static_cast<double>(p.runs.size());
    state.counters["batches"] = static_cast<double>(batches.size());
    state.counters["ns_per_run"] = benchmark::Counter(static_cast<double>(p.runs.size()),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}

void BM_MergeInPlace(benchmark::State& state) { merge(state, true); }
void BM_MergeIntoFreshRegion(benchmark::State& state) { merge(state, false); }

#define RUN_COUNTS Arg(16)->Arg(64)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_BitmapToRegion)->RUN_COUNTS;
BENCHMARK(BM_MergeInPlace)->RUN_COUNTS;
BENCHMARK(BM_MergeIntoFreshRegion)->RUN_COUNTS;

}  // namespace

int main(int argc, char** argv) {
    orvex_headless::activate();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
