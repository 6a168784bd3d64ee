#include "message_wait.h"

#include <optional>

namespace {

// Dispatches what is queued. A quit message is taken out of the queue and
// remembered, to be posted again when the wait ends.
void DispatchQueued(std::optional<WPARAM>& quit) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = message.wParam;
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

}  // namespace

DWORD WaitWithMessages(std::initializer_list<HANDLE> handles, DWORD timeoutMs) {
    const auto count = static_cast<DWORD>(handles.size());
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    std::optional<WPARAM> quit;
    DWORD result = WAIT_TIMEOUT;
    while (true) {
        DispatchQueued(quit);
        const ULONGLONG now = ::GetTickCount64();
        const auto remaining = static_cast<DWORD>(now < deadline ? deadline - now : 0);
        result = ::MsgWaitForMultipleObjectsEx(count, count ? handles.begin() : nullptr, remaining, QS_ALLINPUT,
                                               MWMO_INPUTAVAILABLE);
        // Anything but "messages arrived" ends the wait, and so does the
        // end of the time, however busy the queue.
        if (result != WAIT_OBJECT_0 + count) break;
        if (remaining == 0) {
            result = WAIT_TIMEOUT;
            break;
        }
    }
    if (quit) ::PostQuitMessage(static_cast<int>(*quit));
    return result;
}
