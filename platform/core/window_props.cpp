// Named window properties.
#include "platform/core/call_log.h"
#include "platform/core/window.h"

using namespace orvex_platform;

namespace {
// Property names given as atoms are kept under a name of their own.
std::string prop_key(LPCSTR name) {
    if (IS_INTRESOURCE(name)) return "#atom" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
    return name;
}
}  // namespace

BOOL WINAPI SetPropA(HWND wnd, LPCSTR name, HANDLE data) {
    ORVEX_API(wnd, name, data);
    Window* w = find_window(wnd);
    if (!w || !name) return FALSE;
    w->props[prop_key(name)] = data;
    return TRUE;
}

HANDLE WINAPI GetPropA(HWND wnd, LPCSTR name) {
    ORVEX_API(wnd, name);
    Window* w = find_window(wnd);
    if (!w || !name) return nullptr;
    auto it = w->props.find(prop_key(name));
    return it == w->props.end() ? nullptr : it->second;
}

HANDLE WINAPI RemovePropA(HWND wnd, LPCSTR name) {
    ORVEX_API(wnd, name);
    Window* w = find_window(wnd);
    if (!w || !name) return nullptr;
    auto it = w->props.find(prop_key(name));
    if (it == w->props.end()) return nullptr;
    HANDLE data = it->second;
    w->props.erase(it);
    return data;
}
