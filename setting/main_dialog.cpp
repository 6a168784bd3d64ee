#include "main_dialog.h"

#include <commctrl.h>

#include <array>

#include "checks/confirmation_checks.h"
#include "confirmation.h"
#include "hand_off_answer.h"
#include "link.h"
#include "message_box.h"
#include "paths.h"
#include "pages/conditions_page.h"
#include "pages/copy_to_page.h"
#include "pages/page_controls.h"
#include "pages/page_state.h"
#include "pages/registration_page.h"
#include "resource.h"
#include "setting_window_lock.h"
#include "settings_store.h"
#include "step_trace.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

constexpr int kEnglishItem = 1;
constexpr std::array<const wchar_t*, 2> kLanguageItems = {L"Japanese", L"English"};

constexpr std::array<MessagePair, kPageCount> kTabCaptions = {{
    {L"登録/解除", L"Regist/Unset"},
    {L"コピー先", L"Copy to"},
    {L"コピー条件", L"Conditions to copy"},
}};

struct PageTemplate {
    int templateId;
    DLGPROC procedure;
};
constexpr std::array<PageTemplate, kPageCount> kPageTemplates = {{
    {IDD_REGISTRATION_PAGE, RegistrationPageProc},
    {IDD_COPY_TO_PAGE, CopyToPageProc},
    {IDD_CONDITIONS_PAGE, ConditionsPageProc},
}};

void FillLanguageList(HWND dialog, bool japanese) {
    for (const wchar_t* item : kLanguageItems)
        ::SendDlgItemMessageW(dialog, IDC_MAIN_LANGUAGE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SelectListItem(dialog, IDC_MAIN_LANGUAGE, japanese ? 0 : kEnglishItem);
}

// Inserts the tabs (TCM_INSERTITEMW) or relabels them (TCM_SETITEMW) in the current language.
void PutTabCaptions(HWND tabs, UINT message) {
    for (int index = 0; index < kPageCount; ++index) {
        std::wstring caption(Pick(kTabCaptions[index]));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        ::SendMessageW(tabs, message, index, reinterpret_cast<LPARAM>(&item));
    }
}

// Where the pages go: inside the tab control, below its row(s) of tabs.
POINT PageOrigin(HWND dialog, HWND tabs) {
    const LONG baseUnits = ::GetDialogBaseUnits();
    const int unitX = LOWORD(baseUnits) / 4;
    const int unitY = HIWORD(baseUnits) / 8;
    RECT tab0{};
    ::SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab0));
    const int rows = static_cast<int>(::SendMessageW(tabs, TCM_GETROWCOUNT, 0, 0));
    RECT frame{};
    ::GetWindowRect(tabs, &frame);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&frame), 2);
    return {frame.left + 1 + unitX, frame.top + rows * (tab0.bottom - tab0.top) + 3 * unitY};
}

// Each page gets the application's state at its creation.
void CreatePages(SettingApp& app) {
    const POINT origin = PageOrigin(app.mainDialog, app.tabs);
    for (int index = 0; index < kPageCount; ++index) {
        const PageTemplate& page = kPageTemplates[index];
        app.pages[index] = ::CreateDialogParamW(app.instance, MAKEINTRESOURCEW(page.templateId), app.mainDialog,
                                                page.procedure, reinterpret_cast<LPARAM>(&app));
        ::SetWindowPos(app.pages[index], app.tabs, origin.x, origin.y, 0, 0,
                       SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    }
}

void ShowPage(const SettingApp& app, int shown) {
    for (int index = 0; index < kPageCount; ++index) ::ShowWindow(app.pages[index], index == shown ? SW_SHOW : SW_HIDE);
}

// Tab 2 with selection on opens with the focus in the list the mode uses.
bool FocusConditionField(const SettingApp& app) {
    const Settings& settings = app.settings;
    if (settings.Tab != kConditionsPage || settings.Select != 1) return false;
    if (settings.SelectMode != 0 && settings.SelectMode != 1) return false;
    const int field = settings.SelectMode == 0 ? IDC_COND_TARGET : IDC_COND_NO_TARGET;
    ::SetFocus(::GetDlgItem(app.pages[kConditionsPage], field));
    return true;
}

// Restores a missing varo.ini from the backup, loads it and takes its language.
void LoadSettingsOnOpen(SettingApp& app) {
    SeedSettingsFromBackup(app.paths);
    app.settings =
        LoadAppSettings(app.paths, DefaultSettings(UiLanguageIsJapanese(), GetSpecialFolderPath(kCsidlDocuments)));
    SetJapanese(LangSelectsJapanese(app.settings.Lang));
}

void SetDialogIcons(HWND dialog, HINSTANCE instance) {
    const int small = ::GetSystemMetrics(SM_CXSMICON);
    ::SendMessageW(dialog, WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_VARO_SETTING), IMAGE_ICON,
                                                         small, small, LR_SHARED)));
    ::SendMessageW(dialog, WM_SETICON, ICON_BIG,
                   reinterpret_cast<LPARAM>(::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VARO_SETTING))));
}

// The dialog's state: none before WM_INITDIALOG.
SettingApp* AppOf(HWND dialog) {
    return reinterpret_cast<SettingApp*>(::GetWindowLongPtrW(dialog, DWLP_USER));
}

INT_PTR OnInitDialog(HWND dialog, SettingApp& app) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&app));
    app.mainDialog = dialog;
    MarkSettingWindow(dialog, app.windowName);
    app.tabs = ::GetDlgItem(dialog, IDC_MAIN_TABS);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    SetDialogIcons(dialog, app.instance);
    AttachLink(::GetDlgItem(dialog, IDC_MAIN_LINK));
    if (!app.handOff.handOffMode)
        PlaceOkButton(dialog, ::GetDlgItem(dialog, IDC_MAIN_OK), ::GetDlgItem(dialog, IDC_MAIN_OK_NO_SAVE));

    LoadSettingsOnOpen(app);
    FillLanguageList(dialog, IsJapanese());
    PutTabCaptions(app.tabs, TCM_INSERTITEMW);
    CreatePages(app);

    const int tab = app.settings.Tab >= 0 && app.settings.Tab < kPageCount ? app.settings.Tab : 0;
    ::SendMessageW(app.tabs, TCM_SETCURSEL, tab, 0);
    ShowPage(app, tab);
    return FocusConditionField(app) ? FALSE : TRUE;
}

void SendAnswerIfWaiting(const SettingApp& app, int answer) {
    if (!app.handOff.handOffMode) return;
    if (SendHandOffAnswer(app.handOff.key, answer) != 0 && app.settings.Debug != 0)
        WriteDebugLog(app.paths.debugLog, ThreadFailureLog().trace());
}

// Runs the checks in their order: the notes of replaced dates first, then
// the first failure. False when a check failed; the dialog stays open.
bool ConfirmSettings(HWND dialog, SettingApp& app) {
    Settings& settings = app.settings;
    const ConfirmationResult checked = RunConfirmationChecks(settings, StandardConfirmationHooks());
    ShowCheckedDates(app.pages[kConditionsPage], settings);
    for (const CheckMessage& notice : checked.notices)
        ShowMessageText(dialog, MB_ICONINFORMATION, FormatCheckMessage(notice, IsJapanese()));
    if (!checked.failure) return true;
    ShowMessageText(dialog, MB_ICONERROR, FormatCheckMessage(checked.failure->message, IsJapanese()));
    return false;
}

void OnLeave(HWND dialog, SettingApp& app, LeaveButton button) {
    const LeaveSteps steps{
        [&] {
            ReadPages(app);
            if (!ConfirmSettings(dialog, app)) return false;
            UpdateHistories(app.settings);
            return true;
        },
        [&](bool useTemporary) { return SaveAppSettings(dialog, app.paths, app.settings, useTemporary); },
        // The answer blocks until the copy tool has taken it.
        [&](int answer) { SendAnswerIfWaiting(app, answer); },
    };
    if (LeaveDialog(button, steps)) ::DestroyWindow(dialog);
}

void OnLanguageCommand(HWND dialog, SettingApp& app) {
    const int selected = ListSelection(dialog, IDC_MAIN_LANGUAGE);
    if (selected == app.lastLanguage) return;
    app.lastLanguage = selected;
    SetJapanese(selected != kEnglishItem);
    SetDialogTexts(app);
    // Shorter captions leave the old ones' ends on the tab strip otherwise.
    ::InvalidateRect(app.tabs, nullptr, TRUE);
    for (HWND page : app.pages) ::InvalidateRect(page, nullptr, TRUE);
}

INT_PTR OnCommand(HWND dialog, SettingApp& app, int id) {
    switch (id) {
        case IDC_MAIN_OK:
            OnLeave(dialog, app, LeaveButton::Ok);
            return TRUE;
        case IDC_MAIN_OK_NO_SAVE:
            OnLeave(dialog, app, LeaveButton::OkNoSave);
            return TRUE;
        case IDC_MAIN_CANCEL:
        case IDCANCEL:  // Esc
            OnLeave(dialog, app, LeaveButton::Cancel);
            return TRUE;
        case IDC_MAIN_LANGUAGE:
            OnLanguageCommand(dialog, app);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR OnNotify(SettingApp& app, const NMHDR& header) {
    if (header.idFrom != IDC_MAIN_TABS || header.code != TCN_SELCHANGE) return FALSE;
    app.settings.Tab = static_cast<int>(::SendMessageW(app.tabs, TCM_GETCURSEL, 0, 0));
    ShowPage(app, app.settings.Tab);
    return TRUE;
}

void OnDpiChanged(const SettingApp& app) {
    if (HWND registration = app.pages[kRegistrationPage]) ::SendMessageW(registration, kPageDpiChanged, 0, 0);
}

}  // namespace

HWND CreateMainDialog(SettingApp& app) {
    return ::CreateDialogParamW(app.instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc,
                                reinterpret_cast<LPARAM>(&app));
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    SettingApp* app = AppOf(dialog);
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, *reinterpret_cast<SettingApp*>(lParam));
        case WM_COMMAND:
            return app ? OnCommand(dialog, *app, LOWORD(wParam)) : FALSE;
        case WM_NOTIFY:
            return app ? OnNotify(*app, *reinterpret_cast<const NMHDR*>(lParam)) : FALSE;
        case WM_DPICHANGED:
            if (app) OnDpiChanged(*app);
            return FALSE;
        case WM_CLOSE:
            ::PostMessageW(dialog, WM_COMMAND, IDC_MAIN_CANCEL, 0);
            return TRUE;
        case WM_DESTROY:
            if (app) UnmarkSettingWindow(dialog, app->windowName);
            ::PostQuitMessage(0);
            return TRUE;
        default:
            return FALSE;
    }
}

void PlaceOkButton(HWND mainDialog, HWND okButton, HWND noSaveButton) {
    RECT place{};
    ::GetWindowRect(noSaveButton, &place);
    ::MapWindowPoints(nullptr, mainDialog, reinterpret_cast<POINT*>(&place), 2);
    ::ShowWindow(noSaveButton, SW_HIDE);
    ::MoveWindow(okButton, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
}

void ReadPages(SettingApp& app) {
    app.settings.Lang = ListSelection(app.mainDialog, IDC_MAIN_LANGUAGE) == kEnglishItem ? L"en" : L"ja";
    ReadRegistrationPage(app.pages[kRegistrationPage], app.settings);
    ReadCopyToPage(app.pages[kCopyToPage], app.settings);
    ReadConditionsPage(app.pages[kConditionsPage], app.settings);
}

void SetDialogTexts(const SettingApp& app) {
    PutTabCaptions(app.tabs, TCM_SETITEMW);
    for (HWND page : app.pages) ::SendMessageW(page, kPageLanguageChanged, 0, 0);
}
