#include "tools/soak/process_figures.h"

#include <malloc.h>
#include <unistd.h>

namespace soak {

namespace {
std::size_t resident_kib() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    unsigned long size = 0, resident = 0;
    const bool ok = std::fscanf(f, "%lu %lu", &size, &resident) == 2;
    std::fclose(f);
    return ok ? resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) / 1024 : 0;
}
}  // namespace

Figures take_figures(int frame) {
    Figures f;
    f.frame = frame;
    f.rss_kib = resident_kib();
    const struct mallinfo2 m = mallinfo2();
    f.heap_bytes = m.uordblks + m.hblkhd;
    f.handles = orvex_headless::live_handles();
    return f;
}

void print_table(std::FILE* out, const std::vector<Figures>& samples) {
    std::fprintf(out, "%8s %10s %12s %8s %8s %9s %8s %8s\n", "frame", "RSS KiB", "heap bytes", "windows", "GDI",
                 "contexts", "blocks", "cursors");
    for (const Figures& f : samples) {
        std::fprintf(out, "%8d %10zu %12zu %8zu %8zu %9zu %8zu %8zu\n", f.frame, f.rss_kib, f.heap_bytes,
                     f.handles.windows, f.handles.gdi_objects, f.handles.gl_contexts, f.handles.memory_blocks,
                     f.handles.cursors);
    }
}

}  // namespace soak
