#include "ui/progress_window.h"

#include <commctrl.h>

#include <memory>
#include <optional>
#include <vector>

#include "language.h"
#include "message_box.h"
#include "ui/progress_figures.h"
#include "ui/progress_logic.h"
#include "ui/resource.h"
#include "ui/state_brushes.h"
#include "window_order.h"

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kRefreshTimer = 2;
constexpr UINT_PTR kAutoCloseTimer = 3;
constexpr UINT_PTR kFiguresTimer = 4;
constexpr UINT kShowDelayMs = 100;
// The status lines are refreshed as often as a timer fires on Windows, which
// raises any shorter interval to this one; Wine would fire a 1 ms timer every
// millisecond, each time a round of requests to its server.
constexpr UINT kRefreshMs = USER_TIMER_MINIMUM;
// The files and bytes done, the bar and the time left: often enough to look
// alive, seldom enough to cost nothing.
constexpr UINT kFiguresMs = 250;
// The time left looks back over this much.
constexpr double kKeptSampleSeconds = kRateWindowSeconds + kSmoothingSeconds + 2;
constexpr BYTE kAlpha = 160;
constexpr UINT_PTR kControlSubclassId = 1;

constexpr int kHandledControls[] = {IDC_PROGRESS_AUTO_CLOSE, IDC_PROGRESS_MINIMIZE, IDC_PROGRESS_QUIT,
                                    IDC_PROGRESS_CANCEL};

constexpr MessagePair kQuitQuestion = {L"終了してよろしいですか?", L"Are you sure you want to quit?"};

// The window's own state; the window deletes it when it is destroyed.
struct ProgressWindow {
    explicit ProgressWindow(const ProgressWindowLinks& l) : links(l), shared(*l.shared), autoCloseNow(l.autoClose) {}

    ProgressWindowLinks links;
    SharedRunState& shared;
    StateBrushes brushes;
    bool autoCloseNow;
    bool finished = false;  // the window shows the outcome
    bool tooltipRegistered = false;
    // The status lines as last set. The refresh timer fires every few
    // milliseconds and sets a line only when its text changed; comparing
    // with what was set, rather than asking the control, costs the window
    // thread nothing (under Wine, every look at a control is a request to
    // the server that the copy's file operations wait behind).
    std::wstring itemShown;  // both controls start empty
    std::wstring bytesShown;
    // How far the run had come on the last timers, for the time left; a new
    // series for each set of totals (each archive).
    ULONGLONG startTick = ::GetTickCount64();
    std::vector<ProgressSample> samples;
    std::optional<WorkTotals> sampledTotals;
};

ProgressWindow* StateOf(HWND dialog) {
    return reinterpret_cast<ProgressWindow*>(::GetWindowLongPtrW(dialog, DWLP_USER));
}

void ShowAutoCloseText(HWND dialog, bool on) {
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_AUTO_CLOSE, on ? L"Auto close:On" : L"Auto close:Off");
}

// Sets a status line only when its text differs from the one last set.
void SetTextIfChanged(HWND dialog, int id, std::wstring& shown, const std::wstring& text) {
    if (text == shown) return;
    shown = text;
    ::SetDlgItemTextW(dialog, id, text.c_str());
}

// Sets a control's text only when it changed, so the timers do not repaint
// the window for nothing.
void SetTextIfChanged(HWND dialog, int id, const std::wstring& text) {
    wchar_t shown[StatusText::kMaxChars + 1] = {};
    ::GetDlgItemTextW(dialog, id, shown, ARRAYSIZE(shown));
    if (text != shown) ::SetDlgItemTextW(dialog, id, text.c_str());
}

// --- how far the run has come ---

ProgressFigures FiguresOf(const ProgressWindow& state) {
    const RunProgress& progress = state.shared.progress;
    ProgressFigures figures;
    if (state.links.packs) {
        const ArchiveProgress& pack = progress.pack;
        figures.packing = true;
        figures.filesDone = pack.entriesDone.load();
        figures.bytesDone = pack.bytesDone.load();
        if (const std::uint64_t entries = pack.entriesTotal.load(); entries > 0)
            figures.totals = WorkTotals{entries, pack.bytesTotal.load()};
        return figures;
    }
    figures.filesDone = progress.filesDone.load();
    figures.bytesDone = progress.bytesDone.load();
    if (progress.count.load() == CountState::Complete)
        figures.totals = WorkTotals{progress.filesTotal.load(), progress.bytesTotal.load()};
    return figures;
}

bool SameTotals(const WorkTotals& a, const WorkTotals& b) {
    return a.files == b.files && a.bytes == b.bytes;
}

// Adds the present figures to the samples and estimates from them.
std::optional<double> TimeLeft(ProgressWindow& state, const ProgressFigures& figures) {
    if (!figures.totals) return std::nullopt;
    if (!state.sampledTotals || !SameTotals(*state.sampledTotals, *figures.totals)) {
        state.samples.clear();
        state.sampledTotals = figures.totals;
    }
    const double now = static_cast<double>(::GetTickCount64() - state.startTick) / 1000;
    state.samples.push_back({now, figures.filesDone, figures.bytesDone});
    std::erase_if(state.samples,
                  [now](const ProgressSample& sample) { return now - sample.seconds > kKeptSampleSeconds; });
    return EstimateSecondsLeft(state.samples, *figures.totals);
}

// The lines stay empty until a file is done or the totals are known; the bar
// shows once the share is known. At the end the time left goes.
void ShowFigures(HWND dialog, ProgressWindow& state, bool finished) {
    const ProgressFigures figures = FiguresOf(state);
    if (!figures.totals && figures.filesDone == 0 && figures.bytesDone == 0) return;
    const bool japanese = IsJapanese();
    SetTextIfChanged(dialog, IDC_PROGRESS_TOTALS, DoneText(figures, japanese));
    const HWND bar = ::GetDlgItem(dialog, IDC_PROGRESS_BAR);
    const std::optional<int> share = ShareDone(figures);
    std::wstring shareText;
    if (share) {
        shareText = ShareText(*share, finished ? std::nullopt : TimeLeft(state, figures), japanese);
        if (::SendMessageW(bar, PBM_GETPOS, 0, 0) != *share) ::SendMessageW(bar, PBM_SETPOS, *share, 0);
    }
    const bool barShown = (::GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE) != 0;
    if (barShown != share.has_value()) ::ShowWindow(bar, share ? SW_SHOWNA : SW_HIDE);
    SetTextIfChanged(dialog, IDC_PROGRESS_SHARE, shareText);
    if (state.links.trayIcon) state.links.trayIcon->SetTip(TrayTip(finished ? std::wstring() : shareText));
}

// --- the four controls that act like buttons ---

void OnAutoCloseControl(ProgressWindow& state, HWND dialog) {
    if (state.finished) return;
    state.autoCloseNow = !state.autoCloseNow;
    ShowAutoCloseText(dialog, state.autoCloseNow);
}

void OnQuitControl(ProgressWindow& state, HWND control) {
    if (ShowMessage(control, MB_ICONQUESTION | MB_YESNO, kQuitQuestion) != IDYES) return;
    if (const HWND main = state.links.mainWindow->load()) ::DestroyWindow(main);
}

void OnCancelControl(ProgressWindow& state, HWND dialog) {
    switch (CancelEffectFor(state.finished, state.shared.listWriting.load())) {
        case CancelEffect::CloseWindow:
            ::SendMessageW(dialog, WM_CLOSE, 0, 0);
            break;
        case CancelEffect::StopList:
            state.shared.listAbortRequested = true;
            state.shared.listFailed = true;
            break;
        case CancelEffect::StopRun:
            state.shared.copyCancelRequested = true;
            break;
    }
}

void ActOnControl(ProgressWindow& state, HWND control) {
    const HWND dialog = ::GetParent(control);
    switch (::GetDlgCtrlID(control)) {
        case IDC_PROGRESS_AUTO_CLOSE:
            OnAutoCloseControl(state, dialog);
            break;
        case IDC_PROGRESS_MINIMIZE:
            ::ShowWindow(dialog, SW_HIDE);
            break;
        case IDC_PROGRESS_QUIT:
            OnQuitControl(state, control);
            break;
        case IDC_PROGRESS_CANCEL:
            OnCancelControl(state, dialog);
            break;
    }
}

LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto& state = *reinterpret_cast<ProgressWindow*>(data);
    switch (message) {
        case WM_LBUTTONDOWN:
            ActOnControl(state, control);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_SPACE) ActOnControl(state, control);
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

void OnInitDialog(HWND dialog, ProgressWindow& state) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    *state.links.window = dialog;
    ::SetWindowLongPtrW(dialog, GWL_EXSTYLE, ::GetWindowLongPtrW(dialog, GWL_EXSTYLE) | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(dialog, 0, kAlpha, LWA_ALPHA);
    ::SetTimer(dialog, kShowTimer, kShowDelayMs, nullptr);
    ::SetTimer(dialog, kRefreshTimer, kRefreshMs, nullptr);
    RaiseWithoutStayingOnTop(dialog);
    ::SetForegroundWindow(dialog);
    for (const int id : kHandledControls)
        ::SetWindowSubclass(::GetDlgItem(dialog, id), ControlProc, kControlSubclassId,
                            reinterpret_cast<DWORD_PTR>(&state));
    ShowAutoCloseText(dialog, state.autoCloseNow);
    ::SendMessageW(::GetDlgItem(dialog, IDC_PROGRESS_BAR), PBM_SETRANGE32, 0, kShareRange);
    ::ShowWindow(::GetDlgItem(dialog, IDC_PROGRESS_BAR), SW_HIDE);
    ::SetTimer(dialog, kFiguresTimer, kFiguresMs, nullptr);
    state.shared.statusItemText.Clear();
    state.shared.statusProgressText.Clear();
    ::ShowWindow(::GetDlgItem(dialog, IDC_PROGRESS_RESULT), SW_HIDE);
}

void ShowOutcome(HWND dialog, ProgressWindow& state, int runState) {
    ::KillTimer(dialog, kFiguresTimer);
    ShowFigures(dialog, state, true);
    ::ShowWindow(dialog, SW_SHOW);
    ::SetWindowPos(dialog, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_WAIT, L"");
    ::ShowWindow(::GetDlgItem(dialog, IDC_PROGRESS_ITEM), SW_HIDE);
    ::ShowWindow(::GetDlgItem(dialog, IDC_PROGRESS_BYTES), SW_HIDE);
    const std::wstring result(
        ResultText(runState, state.shared.listFailed.load(), state.links.dirTree, state.shared.verified.load()));
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_RESULT, result.c_str());
    ::ShowWindow(::GetDlgItem(dialog, IDC_PROGRESS_RESULT), SW_SHOW);
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_BYTES, L"");
    ::InvalidateRect(dialog, nullptr, TRUE);
}

void FinishOnce(HWND dialog, ProgressWindow& state, int runState) {
    if (state.finished || !IsFinalState(runState)) return;
    if (const FinishBehaviour finish = FinishBehaviourFor(runState, state.autoCloseNow); finish.closesItself) {
        ::SetTimer(dialog, kAutoCloseTimer, static_cast<UINT>(finish.delayMs), nullptr);
        ::ShowWindow(::GetDlgItem(dialog, IDC_PROGRESS_CANCEL), SW_HIDE);
    } else {
        ::SetDlgItemTextW(dialog, IDC_PROGRESS_CANCEL, L"Close");
    }
    state.finished = true;
}

void OnTimer(HWND dialog, ProgressWindow& state, UINT_PTR timer) {
    const int runState = state.shared.runState.load();
    switch (timer) {
        case kShowTimer:
            ::KillTimer(dialog, kShowTimer);
            ::ShowWindow(dialog, SW_SHOWNORMAL);
            break;
        case kRefreshTimer:
            if (IsFinalState(runState)) {
                ::KillTimer(dialog, kRefreshTimer);
                ShowOutcome(dialog, state, runState);
            } else {
                SetTextIfChanged(dialog, IDC_PROGRESS_ITEM, state.itemShown, state.shared.statusItemText.Get());
                SetTextIfChanged(dialog, IDC_PROGRESS_BYTES, state.bytesShown, state.shared.statusProgressText.Get());
            }
            break;
        case kFiguresTimer:
            ShowFigures(dialog, state, false);
            break;
        case kAutoCloseTimer:
            ::KillTimer(dialog, kRefreshTimer);
            ::KillTimer(dialog, kAutoCloseTimer);
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
    }
    FinishOnce(dialog, state, runState);
}

// The tooltip shows the first source, then "<first> ..." once there are more.
void OnSourcesChanged(HWND dialog, ProgressWindow& state) {
    const std::wstring label = state.shared.sourceNamesText.Get();
    ::SetDlgItemTextW(dialog, IDC_PROGRESS_SOURCES, label.c_str());
    if (!state.links.tooltip) return;
    std::wstring tip = state.shared.sourceTipText.Get();
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = 1;
    ::GetClientRect(dialog, &tool.rect);
    tool.lpszText = tip.data();
    ::SendMessageW(state.links.tooltip, state.tooltipRegistered ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
                   reinterpret_cast<LPARAM>(&tool));
    state.tooltipRegistered = true;
}

void OnPaint(HWND dialog, const ProgressWindow& state) {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(dialog, &paint);
    RECT client;
    ::GetClientRect(dialog, &client);
    ::FillRect(dc, &client, state.brushes.For(state.shared.runState.load(), false));
    ::EndPaint(dialog, &paint);
}

INT_PTR OnControlColour(const ProgressWindow& state, HDC dc, HWND control) {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    const bool cancel = ::GetDlgCtrlID(control) == IDC_PROGRESS_CANCEL;
    return reinterpret_cast<INT_PTR>(state.brushes.For(state.shared.runState.load(), cancel));
}

void OnDestroy(ProgressWindow& state) {
    *state.links.window = nullptr;
    if (const HWND main = state.links.mainWindow->load()) ::DestroyWindow(main);
}

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        OnInitDialog(dialog, *reinterpret_cast<ProgressWindow*>(lParam));
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        delete StateOf(dialog);
        ::SetWindowLongPtrW(dialog, DWLP_USER, 0);
        return FALSE;
    }
    ProgressWindow* state = StateOf(dialog);
    if (!state) return FALSE;
    switch (message) {
        case WM_TIMER:
            OnTimer(dialog, *state, wParam);
            return TRUE;
        case kSourcesChangedMessage:
            OnSourcesChanged(dialog, *state);
            return TRUE;
        case WM_PAINT:
            OnPaint(dialog, *state);
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return OnControlColour(*state, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
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
            OnDestroy(*state);
            return TRUE;
    }
    return FALSE;
}

}  // namespace

HWND CreateProgressWindow(const ProgressWindowLinks& links) {
    // From WM_INITDIALOG on the window owns its state (it never destroys
    // itself while being created).
    auto state = std::make_unique<ProgressWindow>(links);
    const HWND window = ::CreateDialogParamW(links.instance, MAKEINTRESOURCEW(IDD_PROGRESS), nullptr,
                                             ProgressDialogProc, reinterpret_cast<LPARAM>(state.get()));
    if (window) state.release();
    return window;
}
