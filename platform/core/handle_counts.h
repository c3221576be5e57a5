// How many objects of each kind the process holds, for the headless driver's
// test interface (see platform/headless/headless.h).
#pragma once

#include <cstddef>

namespace orvex_platform {

std::size_t gl_context_count();
std::size_t global_block_count();
std::size_t cursor_count();  // cursors and icons, the system's included

}  // namespace orvex_platform
