#include "registration_page.h"

#include <commctrl.h>

#include <array>
#include <memory>

#include "context_menu_keys.h"
#include "page_controls.h"
#include "page_state.h"
#include "registration_icon.h"
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
// Posted by the context-menu job when the helper's exchange has ended.
constexpr UINT kExchangeDone = WM_APP + 10;

// What the page keeps from one Execute to the next click or language change.
struct RegistrationPage {
    explicit RegistrationPage(const SettingApp& owner) : app(owner) {}

    const SettingApp& app;
    Positions positions{kPositionUnchanged, kPositionUnchanged, kPositionUnchanged};  // read at Execute
    Outcomes outcomes{};
    std::array<ResultCells, kTargetCount> cells{};
    ResultSummary summary = ResultSummary::kNone;
    int detailTarget = kNoTarget;  // the target whose failure details the result line shows
    UniqueRegKey machineClasses;   // where the context-menu entries are looked for
    RegistrationIcon icon;
    // The exchange with the helper while it runs: Execute is disabled meanwhile.
    std::unique_ptr<ContextMenuJob> job;
};

RegistrationEnv EnvOf(const RegistrationPage& state) {
    const SettingApp& app = state.app;
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

void ShowCells(HWND page, const RegistrationPage& state) {
    for (int i = 0; i < kTargetCount; ++i) {
        SetControlText(page, kTargetControls[i].offCell, state.cells[i].off);
        SetControlText(page, kTargetControls[i].onCell, state.cells[i].on);
    }
}

void ShowCurrentState(HWND page, RegistrationPage& state) {
    const auto checks = CheckTargets(EnvOf(state));
    for (int i = 0; i < kTargetCount; ++i) state.cells[i] = CurrentStateCells(checks[i]);
    ShowCells(page, state);
}

// The failure details when a cell asked for them, else the summary (the
// wait for the helper while it runs), in the current language.
void ShowResultLine(HWND page, const RegistrationPage& state) {
    const std::wstring line = state.detailTarget == kNoTarget
                                  ? std::wstring(ResultText(state.summary))
                                  : FailureDetails(state.outcomes[state.detailTarget].failure);
    SetControlText(page, IDC_REG_RESULT, line);
}

// The outcomes are all in: the cells and the result line show them.
void FinishExecute(HWND page, RegistrationPage& state) {
    for (int i = 0; i < kTargetCount; ++i)
        state.cells[i] = OutcomeCells(state.positions[i], state.outcomes[i].status, state.cells[i]);
    ShowCells(page, state);
    state.summary = Summarize(state.positions, state.outcomes);
    ShowResultLine(page, state);
    ::EnableWindow(::GetDlgItem(page, IDC_REG_EXECUTE), TRUE);
}

// The shortcuts change here at once; the context menu changes through the
// helper on the job's thread, which reports back with kExchangeDone.
void RunExecute(HWND page, RegistrationPage& state) {
    state.summary = ResultSummary::kNone;
    state.detailTarget = kNoTarget;
    SetControlText(page, IDC_REG_RESULT, L"");
    ShowCurrentState(page, state);

    const RegistrationEnv env = EnvOf(state);
    state.positions = ReadPositions(page);
    state.outcomes = ExecuteShortcuts(state.positions, RealShortcutStep(env));
    const int request = state.positions[kTargetContextMenu];
    if (!PositionChanges(request)) return FinishExecute(page, state);
    ::EnableWindow(::GetDlgItem(page, IDC_REG_EXECUTE), FALSE);
    state.summary = ResultSummary::kWaiting;
    ShowResultLine(page, state);
    state.job =
        std::make_unique<ContextMenuJob>(ContextMenuExchangeFor(env, IsJapanese(), request), page, kExchangeDone);
}

void OnExchangeDone(HWND page, RegistrationPage& state) {
    if (!state.job) return;
    state.outcomes[kTargetContextMenu] = OutcomeOfAnswer(state.job->Answer());
    state.job.reset();
    FinishExecute(page, state);
}

void SetTexts(HWND page, const RegistrationPage& state) {
    SetControlTexts(page, kTexts);
    ShowResultLine(page, state);
}

INT_PTR OnInitDialog(HWND page, const SettingApp& app) {
    RegistrationPage& state = KeepPageState(page, std::make_unique<RegistrationPage>(app));
    state.machineClasses = OpenMachineClasses(KEY_READ);
    SetUpTrackbars(page);
    ShowCurrentState(page, state);
    SetControlText(page, IDC_REG_RESULT, L"");
    SetChecked(page, IDC_REG_START_SETTING, app.settings.StartSetting == 1);
    SetChecked(page, IDC_REG_AUTO_CLOSE, app.settings.AutoClose == 1);
    state.icon.Update(page);
    SetTexts(page, state);
    return TRUE;
}

// Pressing Execute again within the delay only restarts the timer.
void OnExecutePressed(HWND page) {
    ::SetTimer(page, kExecuteTimer, kExecuteDelayMs, nullptr);
}

void OnTimer(HWND page, RegistrationPage& state, UINT_PTR timer) {
    if (timer != kExecuteTimer) return;
    ::KillTimer(page, kExecuteTimer);
    // A click that reached the page before Execute was disabled starts nothing.
    if (state.job) return;
    RunExecute(page, state);
}

// A click on "NG" under the chosen end shows that target's failure details.
void OnCellClicked(HWND page, RegistrationPage& state, int cellId) {
    if (state.job) return;  // the cells show the last Execute's results only after it has ended
    for (int i = 0; i < kTargetCount; ++i) {
        const bool onEnd = cellId == kTargetControls[i].onCell;
        if (cellId != kTargetControls[i].offCell && !onEnd) continue;
        if (!CellOpensDetails(state.positions[i], state.outcomes[i].status, onEnd)) return;
        state.detailTarget = i;
        ShowResultLine(page, state);
        return;
    }
}

INT_PTR OnCommand(HWND page, RegistrationPage& state, int id, int code) {
    if (id == IDC_REG_EXECUTE && code == BN_CLICKED) {
        OnExecutePressed(page);
        return TRUE;
    }
    if (code == STN_CLICKED) {
        OnCellClicked(page, state, id);
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

// A job that still runs stops waiting; the helper finishes its change and
// ends by itself once it finds nobody to answer.
void OnDestroy(HWND page) {
    ::KillTimer(page, kExecuteTimer);
    FreePageState<RegistrationPage>(page);
}

}  // namespace

INT_PTR CALLBACK RegistrationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    RegistrationPage* state = PageState<RegistrationPage>(page);
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page, *reinterpret_cast<const SettingApp*>(lParam));
        case WM_COMMAND:
            return state ? OnCommand(page, *state, LOWORD(wParam), HIWORD(wParam)) : FALSE;
        case WM_TIMER:
            if (state) OnTimer(page, *state, wParam);
            return TRUE;
        case WM_HSCROLL:
            OnTrackbarMoved(page, reinterpret_cast<HWND>(lParam));
            return TRUE;
        case kExchangeDone:
            if (state) OnExchangeDone(page, *state);
            return TRUE;
        case kPageLanguageChanged:
            if (state) SetTexts(page, *state);
            return TRUE;
        case kPageDpiChanged:
            if (state) state->icon.Update(page);
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
