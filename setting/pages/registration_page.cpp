#include "registration_page.h"

#include <commctrl.h>

#include <array>

#include "context_menu_keys.h"
#include "dpi.h"
#include "page_controls.h"
#include "registration_run.h"
#include "resource.h"
#include "setting_app.h"

namespace {

constexpr std::array<ControlCaption, 8> kTexts = {{
    {IDC_REG_GROUP, {L"登録/解除設定", L"Regist/Unset"}},
    {IDC_REG_SEND_TO_TITLE, {L"送る", L"Sendto"}},
    {IDC_REG_CONTEXT_MENU_TITLE, {L"コンテキストメニュー", L"Contextmenu"}},
    {IDC_REG_DESKTOP_TITLE, {L"デスクトップ", L"Desktop"}},
    {IDC_REG_PROGRAM_NAME, {L"VaroSelect - 選択してコピー(&C)", L"Va&roSelect - Copy Select"}},
    {IDC_REG_EXECUTE, {L"実行(&E)", L"&Execute"}},
    {IDC_REG_START_SETTING, {L"コピー前にVaroSettingを起動する(&X)", L"&To start VaroSetting before copy process"}},
    {IDC_REG_AUTO_CLOSE, {L"結果画面を自動的に閉じる(&A)", L"&Automatically close the result dialog"}},
}};

// The controls of one target, in the order of RegistrationTarget.
struct TargetControls {
    int trackbar;
    int offCell;  // result cell under "Off"
    int onCell;   // result cell under "On"
};
constexpr std::array<TargetControls, kTargetCount> kTargetControls = {{
    {IDC_REG_SEND_TO_TRACK, IDC_REG_SEND_TO_OFF, IDC_REG_SEND_TO_ON},
    {IDC_REG_CONTEXT_MENU_TRACK, IDC_REG_CONTEXT_MENU_OFF, IDC_REG_CONTEXT_MENU_ON},
    {IDC_REG_DESKTOP_TRACK, IDC_REG_DESKTOP_OFF, IDC_REG_DESKTOP_ON},
}};

constexpr UINT_PTR kExecuteTimer = 1;
// Execute runs when the button has been left alone this long.
constexpr UINT kExecuteDelayMs = 500;
constexpr int kNoTarget = -1;

// What the page keeps from one Execute to the next click or language change.
struct RegistrationState {
    Positions positions{kPositionUnchanged, kPositionUnchanged, kPositionUnchanged};  // read at Execute
    Outcomes outcomes{};
    std::array<ResultCells, kTargetCount> cells{};
    ResultSummary summary = ResultSummary::kNone;
    int detailTarget = kNoTarget;  // the target whose failure details the result line shows
    bool busy = false;             // an Execute is running
    UniqueRegKey machineClasses;   // where the context-menu entries are looked for
};
RegistrationState state;

RegistrationEnv CurrentEnv() {
    const SettingApp& app = App();
    return {app.paths.programFolder, app.paths.instanceSuffix, state.machineClasses.get(), app.mainDialog,
            app.settings.Debug != 0 ? app.paths.debugLog : std::wstring()};
}

// Each trackbar runs Off (0), unchanged (1), On (2) and starts unchanged.
void SetUpTrackbars(HWND page) {
    for (const TargetControls& target : kTargetControls) {
        ::SendDlgItemMessageW(page, target.trackbar, TBM_SETRANGE, FALSE, MAKELPARAM(0, 2));
        ::SendDlgItemMessageW(page, target.trackbar, TBM_SETTICFREQ, 1, 0);
        ::SendDlgItemMessageW(page, target.trackbar, TBM_SETPAGESIZE, 0, 1);
        ::SendDlgItemMessageW(page, target.trackbar, TBM_SETPOS, TRUE, kPositionUnchanged);
    }
}

Positions ReadPositions(HWND page) {
    Positions positions{};
    for (int i = 0; i < kTargetCount; ++i)
        positions[i] = static_cast<int>(::SendDlgItemMessageW(page, kTargetControls[i].trackbar, TBM_GETPOS, 0, 0));
    return positions;
}

void ShowCells(HWND page) {
    for (int i = 0; i < kTargetCount; ++i) {
        SetControlText(page, kTargetControls[i].offCell, state.cells[i].off);
        SetControlText(page, kTargetControls[i].onCell, state.cells[i].on);
    }
}

void ShowCurrentState(HWND page) {
    const auto checks = CheckTargets(CurrentEnv());
    for (int i = 0; i < kTargetCount; ++i) state.cells[i] = CurrentStateCells(checks[i]);
    ShowCells(page);
}

// The failure details when a cell asked for them, else the summary, in the
// current language.
void ShowResultLine(HWND page) {
    const std::wstring line = state.detailTarget == kNoTarget
                                  ? std::wstring(ResultText(state.summary))
                                  : FailureDetails(state.outcomes[state.detailTarget].failure);
    SetControlText(page, IDC_REG_RESULT, line);
}

void RunExecute(HWND page) {
    state.summary = ResultSummary::kNone;
    state.detailTarget = kNoTarget;
    SetControlText(page, IDC_REG_RESULT, L"");
    ShowCurrentState(page);

    state.positions = ReadPositions(page);
    state.outcomes = ExecuteRegistration(state.positions, RealRegistrationSteps(CurrentEnv()));
    for (int i = 0; i < kTargetCount; ++i)
        state.cells[i] = OutcomeCells(state.positions[i], state.outcomes[i].status, state.cells[i]);
    ShowCells(page);
    state.summary = Summarize(state.positions, state.outcomes);
    ShowResultLine(page);
}

INT_PTR OnInitDialog(HWND page) {
    const Settings& settings = App().settings;
    SetUpTrackbars(page);
    state = RegistrationState{};
    state.machineClasses = OpenMachineClasses(KEY_READ);
    ShowCurrentState(page);
    SetControlText(page, IDC_REG_RESULT, L"");
    SetChecked(page, IDC_REG_START_SETTING, settings.StartSetting == 1);
    SetChecked(page, IDC_REG_AUTO_CLOSE, settings.AutoClose == 1);
    UpdateRegistrationIcon(page);
    return TRUE;
}

// Pressing Execute again within the delay only restarts the timer.
void OnExecutePressed(HWND page) {
    ::SetTimer(page, kExecuteTimer, kExecuteDelayMs, nullptr);
}

void OnTimer(HWND page, UINT_PTR timer) {
    if (timer != kExecuteTimer) return;
    ::KillTimer(page, kExecuteTimer);
    // Starting the helper and waiting for it may dispatch messages: a second
    // timer must not start a second Execute inside the first.
    if (state.busy) return;
    state.busy = true;
    RunExecute(page);
    state.busy = false;
}

// A click on "NG" under the chosen end shows that target's failure details.
void OnCellClicked(HWND page, int cellId) {
    for (int i = 0; i < kTargetCount; ++i) {
        const bool onEnd = cellId == kTargetControls[i].onCell;
        if (cellId != kTargetControls[i].offCell && !onEnd) continue;
        if (!CellOpensDetails(state.positions[i], state.outcomes[i].status, onEnd)) return;
        state.detailTarget = i;
        ShowResultLine(page);
        return;
    }
}

INT_PTR OnCommand(HWND page, int id, int code) {
    if (id == IDC_REG_EXECUTE && code == BN_CLICKED) {
        OnExecutePressed(page);
        return TRUE;
    }
    if (code == STN_CLICKED) {
        OnCellClicked(page, id);
        return TRUE;
    }
    return FALSE;
}

// Changing the context menu needs administrator rights: Execute shows the shield.
void OnTrackbarMoved(HWND page, HWND trackbar) {
    if (trackbar != ::GetDlgItem(page, IDC_REG_CONTEXT_MENU_TRACK)) return;
    const int position = static_cast<int>(::SendMessageW(trackbar, TBM_GETPOS, 0, 0));
    ::SendDlgItemMessageW(page, IDC_REG_EXECUTE, BCM_SETSHIELD, 0, ExecuteNeedsShield(position) ? TRUE : FALSE);
}

void OnDestroy(HWND page) {
    ::KillTimer(page, kExecuteTimer);
    ReleaseRegistrationIcon();
}

}  // namespace

INT_PTR CALLBACK RegistrationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page);
        case WM_COMMAND:
            return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
        case WM_TIMER:
            OnTimer(page, wParam);
            return TRUE;
        case WM_HSCROLL:
            OnTrackbarMoved(page, reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_DESTROY:
            OnDestroy(page);
            return FALSE;
        default:
            return FALSE;
    }
}

void ReadRegistrationPage(HWND page, Settings& settings) {
    settings.StartSetting = IsChecked(page, IDC_REG_START_SETTING) ? 1 : 0;
    settings.AutoClose = IsChecked(page, IDC_REG_AUTO_CLOSE) ? 1 : 0;
}

void SetRegistrationPageTexts(HWND page) {
    SetControlTexts(page, kTexts);
    ShowResultLine(page);
}
