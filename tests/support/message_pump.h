// Small helpers for tests that drive windows through their message queue.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace orvex_test {

// Dispatches every queued message, as a program's message loop would; a
// repeatedly generated WM_PAINT ends the loop after `limit` messages.
inline int pump_messages(int limit = 1000) {
    MSG msg;
    int n = 0;
    while (n < limit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        ++n;
    }
    return n;
}

}  // namespace orvex_test
