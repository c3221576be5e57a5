// What a long run is watched for: the process's memory and the platform
// objects it holds, taken at one moment.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

#include "platform/headless/headless.h"

namespace soak {

struct Figures {
    int frame = 0;
    std::size_t rss_kib = 0;     // resident set size
    std::size_t heap_bytes = 0;  // bytes the C library's allocator has handed out and not got back
    orvex_headless::LiveHandles handles;
};

Figures take_figures(int frame);

// One line per sample: frame, memory, then the handles kind by kind.
void print_table(std::FILE* out, const std::vector<Figures>& samples);

}  // namespace soak
