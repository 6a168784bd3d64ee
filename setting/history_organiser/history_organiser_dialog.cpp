#include "history_organiser/history_organiser_dialog.h"

#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "dpi.h"
#include "forbidden_chars.h"
#include "message_box.h"
#include "pages/page_controls.h"
#include "pages/sub_dialog.h"
#include "resource.h"

namespace {

constexpr std::size_t kFolderEntryChars = 291;
constexpr std::size_t kConditionEntryChars = 8196;
// Edit 500 is read with room for control codes that Update removes.
constexpr std::size_t kEditReadChars = 8324;
constexpr int kColumnWidth = 490;  // pixels at 96 DPI

constexpr std::array<ControlCaption, 6> kButtonTexts = {{
    {IDC_ORG_UP, {L"上へ(&U)", L"&Up"}},
    {IDC_ORG_DOWN, {L"下へ(&D)", L"&Down"}},
    {IDC_ORG_DELETE, {L"削除(&E)", L"D&elete"}},
    {IDC_ORG_UPDATE, {L"更新(&M)", L"U&pdate"}},
    {IDC_ORG_OK, {L"OK", L"OK"}},
    {IDC_ORG_CANCEL, {L"Cancel", L"Cancel"}},
}};
constexpr MessagePair kFolderLabel = {L"フォルダのパス", L"Folder path"};
constexpr MessagePair kConditionLabel = {L"ファイル選択条件(&S):", L"File &selection:"};
constexpr MessagePair kConditionColumn = {L"条件", L"Selection"};

// One organiser is open at a time; the dialog keeps a pointer to its state.
struct Organiser {
    Settings& settings;  // the dialog's: OK hands the working copies back to it
    OrganiserVariant variant;
    OrganiserStart start;
    std::function<void()> refreshLists;
    WorkingHistories working;
    bool busy = false;   // OrganiserBusy: an action is refilling the list
    int shownList = -1;  // ShownList: the history the rows show
};

// None before WM_INITDIALOG has run.
Organiser* StateOf(HWND dialog) {
    return reinterpret_cast<Organiser*>(::GetWindowLongPtrW(dialog, DWLP_USER));
}

HWND ListView(HWND dialog) {
    return ::GetDlgItem(dialog, IDC_ORG_LIST);
}

int ChosenList(HWND dialog, const Organiser& organiser) {
    if (organiser.variant == OrganiserVariant::Folder) return 0;
    const int chosen = ListSelection(dialog, IDC_ORG_SELECTOR);
    return chosen < 0 ? 0 : chosen;
}

void SetStatus(HWND dialog, std::wstring_view text) {
    SetControlText(dialog, IDC_ORG_STATUS, std::wstring(text));
}

void SelectRow(HWND list, int row) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    ::SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
}

// FillHistoryList: the rows from the working copy of the chosen history.
void FillHistoryList(HWND dialog, Organiser& organiser, bool opening, int requestedRow) {
    const int chosen = ChosenList(dialog, organiser);
    const FillPlan plan =
        PlanHistoryFill(organiser.variant, opening, organiser.shownList, chosen, organiser.busy, requestedRow);
    if (!plan.fill) return;
    if (plan.clearEdit) {
        SetControlText(dialog, IDC_ORG_EDIT, L"");
        SetStatus(dialog, L"");
    }
    const HWND list = ListView(dialog);
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    const History& history = organiser.working.lists[static_cast<std::size_t>(chosen)];
    for (std::size_t row = 0; row < history.size(); ++row) {
        std::wstring text = history[row];
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = text.data();
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    organiser.shownList = chosen;
    if (plan.selectRow < 0) return;
    SelectRow(list, plan.selectRow);
    ::SetFocus(list);
}

void SetUpListView(HWND dialog, const MessagePair& column) {
    const HWND list = ListView(dialog);
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    std::wstring caption(Pick(column));
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.cx = ::MulDiv(kColumnWidth, static_cast<int>(GetWindowDpi(dialog)), 96);  // as wide as at 96 DPI
    header.pszText = caption.data();
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&header));
}

void SetProgramIcon(HWND dialog) {
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    const HICON icon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VARO_SETTING));
    ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void FillSelector(HWND dialog, int chosen) {
    for (const MessagePair& item : ConditionHistoryItems()) {
        const std::wstring text(Pick(item));
        ::SendDlgItemMessageW(dialog, IDC_ORG_SELECTOR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SelectListItem(dialog, IDC_ORG_SELECTOR, chosen);
}

INT_PTR OnInitDialog(HWND dialog, Organiser& organiser) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&organiser));
    organiser.busy = false;
    organiser.shownList = -1;
    SetProgramIcon(dialog);
    SetControlTexts(dialog, kButtonTexts);
    const bool folder = organiser.variant == OrganiserVariant::Folder;
    if (folder)
        ::ShowWindow(::GetDlgItem(dialog, IDC_ORG_SELECTOR), SW_HIDE);
    else
        FillSelector(dialog, organiser.start.list);
    SetControlText(dialog, IDC_ORG_LABEL, std::wstring(Pick(folder ? kFolderLabel : kConditionLabel)));
    SetUpListView(dialog, folder ? kFolderLabel : kConditionColumn);
    organiser.working = TakeWorkingHistories(organiser.settings, organiser.variant);
    FillHistoryList(dialog, organiser, true, organiser.start.row);
    ::SendDlgItemMessageW(dialog, IDC_ORG_EDIT, EM_LIMITTEXT, folder ? kFolderEntryChars : kConditionEntryChars, 0);
    SetStatus(dialog, L"");
    SetDefaultGuiFont(dialog, std::array{IDC_ORG_LIST, IDC_ORG_EDIT});
    return FALSE;  // the focus is on the list view
}

int SelectedRow(HWND dialog, UINT flags) {
    return static_cast<int>(::SendMessageW(ListView(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), flags));
}

std::wstring ForbiddenFor(OrganiserVariant variant, std::wstring_view text) {
    return CheckForbiddenChars(text,
                               variant == OrganiserVariant::Folder ? CharRules::FolderPath : CharRules::Condition);
}

void OnAction(HWND dialog, Organiser& organiser, OrganiserAction action) {
    History history = organiser.working.lists[static_cast<std::size_t>(organiser.shownList)];
    const std::wstring edit = ControlText(dialog, IDC_ORG_EDIT, kEditReadChars);
    const ActionOutcome outcome = ApplyOrganiserAction(
        action, organiser.variant, history, SelectedRow(dialog, LVNI_SELECTED | LVNI_FOCUSED), edit,
        [&organiser](std::wstring_view text) { return ForbiddenFor(organiser.variant, text); });
    if (outcome.status) SetStatus(dialog, Pick(*outcome.status));
    if (outcome.error) {
        ShowMessageText(dialog, MB_ICONERROR, FormatCheckMessage(*outcome.error, IsJapanese()));
        return;
    }
    organiser.working.lists[static_cast<std::size_t>(organiser.shownList)] = std::move(history);
    if (!outcome.refill) return;
    organiser.busy = true;
    FillHistoryList(dialog, organiser, false, outcome.selectRow);
    organiser.busy = false;
    ::SetFocus(ListView(dialog));
}

// A click, a change of item state or an activation: the selected entry goes to the edit box.
void OnListNotification(HWND dialog, Organiser& organiser) {
    const int row = SelectedRow(dialog, LVNI_SELECTED);
    if (row >= 0 && organiser.shownList >= 0)
        SetControlText(
            dialog, IDC_ORG_EDIT,
            organiser.working.lists[static_cast<std::size_t>(organiser.shownList)][static_cast<std::size_t>(row)]);
    if (ListNotificationClearsStatus(organiser.variant, organiser.busy, row >= 0)) SetStatus(dialog, L"");
}

INT_PTR OnNotify(HWND dialog, const NMHDR& header) {
    if (header.idFrom != IDC_ORG_LIST) return FALSE;
    if (header.code != NM_CLICK && header.code != LVN_ITEMCHANGED && header.code != LVN_ITEMACTIVATE) return FALSE;
    Organiser* organiser = StateOf(dialog);
    if (!organiser) return FALSE;
    OnListNotification(dialog, *organiser);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, int id) {
    Organiser* state = StateOf(dialog);
    if (!state) return FALSE;
    Organiser& organiser = *state;
    switch (id) {
        case IDC_ORG_UP:
            OnAction(dialog, organiser, OrganiserAction::Up);
            return TRUE;
        case IDC_ORG_DOWN:
            OnAction(dialog, organiser, OrganiserAction::Down);
            return TRUE;
        case IDC_ORG_DELETE:
            OnAction(dialog, organiser, OrganiserAction::Delete);
            return TRUE;
        case IDC_ORG_UPDATE:
            OnAction(dialog, organiser, OrganiserAction::Update);
            return TRUE;
        case IDC_ORG_SELECTOR:
            if (organiser.variant == OrganiserVariant::Condition) FillHistoryList(dialog, organiser, false, -1);
            return TRUE;
        case IDC_ORG_OK:
            StoreWorkingHistories(organiser.working, organiser.settings);
            if (organiser.refreshLists) organiser.refreshLists();
            ::EndDialog(dialog, IDOK);
            return TRUE;
        case IDC_ORG_CANCEL:
        case IDCANCEL:  // the close box
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK HistoryOrganiserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, *reinterpret_cast<Organiser*>(lParam));
        case WM_COMMAND:
            return OnCommand(dialog, LOWORD(wParam));
        case WM_NOTIFY:
            return OnNotify(dialog, *reinterpret_cast<const NMHDR*>(lParam));
        default:
            return FALSE;
    }
}

void RunOrganiser(HWND owner, Organiser organiser) {
    RunSubDialog(owner, IDD_HISTORY_ORGANISER, HistoryOrganiserProc, reinterpret_cast<LPARAM>(&organiser),
                 SubDialogKind::Organiser);
}

}  // namespace

void OpenFolderHistoryOrganiser(HWND owner, Settings& settings, int folderHistorySelection,
                                std::function<void()> refreshList) {
    RunOrganiser(owner, {settings,
                         OrganiserVariant::Folder,
                         FolderOrganiserStart(folderHistorySelection),
                         std::move(refreshList),
                         {OrganiserVariant::Folder, {}}});
}

void OpenConditionHistoryOrganiser(HWND owner, Settings& settings, const OrganiserStart& start,
                                   std::function<void()> refreshLists) {
    RunOrganiser(
        owner,
        {settings, OrganiserVariant::Condition, start, std::move(refreshLists), {OrganiserVariant::Condition, {}}});
}
