#pragma once

#include "platform/core/window.h"

namespace orvex_platform {

// The class of that name visible to `instance` (or a system class), or null.
const WindowClass* find_class(const char* name, HINSTANCE instance);
// Registers the classes the platform itself provides (the status bar's).
void register_system_classes();

}  // namespace orvex_platform
