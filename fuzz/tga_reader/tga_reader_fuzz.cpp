// Fuzz target: the TGA reader on arbitrary file contents. Besides the
// sanitizers' checks it holds the reader to its contract: a success shows no
// message and hands over a pixel block; a failure shows exactly one message
// and leaves no block and no open file.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/textures/tga_reader.h"
#include "platform/headless/headless.h"

namespace {
int memory_file = -1;
std::string memory_file_name;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    orvex_headless::activate();
    memory_file = memfd_create("tga_reader_fuzz", 0);
    if (memory_file < 0) std::abort();
    memory_file_name = "/proc/self/fd/" + std::to_string(memory_file);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (ftruncate(memory_file, 0) != 0) std::abort();
    if (size > 0 && pwrite(memory_file, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    orvex_headless::clear_message_boxes();
    orvex::TGATEXTURE texture{};
    texture.TEXID = 77;
    const bool ok = orvex::LOADTGA(texture, memory_file_name);
    const std::size_t boxes = orvex_headless::message_boxes().size();
    if (orvex::FTGA != nullptr || texture.TEXID != 77) std::abort();
    if (ok) {
        if (boxes != 0 || !texture.IMAGEDATA) std::abort();
        if (texture.BPP != 24 && texture.BPP != 32) std::abort();
        // Touch the last byte of the block: it must all belong to the image.
        const std::size_t bytes = std::size_t{texture.WIDTH} * texture.HEIGHT * (texture.BPP / 8);
        volatile std::uint8_t last = texture.IMAGEDATA[bytes - 1];
        (void)last;
        std::free(texture.IMAGEDATA);
    } else if (boxes != 1 || texture.IMAGEDATA != nullptr) {
        std::abort();
    }
    return 0;
}
