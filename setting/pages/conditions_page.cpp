#include "conditions_page.h"

#include <array>
#include <memory>
#include <vector>

#include "drop_names/drop_names_dialog.h"
#include "history_organiser/history_organiser_dialog.h"
#include "page_controls.h"
#include "page_state.h"
#include "pages/conditions_dates.h"
#include "pages/conditions_rules.h"
#include "resource.h"
#include "setting_app.h"

namespace {

constexpr std::size_t kConditionChars = kConditionCapacity - 1;  // 8196
constexpr std::size_t kDateChars = kDateTextCapacity - 1;        // 255

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

struct ConditionField {
    int id;
    std::wstring Settings::*text;
    History Settings::*history;
};
// In the order of the history slots, the "..." buttons and the organiser's selector.
constexpr std::array<ConditionField, kConditionCombos> kConditionFields = {{
    {IDC_COND_TARGET, &Settings::TargetFile, &Settings::TargetFileHis},
    {IDC_COND_EX_NO_TARGET, &Settings::ExNoTargetFile, &Settings::ExNoTargetFileHis},
    {IDC_COND_NO_TARGET, &Settings::NoTargetFile, &Settings::NoTargetFileHis},
    {IDC_COND_EX_TARGET, &Settings::ExTargetFile, &Settings::ExTargetFileHis},
}};
constexpr std::array<int, kConditionCombos> kDropButtons = {IDC_COND_TARGET_DROP, IDC_COND_EX_NO_TARGET_DROP,
                                                            IDC_COND_NO_TARGET_DROP, IDC_COND_EX_TARGET_DROP};

constexpr std::array<int, 3> kModeIds = {IDC_COND_MODE_TARGET, IDC_COND_MODE_NO_TARGET, IDC_COND_MODE_NONE};

// Enabled with the copy check box, whatever the mode.
constexpr std::array<int, 17> kSelectionControls = {IDC_COND_HINT,
                                                    IDC_COND_EXAMPLE,
                                                    IDC_COND_GROUP,
                                                    IDC_COND_AND,
                                                    IDC_COND_ORGANIZE,
                                                    IDC_COND_MODE_TARGET,
                                                    IDC_COND_EX_NO_TARGET_LABEL,
                                                    IDC_COND_MODE_NO_TARGET,
                                                    IDC_COND_EX_TARGET_LABEL,
                                                    IDC_COND_MODE_NONE,
                                                    IDC_COND_DATE_LABEL,
                                                    IDC_COND_DATE_LIST,
                                                    IDC_COND_DATE_START,
                                                    IDC_COND_DATE_DASH,
                                                    IDC_COND_DATE_END,
                                                    IDC_COND_DATE_FORMAT,
                                                    IDC_COND_DATE_SHOWN};
constexpr std::array<int, 4> kTargetControls = {IDC_COND_TARGET, IDC_COND_EX_NO_TARGET, IDC_COND_TARGET_DROP,
                                                IDC_COND_EX_NO_TARGET_DROP};
constexpr std::array<int, 4> kExcludeControls = {IDC_COND_NO_TARGET, IDC_COND_EX_TARGET, IDC_COND_NO_TARGET_DROP,
                                                 IDC_COND_EX_TARGET_DROP};
constexpr std::array<int, 4> kRangeControls = {IDC_COND_DATE_START, IDC_COND_DATE_DASH, IDC_COND_DATE_END,
                                               IDC_COND_DATE_FORMAT};

constexpr std::array<int, 6> kDefaultFontIds = {IDC_COND_TARGET,    IDC_COND_EX_NO_TARGET, IDC_COND_NO_TARGET,
                                                IDC_COND_EX_TARGET, IDC_COND_DATE_START,   IDC_COND_DATE_END};

struct ConditionsPage {
    explicit ConditionsPage(SettingApp& owner) : app(owner) {}

    SettingApp& app;
    // The condition history last used: the organiser opens on it.
    ConditionHistorySelection historySelection = kNoConditionSelection;
    // The field the drag-and-drop dialog works on (0 while it is closed).
    int dragDropTarget = 0;
};

void RefillDateList(HWND page) {
    std::vector<MessagePair> items;
    std::vector<std::wstring> texts;
    texts.reserve(2 * kDateItemCount);  // the pairs point into these texts
    for (int item = 0; item < kDateItemCount; ++item) {
        texts.push_back(DateItemText(item, true));
        texts.push_back(DateItemText(item, false));
        items.push_back({texts[texts.size() - 2], texts.back()});
    }
    RefillList(page, IDC_COND_DATE_LIST, items);
}

int CheckedRadio(HWND page) {
    for (std::size_t mode = 0; mode < kModeIds.size(); ++mode)
        if (IsChecked(page, kModeIds[mode])) return static_cast<int>(mode);
    return kSelectNone;
}

void ApplyEnabling(HWND page) {
    const ConditionsEnabling enabling = ConditionsEnablingFor(IsChecked(page, IDC_COND_SELECT), CheckedRadio(page));
    EnableControls(page, kSelectionControls, enabling.selection);
    EnableControls(page, kTargetControls, enabling.targetLists);
    EnableControls(page, kExcludeControls, enabling.excludeLists);
}

void ShowControls(HWND page, std::span<const int> ids, bool shown) {
    for (int id : ids) ::ShowWindow(::GetDlgItem(page, id), shown ? SW_SHOW : SW_HIDE);
}

// The date edits for a range, else the first day of the chosen period.
void ShowDateDisplay(HWND page) {
    const DateDisplay display = DateDisplayFor(ListSelection(page, IDC_COND_DATE_LIST), LocalToday());
    ShowControls(page, kRangeControls, display.rangeEdits);
    SetControlText(page, IDC_COND_DATE_SHOWN, display.label);
    ShowControls(page, std::array{IDC_COND_DATE_SHOWN}, display.startLabel);
}

// The caption of the empty-folder check box, which depends on the copy check box.
void SetEmptyDirCaption(HWND page) {
    SetControlText(page, IDC_COND_EMPTY_DIR, std::wstring(Pick(EmptyFolderCaption(IsChecked(page, IDC_COND_SELECT)))));
}

// Captions and the date list in the current language (the list keeps its selection).
void SetTexts(HWND page) {
    SetControlTexts(page, kTexts);
    RefillDateList(page);
    SetEmptyDirCaption(page);
}

// Refills the four condition lists from the histories, keeping each list's selection.
void RefreshConditionLists(HWND page, const Settings& settings) {
    for (const ConditionField& field : kConditionFields)
        RefillHistoryCombo(page, field.id, settings.*field.history, kConditionChars);
}

INT_PTR OnInitDialog(HWND page, SettingApp& app) {
    KeepPageState(page, std::make_unique<ConditionsPage>(app));
    const Settings& settings = app.settings;
    SetChecked(page, IDC_COND_SELECT, settings.Select == 1);
    const int mode = settings.SelectMode == 0 || settings.SelectMode == 1 ? settings.SelectMode : 2;
    ::CheckRadioButton(page, IDC_COND_MODE_TARGET, IDC_COND_MODE_NONE, kModeIds[mode]);
    for (const ConditionField& field : kConditionFields)
        FillHistoryCombo(page, field.id, settings.*field.history, settings.*field.text, kConditionChars);
    RefillDateList(page);
    SelectListItem(page, IDC_COND_DATE_LIST, DateItemOf({settings.UpdateDateType, settings.UpdateDateVal}));
    ::SendDlgItemMessageW(page, IDC_COND_DATE_START, EM_LIMITTEXT, kDateChars, 0);
    ::SendDlgItemMessageW(page, IDC_COND_DATE_END, EM_LIMITTEXT, kDateChars, 0);
    SetControlText(page, IDC_COND_DATE_START, settings.UpdateDateStr);
    SetControlText(page, IDC_COND_DATE_END, settings.UpdateDateEnd);
    SetChecked(page, IDC_COND_EMPTY_DIR, settings.EmptyDirNoCopy == 1);
    SetDefaultGuiFont(page, kDefaultFontIds);
    ShowDateDisplay(page);
    ApplyEnabling(page);
    SetTexts(page);
    return TRUE;
}

// Clicking into an empty date edit offers today's date to start from.
void OnDateEditFocus(HWND page, int id) {
    if (::GetWindowTextLengthW(::GetDlgItem(page, id)) == 0) SetControlText(page, id, DateText(LocalToday()));
}

void OnConditionCombo(HWND page, ConditionsPage& state, int combo) {
    state.historySelection = ConditionHistorySelectionAfter(combo, ListSelection(page, kConditionFields[combo].id));
}

void OnDropButton(HWND page, ConditionsPage& state, int button) {
    state.dragDropTarget = DragDropTargetFor(state.dragDropTarget, button);
    const HWND field = ::GetDlgItem(page, kConditionFields[static_cast<std::size_t>(state.dragDropTarget - 1)].id);
    OpenDropNamesDialog(page, field);
    state.dragDropTarget = 0;
}

void OnOrganise(HWND page, ConditionsPage& state) {
    Settings& settings = state.app.settings;
    const OrganiserStart start = ConditionOrganiserStart(CheckedRadio(page), state.historySelection);
    OpenConditionHistoryOrganiser(page, settings, start, [page, &settings] { RefreshConditionLists(page, settings); });
}

int IndexOf(std::span<const int> ids, int id) {
    for (std::size_t i = 0; i < ids.size(); ++i)
        if (ids[i] == id) return static_cast<int>(i);
    return -1;
}

INT_PTR OnCommand(HWND page, ConditionsPage& state, int id, int code) {
    switch (id) {
        case IDC_COND_SELECT:
            ApplyEnabling(page);
            SetEmptyDirCaption(page);
            return TRUE;
        case IDC_COND_MODE_TARGET:
        case IDC_COND_MODE_NO_TARGET:
        case IDC_COND_MODE_NONE:
            ApplyEnabling(page);
            return TRUE;
        case IDC_COND_TARGET:
        case IDC_COND_EX_NO_TARGET:
        case IDC_COND_NO_TARGET:
        case IDC_COND_EX_TARGET:
            OnConditionCombo(page, state, id - IDC_COND_TARGET);
            return TRUE;
        case IDC_COND_DATE_LIST:
            ShowDateDisplay(page);
            return TRUE;
        case IDC_COND_DATE_START:
        case IDC_COND_DATE_END:
            if (code == EN_SETFOCUS) OnDateEditFocus(page, id);
            return TRUE;
        case IDC_COND_ORGANIZE:
            if (code == BN_CLICKED) OnOrganise(page, state);
            return TRUE;
        default:
            break;
    }
    const int button = IndexOf(kDropButtons, id);
    if (button < 0 || code != BN_CLICKED) return FALSE;
    OnDropButton(page, state, button);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK ConditionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    ConditionsPage* state = PageState<ConditionsPage>(page);
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page, *reinterpret_cast<SettingApp*>(lParam));
        case WM_COMMAND:
            return state ? OnCommand(page, *state, LOWORD(wParam), HIWORD(wParam)) : FALSE;
        case kPageLanguageChanged:
            SetTexts(page);
            return TRUE;
        case WM_NCDESTROY:
            FreePageState<ConditionsPage>(page);
            return FALSE;
        default:
            return FALSE;
    }
}

void ReadConditionsPage(HWND page, Settings& settings) {
    settings.Select = IsChecked(page, IDC_COND_SELECT) ? 1 : 0;
    if (const int radio = CheckedRadio(page); radio != kSelectNone) settings.SelectMode = radio;
    for (const ConditionField& field : kConditionFields)
        settings.*field.text = ControlText(page, field.id, kConditionChars);
    const DateCondition date = DateConditionOfItem(ListSelection(page, IDC_COND_DATE_LIST));
    settings.UpdateDateType = date.type;
    settings.UpdateDateVal = date.value;
    settings.UpdateDateStr = ControlText(page, IDC_COND_DATE_START, kDateChars);
    settings.UpdateDateEnd = ControlText(page, IDC_COND_DATE_END, kDateChars);
    settings.EmptyDirNoCopy = IsChecked(page, IDC_COND_EMPTY_DIR) ? 1 : 0;
}

void ShowCheckedDates(HWND page, const Settings& settings) {
    SetControlText(page, IDC_COND_DATE_START, settings.UpdateDateStr);
    SetControlText(page, IDC_COND_DATE_END, settings.UpdateDateEnd);
}
