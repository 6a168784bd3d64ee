#include "conditions_page.h"

#include <array>
#include <vector>

#include "format.h"
#include "page_controls.h"
#include "resource.h"
#include "main_dialog.h"
#include "setting_app.h"

namespace {

constexpr std::size_t kConditionChars = kConditionCapacity - 1;  // 8196
constexpr std::size_t kDateChars = kDateTextCapacity - 1;        // 255

// Items of the date list: none, range, today, 1-31 days, 2-11 months, 1-5 years.
constexpr int kDaysFirstItem = 2;
constexpr int kMonthsFirstItem = 34;
constexpr int kYearsFirstItem = 44;
constexpr int kDateItemCount = 49;
constexpr int kMaxDays = 31;
constexpr int kFirstMonths = 2;
constexpr int kMaxMonths = 11;
constexpr int kMaxYears = 5;

constexpr std::array<ControlCaption, 11> kTexts = {{
    {IDC_COND_SELECT, {L"ファイルコピーを有効にする(&O)", L"To enable the file c&opy"}},
    {IDC_COND_GROUP, {L"ファイル選択条件", L"File selection"}},
    {IDC_COND_HINT,
     {L"選択条件が複数ある場合は : で区切って下さい。ワイルドカード * が使用できます。",
      L"Delimiter is : , Wild card is *."}},
    {IDC_COND_EXAMPLE, {L"(例) *.txt : *.xls* : file*.docx", L"e.g. *.txt : *.xls* : file*.docx"}},
    {IDC_COND_MODE_TARGET, {L"対象(&S):", L"&Target:"}},
    {IDC_COND_MODE_NO_TARGET, {L"対象外(&N):", L"E&xclud:"}},
    {IDC_COND_MODE_NONE, {L"指定なし(&I)", L"&No designation"}},
    {IDC_COND_EX_NO_TARGET_LABEL, {L"例外、対象外(&G):", L"Exce&ption,Exclud:"}},
    {IDC_COND_EX_TARGET_LABEL, {L"例外、対象(&T):", L"Except&ion,Target:"}},
    {IDC_COND_ORGANIZE, {L"履歴の整理(&H)...", L"Or&ganize the history..."}},
    {IDC_COND_DATE_LABEL, {L"ファイル更新日(&U):", L"File &update date:"}},
}};

constexpr MessagePair kEmptyDirWhenSelecting = {L"コピーするファイルが無かった場合はフォルダをコピーしない(&E)",
                                                L"If there is no file to be copied, do not copy the &folder"};
constexpr MessagePair kEmptyDirWhenNotSelecting = {L"コピー元が空フォルダの場合はフォルダをコピーしない(&E)",
                                                   L"If the copy source is an empty folder, do not copy the &folder"};

struct ConditionField {
    int id;
    std::wstring Settings::*text;
    History Settings::*history;
};
constexpr std::array<ConditionField, 4> kConditionFields = {{
    {IDC_COND_TARGET, &Settings::TargetFile, &Settings::TargetFileHis},
    {IDC_COND_EX_NO_TARGET, &Settings::ExNoTargetFile, &Settings::ExNoTargetFileHis},
    {IDC_COND_NO_TARGET, &Settings::NoTargetFile, &Settings::NoTargetFileHis},
    {IDC_COND_EX_TARGET, &Settings::ExTargetFile, &Settings::ExTargetFileHis},
}};

constexpr std::array<int, 3> kModeIds = {IDC_COND_MODE_TARGET, IDC_COND_MODE_NO_TARGET, IDC_COND_MODE_NONE};

std::wstring DateItemText(int item, bool japanese) {
    if (item == 0) return L"";
    if (item == 1) return japanese ? L"範囲指定" : L"Range";
    if (item == kDaysFirstItem) return japanese ? L"当日" : L"Today";
    if (item < kMonthsFirstItem) {
        const int days = item - kDaysFirstItem;
        return FormatText(japanese ? L"%d日前まで" : (days == 1 ? L"%d day ago" : L"%d days ago"), {days});
    }
    if (item < kYearsFirstItem)
        return FormatText(japanese ? L"%dヶ月前まで" : L"%d months ago", {item - kMonthsFirstItem + kFirstMonths});
    const int years = item - kYearsFirstItem + 1;
    return FormatText(japanese ? L"%d年前まで" : (years == 1 ? L"%d year ago" : L"%d years ago"), {years});
}

void RefillDateList(HWND page) {
    std::vector<std::wstring> japanese, english;
    for (int item = 0; item < kDateItemCount; ++item) {
        japanese.push_back(DateItemText(item, true));
        english.push_back(DateItemText(item, false));
    }
    std::vector<MessagePair> items;
    for (int item = 0; item < kDateItemCount; ++item) items.push_back({japanese[item], english[item]});
    RefillList(page, IDC_COND_DATE_LIST, items);
}

INT_PTR OnInitDialog(HWND page) {
    const Settings& settings = App().settings;
    SetChecked(page, IDC_COND_SELECT, settings.Select == 1);
    const int mode = settings.SelectMode == 0 || settings.SelectMode == 1 ? settings.SelectMode : 2;
    ::CheckRadioButton(page, IDC_COND_MODE_TARGET, IDC_COND_MODE_NONE, kModeIds[mode]);
    for (const ConditionField& field : kConditionFields)
        FillHistoryCombo(page, field.id, settings.*field.history, settings.*field.text, kConditionChars);
    RefillDateList(page);
    SelectListItem(page, IDC_COND_DATE_LIST, DateListItem({settings.UpdateDateType, settings.UpdateDateVal}));
    ::SendDlgItemMessageW(page, IDC_COND_DATE_START, EM_LIMITTEXT, kDateChars, 0);
    ::SendDlgItemMessageW(page, IDC_COND_DATE_END, EM_LIMITTEXT, kDateChars, 0);
    SetControlText(page, IDC_COND_DATE_START, settings.UpdateDateStr);
    SetControlText(page, IDC_COND_DATE_END, settings.UpdateDateEnd);
    SetChecked(page, IDC_COND_EMPTY_DIR, settings.EmptyDirNoCopy == 1);
    return TRUE;
}

// The empty-folder caption follows the copy check box.
INT_PTR OnCommand(int id) {
    if (id != IDC_COND_SELECT) return FALSE;
    SetDialogTexts(DialogTexts::EmptyFolderCaption);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK ConditionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page);
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam));
        default:
            return FALSE;
    }
}

void ReadConditionsPage(HWND page, Settings& settings) {
    settings.Select = IsChecked(page, IDC_COND_SELECT) ? 1 : 0;
    for (std::size_t mode = 0; mode < kModeIds.size(); ++mode)
        if (IsChecked(page, kModeIds[mode])) settings.SelectMode = static_cast<int>(mode);
    for (const ConditionField& field : kConditionFields)
        settings.*field.text = ControlText(page, field.id, kConditionChars);
    const DateCondition date = DateConditionFromItem(ListSelection(page, IDC_COND_DATE_LIST));
    settings.UpdateDateType = date.type;
    settings.UpdateDateVal = date.value;
    settings.UpdateDateStr = ControlText(page, IDC_COND_DATE_START, kDateChars);
    settings.UpdateDateEnd = ControlText(page, IDC_COND_DATE_END, kDateChars);
    settings.EmptyDirNoCopy = IsChecked(page, IDC_COND_EMPTY_DIR) ? 1 : 0;
}

void SetConditionsPageTexts(HWND page) {
    SetControlTexts(page, kTexts);
    RefillDateList(page);
    SetConditionsEmptyDirCaption(page);
}

void SetConditionsEmptyDirCaption(HWND page) {
    const MessagePair& caption = IsChecked(page, IDC_COND_SELECT) ? kEmptyDirWhenSelecting : kEmptyDirWhenNotSelecting;
    SetControlText(page, IDC_COND_EMPTY_DIR, std::wstring(Pick(caption)));
}

DateCondition DateConditionFromItem(int item) {
    if (item == 1) return {1, 0};
    if (item >= kDaysFirstItem && item < kMonthsFirstItem) return {2, item - kDaysFirstItem};
    if (item >= kMonthsFirstItem && item < kYearsFirstItem) return {3, item - kMonthsFirstItem + kFirstMonths};
    if (item >= kYearsFirstItem && item < kDateItemCount) return {4, item - kYearsFirstItem + 1};
    return {0, 0};
}

int DateListItem(DateCondition condition) {
    const int value = condition.value;
    switch (condition.type) {
        case 1:
            return 1;
        case 2:
            return value >= 0 && value <= kMaxDays ? kDaysFirstItem + value : 0;
        case 3:
            return value >= kFirstMonths && value <= kMaxMonths ? kMonthsFirstItem + value - kFirstMonths : 0;
        case 4:
            return value >= 1 && value <= kMaxYears ? kYearsFirstItem + value - 1 : 0;
        default:
            return 0;
    }
}
