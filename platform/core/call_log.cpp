#include "platform/core/call_log.h"

#include <vector>

#include "platform/platform_control.h"

namespace orvex_platform {

namespace {
bool g_enabled = false;
std::vector<std::string>& entries() {
    static std::vector<std::string> list;
    return list;
}
}  // namespace

namespace detail {
// A pixel-format request is logged field by field.
void put(std::ostringstream& out, const PIXELFORMATDESCRIPTOR* p) {
    if (!p) {
        out << "null";
        return;
    }
    out << "{nSize=" << p->nSize << " nVersion=" << p->nVersion << " dwFlags=0x" << std::hex << p->dwFlags << std::dec
        << " iPixelType=" << +p->iPixelType << " cColorBits=" << +p->cColorBits << " cRedBits=" << +p->cRedBits
        << " cRedShift=" << +p->cRedShift << " cGreenBits=" << +p->cGreenBits << " cGreenShift=" << +p->cGreenShift
        << " cBlueBits=" << +p->cBlueBits << " cBlueShift=" << +p->cBlueShift << " cAlphaBits=" << +p->cAlphaBits
        << " cAlphaShift=" << +p->cAlphaShift << " cAccumBits=" << +p->cAccumBits
        << " cAccumRedBits=" << +p->cAccumRedBits << " cAccumGreenBits=" << +p->cAccumGreenBits
        << " cAccumBlueBits=" << +p->cAccumBlueBits << " cAccumAlphaBits=" << +p->cAccumAlphaBits
        << " cDepthBits=" << +p->cDepthBits << " cStencilBits=" << +p->cStencilBits
        << " cAuxBuffers=" << +p->cAuxBuffers << " iLayerType=" << +p->iLayerType << " bReserved=" << +p->bReserved
        << " dwLayerMask=" << p->dwLayerMask << " dwVisibleMask=" << p->dwVisibleMask
        << " dwDamageMask=" << p->dwDamageMask << "}";
}
}  // namespace detail

bool call_log_enabled() { return g_enabled; }
int& api_depth() {
    static int depth = 0;
    return depth;
}
void append_call(std::string entry) { entries().push_back(std::move(entry)); }

void enable_call_log(bool on) { g_enabled = on; }

std::vector<std::string> call_log() { return entries(); }
void clear_call_log() { entries().clear(); }

}  // namespace orvex_platform
