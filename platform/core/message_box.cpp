// Message boxes are modal and shown by the display driver. A box that cannot
// be shown (the headless display without a scripted answer, or a display
// that failed to make it) answers 0 and is not lost: its caption and text go
// to stderr.
#include <cstdio>

#include "platform/core/call_log.h"
#include "platform/core/driver.h"
#include "platform/core/window.h"

using namespace orvex_platform;

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    ORVEX_API(owner, text, caption, type);
    if (owner && !find_window(owner)) owner = nullptr;
    const std::string shown_text = safe_string(text);
    const std::string shown_caption = caption ? std::string(caption) : std::string("Error");
    const int answer = driver().message_box(owner, shown_text, shown_caption, type);
    if (answer == 0) {
        std::fprintf(stderr, "orvex: message box \"%s\": %s\n", shown_caption.c_str(), shown_text.c_str());
        std::fflush(stderr);
    }
    return answer;
}
