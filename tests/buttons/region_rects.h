// The rectangles a region is made of, as GetRegionData gives them.
#pragma once

#include <cstring>
#include <vector>

#include "platform/win32.h"

namespace orvex_test {

inline std::vector<RECT> rects_of(HRGN r) {
    DWORD n = GetRegionData(r, 0, nullptr);
    std::vector<unsigned char> buf(n);
    GetRegionData(r, n, reinterpret_cast<RGNDATA*>(buf.data()));
    RGNDATAHEADER h;
    std::memcpy(&h, buf.data(), sizeof h);
    std::vector<RECT> out(h.nCount);
    if (!out.empty()) std::memcpy(out.data(), buf.data() + sizeof h, out.size() * sizeof(RECT));
    return out;
}

}  // namespace orvex_test
