#pragma once

#include "platform/win32.h"

namespace orvex_platform {

// Calls a window's procedure directly, as SendMessageA does.
LRESULT send_message(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
// Drops what is queued for a window that goes away.
void purge_messages_for(HWND wnd);
std::size_t queued_message_count();

}  // namespace orvex_platform
