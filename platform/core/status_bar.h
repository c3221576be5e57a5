#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace orvex_platform {

// What a status bar holds: its parts' right edges and their texts.
struct StatusBarState {
    std::vector<int> edges;
    std::vector<std::string> texts;
};
const StatusBarState* status_bar_state(HWND wnd);
// The window procedure of the status bar's class.
LRESULT CALLBACK status_bar_proc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

}  // namespace orvex_platform
