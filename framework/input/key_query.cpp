// Key queries: the key table read by character code.
#include "framework/input/input.h"
#include "framework/window/window.h"

namespace orvex {

bool SETGLKEY(char KEY) {
    // The character's code (0 to 255) taken as a virtual-key code: digits and
    // upper-case letters name the main-keyboard keys bearing them.
    return SETKEY.at(static_cast<unsigned char>(KEY), "SETKEY") != 0;
}

}  // namespace orvex
