#include "explorer/explorer_view.h"

#include <shellapi.h>

#include <vector>

#include "cancel_flag.h"
#include "format.h"
#include "handles.h"
#include "paths.h"
#include "window_order.h"

namespace {

constexpr DWORD kPollIntervalMs = 100;

void StartExplorerSelecting(std::wstring_view folder, std::wstring_view item) {
    const std::wstring parameters = ExplorerSelectParameters(folder, item);
    // The shell may hand the start to extensions that need COM.
    const ScopedCom com;
    ::ShellExecuteW(nullptr, nullptr, L"explorer.exe", parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace

int ShowCommandForPlacement(UINT showState) {
    switch (showState) {
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_FORCEMINIMIZE:
            return SW_SHOWNOACTIVATE;
        default:
            return SW_SHOWNA;
    }
}

void ShowFolderWindow(const ExplorerWindowRecord& record) {
    const int command = ShowCommandForPlacement(record.placement.showCmd);
    // Explorer's window belongs to another process: it is asked without
    // waiting for it, so a busy Explorer cannot hold the copy tool.
    if (::GetWindowThreadProcessId(record.window, nullptr) == ::GetCurrentThreadId()) {
        ::ShowWindow(record.window, command);
    } else {
        ::ShowWindowAsync(record.window, command);
    }
    RaiseWithoutStayingOnTop(record.window);
}

std::wstring ExplorerSelectParameters(std::wstring_view folder, std::wstring_view item) {
    std::wstring path(folder);
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    path += item;
    // Quoted: Explorer splits its parameters at commas, which names may hold.
    return FormatText(L"/select,%s", {L"\"" + path + L"\""});
}

void WaitForExplorerWindow(std::wstring_view folder, DWORD limitMs, const std::atomic<bool>* stop) {
    const std::wstring shown = StripTrailingBackslash(folder);
    const ULONGLONG deadline = ::GetTickCount64() + limitMs;
    std::vector<ExplorerWindowRecord> records;
    while (true) {
        ::Sleep(kPollIntervalMs);
        if (::GetTickCount64() >= deadline || IsCancelled(stop)) return;
        EnumerateExplorerWindows(records);
        if (const ExplorerWindowRecord* open = FindFolderWindow(records, shown)) {
            RaiseWithoutStayingOnTop(open->window);
            return;
        }
    }
}

void ShowResultInExplorer(std::wstring_view folder, std::wstring_view item, const std::atomic<bool>* stop) {
    const std::wstring shown = StripTrailingBackslash(folder);
    std::vector<ExplorerWindowRecord> records;
    // A list cut short still holds the windows found before. A window that
    // shows the folder only in a background tab is not raised: its frame
    // shows another folder, so Explorer is started as when none shows it.
    EnumerateExplorerWindows(records);
    if (const ExplorerWindowRecord* open = FindFolderWindow(records, shown)) {
        ShowFolderWindow(*open);
        return;
    }
    StartExplorerSelecting(folder, item);
    WaitForExplorerWindow(folder, kExplorerWindowWaitMs, stop);
}
