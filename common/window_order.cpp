#include "window_order.h"

void RaiseWithoutStayingOnTop(HWND window) {
    constexpr UINT kKeepPlaceAndSize = SWP_NOMOVE | SWP_NOSIZE;
    ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlaceAndSize);
    ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kKeepPlaceAndSize);
    ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlaceAndSize);
}
