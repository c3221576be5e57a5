// The frame of this platform's windows: how far a window's client area lies
// inside its outer rectangle. GetSystemMetrics answers these, the window
// store places client areas by them, and the image button assumes them of
// its parent (a captioned window with a fixed frame, as Orvex's windowed
// window is): its client area begins fixed_frame pixels right of and
// fixed_frame + caption pixels below the outer corner. Plain C++, for the
// platform layer and the framework on every system.
#pragma once

namespace orvex_platform::frame_metrics {

inline constexpr long fixed_frame = 3;  // WS_DLGFRAME (SM_CXFIXEDFRAME)
inline constexpr long thick_frame = 4;  // WS_THICKFRAME
inline constexpr long border = 1;       // WS_BORDER alone (SM_CXBORDER)
inline constexpr long caption = 16;     // WS_CAPTION (SM_CYCAPTION)

}  // namespace orvex_platform::frame_metrics
