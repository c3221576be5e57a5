// The primary monitor of an X screen, from RandR, Xinerama or the screen.
#include "platform/x11/x11_monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

namespace orvex_x11 {

namespace {
// A candidate cut to the screen; nothing when it has no area there.
std::optional<RECT> on_screen(const RECT& r, const RECT& screen) {
    RECT cut{std::max(r.left, screen.left), std::max(r.top, screen.top), std::min(r.right, screen.right),
             std::min(r.bottom, screen.bottom)};
    if (cut.left >= cut.right || cut.top >= cut.bottom) return std::nullopt;
    return cut;
}

RECT rect_of(int x, int y, int width, int height) {
    return RECT{x, y, static_cast<LONG>(static_cast<long long>(x) + width),
                static_cast<LONG>(static_cast<long long>(y) + height)};
}
}  // namespace

RECT primary_monitor(const MonitorReport& report) {
    if (report.randr_monitors)
        for (const auto& m : *report.randr_monitors)
            if (m.primary)
                if (auto r = on_screen(m.area, report.screen)) return *r;
    if (report.primary_output)
        if (auto r = on_screen(*report.primary_output, report.screen)) return *r;
    for (const RECT& head : report.xinerama_heads)
        if (auto r = on_screen(head, report.screen)) return *r;
    return report.screen;
}

MonitorReport query_monitors(Display* dpy, ::Window root, int screen) {
    MonitorReport report;
    report.screen = rect_of(0, 0, DisplayWidth(dpy, screen), DisplayHeight(dpy, screen));

    int event_base = 0, error_base = 0, major = 0, minor = 0;
    if (XRRQueryExtension(dpy, &event_base, &error_base) && XRRQueryVersion(dpy, &major, &minor)) {
        if (major > 1 || (major == 1 && minor >= 5)) {
            int count = 0;
            XRRMonitorInfo* monitors = XRRGetMonitors(dpy, root, True, &count);
            std::vector<MonitorReport::Monitor> list;
            for (int i = 0; monitors && i < count; ++i)
                list.push_back({rect_of(monitors[i].x, monitors[i].y, monitors[i].width, monitors[i].height),
                                monitors[i].primary != 0});
            if (monitors) XRRFreeMonitors(monitors);
            report.randr_monitors = std::move(list);
        } else if (major == 1 && minor >= 3) {
            RROutput primary = XRRGetOutputPrimary(dpy, root);
            XRRScreenResources* resources = primary ? XRRGetScreenResourcesCurrent(dpy, root) : nullptr;
            XRROutputInfo* output = resources ? XRRGetOutputInfo(dpy, resources, primary) : nullptr;
            XRRCrtcInfo* crtc = output && output->crtc ? XRRGetCrtcInfo(dpy, resources, output->crtc) : nullptr;
            if (crtc)
                report.primary_output =
                    rect_of(crtc->x, crtc->y, static_cast<int>(crtc->width), static_cast<int>(crtc->height));
            if (crtc) XRRFreeCrtcInfo(crtc);
            if (output) XRRFreeOutputInfo(output);
            if (resources) XRRFreeScreenResources(resources);
        }
    }

    if (XineramaQueryExtension(dpy, &event_base, &error_base) && XineramaIsActive(dpy)) {
        int count = 0;
        XineramaScreenInfo* heads = XineramaQueryScreens(dpy, &count);
        for (int i = 0; heads && i < count; ++i)
            report.xinerama_heads.push_back(rect_of(heads[i].x_org, heads[i].y_org, heads[i].width, heads[i].height));
        if (heads) XFree(heads);
    }
    return report;
}

}  // namespace orvex_x11
