#include "window_order.h"

void RaiseWithoutStayingOnTop(HWND window) {
    UINT flags = SWP_NOMOVE | SWP_NOSIZE;
    // Another thread's window is asked without waiting for that thread: it
    // may be busy, or waiting for the caller. Its thread takes the three
    // requests in order.
    if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId()) flags |= SWP_ASYNCWINDOWPOS;
    ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
    ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}
