#include "startup/worker_stop.h"

#include <algorithm>
#include <string_view>

#include "message_wait.h"

namespace {

// A box shown just after the last round is closed by the next one.
constexpr DWORD kCloseRoundMs = 100;

// Message boxes and the folder browser are dialogs; the thread's other
// windows (the shell's and COM's hidden ones) are left alone.
BOOL CALLBACK CloseDialog(HWND window, LPARAM) {
    wchar_t className[16] = {};
    if (::GetClassNameW(window, className, static_cast<int>(std::size(className))) &&
        std::wstring_view(className) == L"#32770")
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

bool StopWorker(SharedRunState& shared, HANDLE worker, DWORD workerThreadId, DWORD limitMs) {
    shared.listAbortRequested = true;
    shared.copyCancelRequested = true;
    const ULONGLONG deadline = ::GetTickCount64() + limitMs;
    while (true) {
        // Posted, never sent: the worker's windows are not waited for.
        ::EnumThreadWindows(workerThreadId, CloseDialog, 0);
        const ULONGLONG now = ::GetTickCount64();
        const auto round = static_cast<DWORD>(std::min<ULONGLONG>(kCloseRoundMs, now < deadline ? deadline - now : 0));
        if (WaitWithMessages({worker}, round) == WAIT_OBJECT_0) return true;
        if (round == 0) return false;
    }
}
