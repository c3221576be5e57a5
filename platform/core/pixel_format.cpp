// Pixel formats: the formats of the display, and the choice of the closest.
#include <cstdlib>
#include <tuple>

#include "platform/core/call_log.h"
#include "platform/core/device_context.h"
#include "platform/core/egl_context.h"
#include "platform/core/gdi_objects.h"
#include "platform/core/window.h"
#include "platform/platform_control.h"

using namespace orvex_platform;

namespace {
bool has_dc(HDC dc) { return find_gdi<DeviceContext>(dc, GdiKind::device_context) != nullptr; }

// How well a format answers a request, as a tuple that compares larger for a
// better format. Hard requirements first (pixel type, OpenGL, window, double
// buffering); then each buffer: a format that has at least the requested bits
// beats one that has fewer, among those with at least, fewer bits beyond the
// request are better, among those with fewer, more are better.
long long fit(int have, int want) {
    if (want == 0) return -have;  // not asked for: the less the better
    if (have >= want) return 1000 - (have - want);
    return have - want;  // negative: short of the request
}

auto score(const PIXELFORMATDESCRIPTOR& f, const PIXELFORMATDESCRIPTOR& r) {
    auto need = [&](DWORD flag) { return !(r.dwFlags & flag) || (f.dwFlags & flag); };
    int required = (f.iPixelType == r.iPixelType) + need(PFD_SUPPORT_OPENGL) + need(PFD_DRAW_TO_WINDOW) +
                   need(PFD_DOUBLEBUFFER);
    // An alpha, depth or stencil buffer that is asked for at all matters more
    // than any size: a request beyond every format still gets all three.
    auto present = [](int have, int want) { return want == 0 || have > 0; };
    return std::make_tuple(required, present(f.cAlphaBits, r.cAlphaBits), present(f.cDepthBits, r.cDepthBits),
                           present(f.cStencilBits, r.cStencilBits), fit(f.cColorBits, r.cColorBits),
                           fit(f.cDepthBits, r.cDepthBits), fit(f.cStencilBits, r.cStencilBits),
                           fit(f.cAlphaBits, r.cAlphaBits));
}
}  // namespace

int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd) {
    ORVEX_API(dc, pfd);
    if (!has_dc(dc) || !pfd || failure_injected(Failure::pixel_formats)) return 0;
    const auto& formats = pixel_formats();
    int best = 0;
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (best == 0 || score(formats[i].pfd, *pfd) > score(formats[best - 1].pfd, *pfd))
            best = static_cast<int>(i) + 1;
    }
    // A colour-index request, or one for a feature nothing offers, gets nothing.
    if (best && std::get<0>(score(formats[best - 1].pfd, *pfd)) < 4) return 0;
    return best;
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd) {
    ORVEX_API(dc, format, pfd);
    Window* w = window_of_dc(dc);
    if (!w || format < 1 || static_cast<std::size_t>(format) > pixel_formats().size()) return FALSE;
    // A window's pixel format is set once.
    if (w->pixel_format != 0) return w->pixel_format == format ? TRUE : FALSE;
    w->pixel_format = format;
    return TRUE;
}

int WINAPI GetPixelFormat(HDC dc) {
    ORVEX_API(dc);
    Window* w = window_of_dc(dc);
    return w ? w->pixel_format : 0;
}

int WINAPI DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* pfd) {
    ORVEX_API(dc, format, size, pfd);
    if (!has_dc(dc)) return 0;
    const auto& formats = pixel_formats();
    int count = static_cast<int>(formats.size());
    if (pfd) {
        if (format < 1 || format > count || size < sizeof(PIXELFORMATDESCRIPTOR)) return 0;
        *pfd = formats[static_cast<std::size_t>(format) - 1].pfd;
    }
    return count;
}
