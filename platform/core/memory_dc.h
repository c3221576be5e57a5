// Memory device contexts and the selection of objects into contexts: what
// the other GDI operations ask of a context.
#pragma once

#include "platform/core/gdi_objects.h"

namespace orvex_platform {

DeviceContext* find_dc(HDC dc);
// The palette selected into a context; the default palette when none was.
Palette* selected_palette(const DeviceContext& dc);

}  // namespace orvex_platform
