// One whole frame of the grass scene, every call with every value, against a
// reference recorded from the program: any change to what a frame sends to
// OpenGL (a rounding, an order, a call more or less) fails here.
//
// The reference (reference_frame.txt) holds the number of calls and, for
// each block of 4096 calls, a 64-bit FNV-1a digest of their texts and the
// block's first call. After a deliberate change to the frame, write it anew:
//   ORVEX_WRITE_REFERENCE_FRAME=1 ctest --preset default -R ReferenceFrame
// To see the calls themselves, ORVEX_FRAME_DUMP=file writes one per line.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/scenario.h"
#include "frame_recording.h"

namespace {

constexpr std::size_t kBlock = 4096;

struct Block {
    std::uint64_t digest = 0;
    std::string first;
};

struct Reference {
    std::size_t calls = 0;
    std::vector<Block> blocks;
};

std::uint64_t fnv1a(std::uint64_t h, const std::string& s) {
    for (unsigned char c : s) {
        h ^= c;
        h *= 0x100000001b3ULL;
    }
    return h;
}

Reference digest(const std::vector<std::string>& texts) {
    Reference r;
    r.calls = texts.size();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i % kBlock == 0) r.blocks.push_back({0xcbf29ce484222325ULL, texts[i]});
        r.blocks.back().digest = fnv1a(r.blocks.back().digest, texts[i] + "\n");
    }
    return r;
}

std::string render(const Reference& r) {
    std::ostringstream out;
    out << "calls " << r.calls << "\n";
    for (std::size_t b = 0; b < r.blocks.size(); ++b) {
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016" PRIx64, r.blocks[b].digest);
        out << b << " " << hex << " " << r.blocks[b].first << "\n";
    }
    return out.str();
}

TEST(ReferenceFrame, EveryCallAndValueAsRecorded) {
    EXPECT_SCENARIO({
        SCENARIO_CHECK(orvex_test::run_recording_third_frame() == 0);
        std::vector<std::string> texts;
        for (const auto& c : orvex_test::recorded_drawing()) texts.push_back(c.text());
        SCENARIO_CHECK(texts.size() > 100000);

        if (const char* dump = std::getenv("ORVEX_FRAME_DUMP")) {
            std::ofstream out(dump);
            for (const auto& t : texts) out << t << "\n";
        }
        std::string got = render(digest(texts));
        if (std::getenv("ORVEX_WRITE_REFERENCE_FRAME")) {
            std::ofstream(REFERENCE_FRAME) << got;
            std::fprintf(stderr, "reference written to %s\n", REFERENCE_FRAME);
        }
        std::ifstream in(REFERENCE_FRAME);
        SCENARIO_CHECK(in.good());
        std::stringstream want;
        want << in.rdbuf();
        if (want.str() != got) {
            // Name the first block that differs, with its first call.
            std::istringstream w(want.str()), g(got);
            std::string wl, gl;
            while (std::getline(w, wl) && std::getline(g, gl) && wl == gl) {
            }
            std::fprintf(stderr, "frame differs from the reference:\n  expected: %s\n  recorded: %s\n",
                         wl.c_str(), gl.c_str());
            SCENARIO_CHECK(want.str() == got);
        }
    });
}

}  // namespace
