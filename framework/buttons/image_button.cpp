#include "framework/buttons/button_class.h"

namespace orvex {

// TEMPORARY: replaced by the image-button control.
LRESULT CALLBACK HOVERBUTTONHANDLER(HWND WND, UINT IMSG, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(WND, IMSG, wparam, lparam);
}

}  // namespace orvex
