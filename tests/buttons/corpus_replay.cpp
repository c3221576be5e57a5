// Feeds every file of the given corpus directories to the fuzz target's
// entry point, as libFuzzer replays a corpus: a regression test of the
// region builder in the ordinary build.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());  // aborts on a finding
            ++files;
        }
    }
    if (files == 0) {
        std::fprintf(stderr, "no corpus files\n");
        return 1;
    }
    std::printf("%d passed, 0 failed\n", files);
    return 0;
}
