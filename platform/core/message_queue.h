#pragma once

#include "platform/win32.h"

namespace orvex_platform {

// Posts a message that came from the display (input, close requests), with
// the coalescing of mouse moves that Windows does.
void post_input_message(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
// Drops what is queued for a window that goes away.
void purge_messages_for(HWND wnd);
std::size_t queued_message_count();

}  // namespace orvex_platform
