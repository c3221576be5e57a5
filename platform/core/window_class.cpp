// Window classes: RegisterClassA/ExA, GetClassInfoExA, UnregisterClassA.
#include "platform/core/window_class.h"

#include <memory>
#include <vector>

#include "platform/core/call_log.h"
#include "platform/core/status_bar.h"

namespace orvex_platform {

namespace {
std::vector<std::unique_ptr<WindowClass>>& classes() {
    static std::vector<std::unique_ptr<WindowClass>> list;
    return list;
}
ATOM g_next_atom = 0xC000;

WindowClass* lookup(const char* name, HINSTANCE instance, bool for_registration) {
    if (!name) return nullptr;
    if (IS_INTRESOURCE(name)) {
        ATOM atom = static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name));
        for (auto& c : classes())
            if (c->atom == atom) return c.get();
        return nullptr;
    }
    for (auto& c : classes()) {
        if (!equal_nocase(c->name, name)) continue;
        // Class names are unique per module; a lookup with no module sees
        // every class, like the system classes are seen by every module.
        if (for_registration || c->system || !instance || !c->instance || c->instance == instance) return c.get();
    }
    return nullptr;
}

ATOM add_class(WindowClass wc) {
    if (wc.name.empty() || !wc.proc) return 0;
    if (lookup(wc.name.c_str(), wc.instance, true)) return 0;
    wc.atom = g_next_atom++;
    classes().push_back(std::make_unique<WindowClass>(std::move(wc)));
    return classes().back()->atom;
}
}  // namespace

const WindowClass* find_class(const char* name, HINSTANCE instance) {
    register_system_classes();
    return lookup(name, instance, false);
}

void register_system_classes() {
    static bool done = false;
    if (done) return;
    done = true;
    WindowClass wc;
    wc.name = STATUSCLASSNAMEA;
    wc.proc = status_bar_proc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.background = GetSysColorBrush(COLOR_BTNFACE);
    wc.cursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.system = true;
    add_class(std::move(wc));
}

}  // namespace orvex_platform

using namespace orvex_platform;

namespace {
// The fields both registration records share.
template <class Record>
WindowClass class_from(const Record* w) {
    WindowClass wc;
    wc.name = w->lpszClassName;
    wc.style = w->style;
    wc.proc = w->lpfnWndProc;
    wc.class_extra = w->cbClsExtra;
    wc.window_extra = w->cbWndExtra;
    wc.instance = w->hInstance;
    wc.icon = w->hIcon;
    wc.cursor = w->hCursor;
    wc.background = w->hbrBackground;
    wc.menu_name = safe_string(IS_INTRESOURCE(w->lpszMenuName) ? nullptr : w->lpszMenuName);
    return wc;
}
}  // namespace

ATOM WINAPI RegisterClassA(const WNDCLASSA* w) {
    ORVEX_API(w ? w->lpszClassName : nullptr);
    if (!w || !w->lpszClassName || IS_INTRESOURCE(w->lpszClassName)) return 0;
    register_system_classes();
    return add_class(class_from(w));
}

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* w) {
    ORVEX_API(w ? w->lpszClassName : nullptr);
    if (!w || w->cbSize != sizeof(WNDCLASSEXA) || !w->lpszClassName || IS_INTRESOURCE(w->lpszClassName)) return 0;
    register_system_classes();
    WindowClass wc = class_from(w);
    wc.small_icon = w->hIconSm;
    return add_class(std::move(wc));
}

BOOL WINAPI GetClassInfoExA(HINSTANCE instance, LPCSTR name, WNDCLASSEXA* out) {
    ORVEX_API(instance, name, out);
    const WindowClass* c = find_class(name, instance);
    if (!c || !out) return FALSE;
    out->cbSize = sizeof(WNDCLASSEXA);
    out->style = c->style;
    out->lpfnWndProc = c->proc;
    out->cbClsExtra = c->class_extra;
    out->cbWndExtra = c->window_extra;
    out->hInstance = c->instance;
    out->hIcon = c->icon;
    out->hCursor = c->cursor;
    out->hbrBackground = c->background;
    out->lpszMenuName = c->menu_name.empty() ? nullptr : c->menu_name.c_str();
    out->lpszClassName = c->name.c_str();
    out->hIconSm = c->small_icon;
    return c->atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE instance) {
    ORVEX_API(name, instance);
    if (!name) return FALSE;
    auto& list = classes();
    for (auto it = list.begin(); it != list.end(); ++it) {
        if ((*it)->system || !equal_nocase((*it)->name, name)) continue;
        if (instance && (*it)->instance && (*it)->instance != instance) continue;
        for (HWND w : all_windows()) {
            Window* win = find_window(w);
            if (win && equal_nocase(win->class_name, name)) return FALSE;  // still in use
        }
        list.erase(it);
        return TRUE;
    }
    return FALSE;
}
