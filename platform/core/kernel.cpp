// Kernel services: tick count, module handle, movable global memory.
#include <chrono>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/core/call_log.h"
#include "platform/core/handle_counts.h"
#include "platform/core/handle_table.h"
#include "platform/platform_control.h"
#include "platform/win32.h"

using namespace orvex_platform;

namespace {
struct GlobalBlock {
    std::vector<unsigned char> bytes;
    int locks = 0;
    bool moveable = false;
};
HandleTable<GlobalBlock>& blocks() {
    static HandleTable<GlobalBlock> t;
    return t;
}
// Far beyond what any caller here asks for; larger requests fail as on a
// machine without the memory.
constexpr SIZE_T kLargestBlock = SIZE_T{1} << 34;

bool resize(GlobalBlock& b, SIZE_T bytes) {
    if (bytes > kLargestBlock) return false;
    try {
        b.bytes.resize(bytes == 0 ? 1 : bytes, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}
}  // namespace

std::size_t orvex_platform::global_block_count() { return blocks().size(); }

DWORD WINAPI GetTickCount() {
    ORVEX_API();
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

HMODULE WINAPI GetModuleHandleA(LPCSTR module_name) {
    ORVEX_API(module_name);
    // The program's own module; other modules are not known here.
    if (module_name) return nullptr;
    return reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x400000));
}

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    ORVEX_API(flags, bytes);
    if (failure_injected(Failure::global_alloc)) return nullptr;
    auto b = std::make_unique<GlobalBlock>();
    b->moveable = (flags & GMEM_MOVEABLE) != 0;
    if (!resize(*b, bytes)) return nullptr;
    return blocks().add<HGLOBAL>(HandleKind::global_memory, std::move(b));
}

HGLOBAL WINAPI GlobalReAlloc(HGLOBAL mem, SIZE_T bytes, UINT flags) {
    ORVEX_API(mem, bytes, flags);
    if (failure_injected(Failure::global_realloc)) return nullptr;
    GlobalBlock* b = blocks().find(mem);
    if (!b) return nullptr;
    // A locked block may move only when the caller allows it.
    if (b->locks > 0 && !(flags & GMEM_MOVEABLE) && bytes > b->bytes.size()) return nullptr;
    if (!resize(*b, bytes)) return nullptr;
    return mem;
}

LPVOID WINAPI GlobalLock(HGLOBAL mem) {
    ORVEX_API(mem);
    GlobalBlock* b = blocks().find(mem);
    if (!b) return nullptr;
    ++b->locks;
    return b->bytes.data();
}

BOOL WINAPI GlobalUnlock(HGLOBAL mem) {
    ORVEX_API(mem);
    GlobalBlock* b = blocks().find(mem);
    if (!b || b->locks == 0) return FALSE;
    --b->locks;
    return b->locks > 0 ? TRUE : FALSE;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL mem) {
    ORVEX_API(mem);
    if (!blocks().take(mem)) return mem;
    return nullptr;
}

SIZE_T WINAPI GlobalSize(HGLOBAL mem) {
    ORVEX_API(mem);
    GlobalBlock* b = blocks().find(mem);
    return b ? b->bytes.size() : 0;
}
