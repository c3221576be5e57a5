// Message boxes are modal and shown by the display driver.
#include "platform/core/call_log.h"
#include "platform/core/driver.h"
#include "platform/core/window.h"

using namespace orvex_platform;

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    ORVEX_API(owner, text, caption, type);
    if (owner && !find_window(owner)) owner = nullptr;
    return driver().message_box(owner, safe_string(text), caption ? std::string(caption) : std::string("Error"), type);
}
