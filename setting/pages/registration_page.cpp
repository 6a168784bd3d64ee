#include "registration_page.h"

#include <commctrl.h>

#include <array>

#include "dpi.h"
#include "page_controls.h"
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

constexpr std::array<int, 3> kTrackbars = {IDC_REG_SEND_TO_TRACK, IDC_REG_CONTEXT_MENU_TRACK, IDC_REG_DESKTOP_TRACK};

// Each trackbar runs Off (0), unchanged (1), On (2) and starts unchanged.
void SetUpTrackbars(HWND page) {
    for (const int id : kTrackbars) {
        ::SendDlgItemMessageW(page, id, TBM_SETRANGE, FALSE, MAKELPARAM(0, 2));
        ::SendDlgItemMessageW(page, id, TBM_SETTICFREQ, 1, 0);
        ::SendDlgItemMessageW(page, id, TBM_SETPAGESIZE, 0, 1);
        ::SendDlgItemMessageW(page, id, TBM_SETPOS, TRUE, 1);
    }
}

INT_PTR OnInitDialog(HWND page) {
    const Settings& settings = App().settings;
    SetUpTrackbars(page);
    SetControlText(page, IDC_REG_RESULT, L"");
    SetChecked(page, IDC_REG_START_SETTING, settings.StartSetting == 1);
    SetChecked(page, IDC_REG_AUTO_CLOSE, settings.AutoClose == 1);
    UpdateRegistrationIcon(page);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK RegistrationPageProc(HWND page, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page);
        case WM_DESTROY:
            ReleaseRegistrationIcon();
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
}
