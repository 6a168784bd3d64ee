#include "ui/progress_window.h"

#include <commctrl.h>

#include "message_box.h"
#include "ui/progress_logic.h"
#include "ui/resource.h"
#include "window_order.h"

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kRefreshTimer = 2;
constexpr UINT_PTR kAutoCloseTimer = 3;
constexpr UINT kShowDelayMs = 100;
constexpr UINT kRefreshMs = 1;
constexpr BYTE kAlpha = 160;
constexpr UINT_PTR kControlSubclassId = 1;

constexpr int kHandledControls[] = {IDC_PROGRESS_AUTO_CLOSE, IDC_PROGRESS_MINIMIZE, IDC_PROGRESS_QUIT,
                                    IDC_PROGRESS_CANCEL};

constexpr MessagePair kQuitQuestion = {L"終了してよろしいですか?", L"Are you sure you want to quit?"};

CopyToolApp* AppOf(HWND dialog) {
    return reinterpret_cast<CopyToolApp*>(::GetWindowLongPtrW(dialog, DWLP_USER));
}

void ShowAutoCloseText(HWND dialog, bool on) {
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_AUTO_CLOSE, on ? L"Auto close:On" : L"Auto close:Off");
}

// Sets a control's text only when it changed, so the refresh timer does not
// repaint the window a thousand times a second.
void SetTextIfChanged(HWND dialog, int id, const std::wstring& text) {
    wchar_t shown[StatusText::kMaxChars + 1] = {};
    ::GetDlgItemTextW(dialog, id, shown, ARRAYSIZE(shown));
    if (text != shown) ::SetDlgItemTextW(dialog, id, text.c_str());
}

// --- the four controls that act like buttons ---

void OnAutoCloseControl(CopyToolApp& app, HWND dialog) {
    if (app.finished) return;
    const bool on = !app.autoCloseNow.load();
    app.autoCloseNow = on;
    ShowAutoCloseText(dialog, on);
}

void OnQuitControl(CopyToolApp& app, HWND control) {
    if (ShowMessage(control, MB_ICONQUESTION | MB_YESNO, kQuitQuestion) == IDYES && app.mainWindow)
        ::DestroyWindow(app.mainWindow);
}

void OnCancelControl(CopyToolApp& app, HWND dialog) {
    if (app.finished) {
        ::SendMessageW(dialog, WM_CLOSE, 0, 0);
    } else if (app.shared.ListWriting.load()) {
        // Stops only the list; what was copied stands.
        app.shared.ListAbortRequested = true;
        app.shared.ListFailed = true;
    } else {
        app.shared.CopyCancelRequested = true;
    }
}

void ActOnControl(CopyToolApp& app, HWND control) {
    const HWND dialog = ::GetParent(control);
    switch (::GetDlgCtrlID(control)) {
        case IDC_PROGRESS_AUTO_CLOSE:
            OnAutoCloseControl(app, dialog);
            break;
        case IDC_PROGRESS_MINIMIZE:
            ::ShowWindow(dialog, SW_HIDE);
            break;
        case IDC_PROGRESS_QUIT:
            OnQuitControl(app, control);
            break;
        case IDC_PROGRESS_CANCEL:
            OnCancelControl(app, dialog);
            break;
    }
}

LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto& app = *reinterpret_cast<CopyToolApp*>(data);
    switch (message) {
        case WM_LBUTTONDOWN:
            ActOnControl(app, control);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_SPACE) ActOnControl(app, control);
            return 0;
        case WM_KEYUP:
        case WM_CHAR:
            return 0;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(control, ControlProc, kControlSubclassId);
            break;
    }
    return ::DefSubclassProc(control, message, wParam, lParam);
}

// --- the window ---

void OnInitDialog(HWND dialog, CopyToolApp& app) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&app));
    app.progressWindow = dialog;
    ::SetWindowLongPtrW(dialog, GWL_EXSTYLE, ::GetWindowLongPtrW(dialog, GWL_EXSTYLE) | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(dialog, 0, kAlpha, LWA_ALPHA);
    ::SetTimer(dialog, kShowTimer, kShowDelayMs, nullptr);
    ::SetTimer(dialog, kRefreshTimer, kRefreshMs, nullptr);
    RaiseWithoutStayingOnTop(dialog);
    ::SetForegroundWindow(dialog);
    for (const int id : kHandledControls)
        ::SetWindowSubclass(::GetDlgItem(dialog, id), ControlProc, kControlSubclassId,
                            reinterpret_cast<DWORD_PTR>(&app));
    ShowAutoCloseText(dialog, app.autoCloseNow.load());
    app.shared.StatusItemText.Clear();
    app.shared.StatusProgressText.Clear();
    ::ShowWindow(::GetDlgItem(dialog, IDC_PROGRESS_RESULT), SW_HIDE);
}

void ShowOutcome(HWND dialog, const CopyToolApp& app, int runState) {
    ::ShowWindow(dialog, SW_SHOW);
    ::SetWindowPos(dialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_WAIT, L"");
    ::ShowWindow(::GetDlgItem(dialog, IDC_PROGRESS_ITEM), SW_HIDE);
    ::ShowWindow(::GetDlgItem(dialog, IDC_PROGRESS_BYTES), SW_HIDE);
    const std::wstring result(ResultText(runState, app.shared.ListFailed.load(), app.dirTree));
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_RESULT, result.c_str());
    ::ShowWindow(::GetDlgItem(dialog, IDC_PROGRESS_RESULT), SW_SHOW);
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_BYTES, L"");
    ::InvalidateRect(dialog, nullptr, TRUE);
}

void FinishOnce(HWND dialog, CopyToolApp& app, int runState) {
    if (app.finished || !IsFinalState(runState)) return;
    if (app.autoCloseNow.load()) {
        ::SetTimer(dialog, kAutoCloseTimer, AutoCloseDelayMs(runState), nullptr);
        ::ShowWindow(::GetDlgItem(dialog, IDC_PROGRESS_CANCEL), SW_HIDE);
    } else {
        ::SetDlgItemTextW(dialog, IDC_PROGRESS_CANCEL, L"Close");
    }
    app.finished = true;
}

void OnTimer(HWND dialog, CopyToolApp& app, UINT_PTR timer) {
    const int runState = app.shared.RunState.load();
    switch (timer) {
        case kShowTimer:
            ::KillTimer(dialog, kShowTimer);
            ::ShowWindow(dialog, SW_SHOWNORMAL);
            break;
        case kRefreshTimer:
            if (IsFinalState(runState)) {
                ::KillTimer(dialog, kRefreshTimer);
                ShowOutcome(dialog, app, runState);
            } else {
                SetTextIfChanged(dialog, IDC_PROGRESS_ITEM, app.shared.StatusItemText.Get());
                SetTextIfChanged(dialog, IDC_PROGRESS_BYTES, app.shared.StatusProgressText.Get());
            }
            break;
        case kAutoCloseTimer:
            ::KillTimer(dialog, kRefreshTimer);
            ::KillTimer(dialog, kAutoCloseTimer);
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
    }
    FinishOnce(dialog, app, runState);
}

// The tooltip shows the first source, then "<first> ..." once there are more.
void OnSourcesChanged(HWND dialog, CopyToolApp& app) {
    const std::wstring label = app.shared.SourceNamesText.Get();
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_SOURCES, label.c_str());
    if (!app.tooltip) return;
    std::wstring tip = app.shared.SourceTipText.Get();
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = 1;
    ::GetClientRect(dialog, &tool.rect);
    tool.lpszText = tip.data();
    ::SendMessageW(app.tooltip, app.tooltipRegistered ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                   reinterpret_cast<LPARAM>(&tool));
    app.tooltipRegistered = true;
}

void OnPaint(HWND dialog, const CopyToolApp& app) {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(dialog, &paint);
    RECT client;
    ::GetClientRect(dialog, &client);
    ::FillRect(dc, &client, app.brushes.For(app.shared.RunState.load(), false));
    ::EndPaint(dialog, &paint);
}

INT_PTR OnControlColour(const CopyToolApp& app, HDC dc, HWND control) {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    const bool cancel = ::GetDlgCtrlID(control) == IDC_PROGRESS_CANCEL;
    return reinterpret_cast<INT_PTR>(app.brushes.For(app.shared.RunState.load(), cancel));
}

void OnDestroy(CopyToolApp& app) {
    app.progressWindow = nullptr;
    if (app.mainWindow) ::DestroyWindow(app.mainWindow);
}

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        OnInitDialog(dialog, *reinterpret_cast<CopyToolApp*>(lParam));
        return TRUE;
    }
    CopyToolApp* app = AppOf(dialog);
    if (!app) return FALSE;
    switch (message) {
        case WM_TIMER:
            OnTimer(dialog, *app, wParam);
            return TRUE;
        case kSourcesChangedMessage:
            OnSourcesChanged(dialog, *app);
            return TRUE;
        case WM_PAINT:
            OnPaint(dialog, *app);
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return OnControlColour(*app, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_LBUTTONDOWN:
            // Dragging the body moves the window, as its caption would.
            ::ReleaseCapture();
            ::SendMessageW(dialog, WM_NCLBUTTONDOWN, HTCAPTION, 0);
            return TRUE;
        case WM_CLOSE:
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) ::DestroyWindow(dialog);
            return TRUE;
        case WM_DESTROY:
            OnDestroy(*app);
            return TRUE;
    }
    return FALSE;
}

}  // namespace

HWND CreateProgressWindow(CopyToolApp& app) {
    return ::CreateDialogParamW(app.instance, MAKEINTRESOURCEW(IDD_PROGRESS), nullptr, ProgressDialogProc,
                                reinterpret_cast<LPARAM>(&app));
}
