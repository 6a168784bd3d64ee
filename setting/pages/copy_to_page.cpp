#include "copy_to_page.h"

#include <array>
#include <memory>

#include "folder_browser.h"
#include "format.h"
#include "history_organiser/history_organiser_dialog.h"
#include "message_box.h"
#include "page_controls.h"
#include "page_state.h"
#include "pages/copy_to_rules.h"
#include "resource.h"
#include "setting_app.h"

namespace {

constexpr std::size_t kPathChars = kPathFieldCapacity - 1;  // 291

constexpr MessagePair kBrowseTitle = {L"コピー先のフォルダを選択して下さい", L"Please Select Copy Folder"};

constexpr std::array<ControlCaption, 15> kTexts = {{
    {IDC_COPY_FOLDER_GROUP, {L"コピー先フォルダの指定", L"Specify destination folder"}},
    {IDC_COPY_SAME_FOLDER, {L"同じディレクトリにコピー(&A)", L"Copy to the sa&me directory"}},
    {IDC_COPY_GIVEN_FOLDER, {L"指定したフォルダにコピー(&F):", L"Copy to the specified &folder:"}},
    {IDC_COPY_BROWSE, {L"参照(&B)...", L"&Browse..."}},
    {IDC_COPY_SEL_DIR,
     {L"コピー前にフォルダ選択ダイアログを表示する(&D)", L"O&pen the folder selection dialog before copy"}},
    {IDC_COPY_ORGANIZE, {L"履歴の整理(&H)...", L"Or&ganize the history..."}},
    {IDC_COPY_OPEN_DIR, {L"コピー後にコピー先のフォルダを開く(&E)", L"&Open the copy destination folder after copy"}},
    {IDC_COPY_ADD_GROUP, {L"付与する文字列(&J)", L"A&dd strings"}},
    {IDC_COPY_FILE_NAME, {L"(ファイル名)", L"(File name)"}},
    {IDC_COPY_EXTENSION, {L"(.拡張子)", L"(.ext)"}},
    {IDC_COPY_ZERO_LABEL, {L"連番の前ゼロ(&R):", L"Ze&ro suppression:"}},
    {IDC_COPY_DIGIT_LABEL, {L"桁", L"Digit"}},
    {IDC_COPY_COMPRESS, {L"Zip形式で圧縮する(&Z)", L"Compress in &Zip Format"}},
    {IDC_COPY_VERIFY, {L"コピー後に内容を照合する(&V)", L"&Verify copies after copying"}},
    {IDC_COPY_DIR_TREE_LABEL, {L"コピー結果リストの作成(&C):", L"Create a &copy result list:"}},
}};

constexpr std::array<int, 4> kPrefixIds = {IDC_COPY_PREFIX_BEF1, IDC_COPY_PREFIX_BEF2, IDC_COPY_PREFIX_AFT1,
                                           IDC_COPY_PREFIX_AFT2};
constexpr std::array<std::wstring Settings::*, 4> kPrefixFields = {&Settings::PrefixBef1, &Settings::PrefixBef2,
                                                                   &Settings::PrefixAft1, &Settings::PrefixAft2};
constexpr std::array<int, 3> kFolderControlIds = {IDC_COPY_PATH, IDC_COPY_BROWSE, IDC_COPY_ORGANIZE};

constexpr std::array<int, 5> kDefaultFontIds = {IDC_COPY_PATH, IDC_COPY_PREFIX_BEF1, IDC_COPY_PREFIX_BEF2,
                                                IDC_COPY_PREFIX_AFT1, IDC_COPY_PREFIX_AFT2};

struct CopyToPage {
    explicit CopyToPage(SettingApp& owner) : app(owner) {}

    SettingApp& app;
    // -1 after the page was filled; afterwards the list selection of combo
    // 1000 at its last notification, 0 when it had none. The folder-history
    // organiser opens on this entry.
    int folderHistorySelection = -1;
};

void FillSerialDigits(HWND page) {
    for (int digits = 1; digits <= kMaxSerialDigits; ++digits) {
        const std::wstring item = FormatText(L"%d", {digits});
        ::SendDlgItemMessageW(page, IDC_COPY_ZERO_SUPPRESS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

void FillNameKindLists(HWND page) {
    RefillList(page, IDC_COPY_ADD_BEF, NameKindItems());
    RefillList(page, IDC_COPY_ADD_AFT, NameKindItems());
}

// The folder controls follow the destination mode, the digit list the serial kinds.
void ApplyEnabling(HWND page) {
    const CopyToEnabling enabling =
        CopyToEnablingFor(IsChecked(page, IDC_COPY_GIVEN_FOLDER), ListSelection(page, IDC_COPY_ADD_BEF),
                          ListSelection(page, IDC_COPY_ADD_AFT));
    EnableControls(page, kFolderControlIds, enabling.folderControls);
    EnableControls(page, std::array{IDC_COPY_ZERO_SUPPRESS}, enabling.serialDigits);
}

// A choice in one name-kind list adjusts the other, so that only pairs the
// copy tool can build are reached.
void PairNameKinds(HWND page, int thisList) {
    const int otherList = thisList == IDC_COPY_ADD_BEF ? IDC_COPY_ADD_AFT : IDC_COPY_ADD_BEF;
    const int other = PairedNameKind(ListSelection(page, thisList), ListSelection(page, otherList));
    SelectListItem(page, otherList, other);
    ApplyEnabling(page);
}

// The note beside the result-list mode, shown while "no copy" is selected.
void SetDirTreeNote(HWND page) {
    SetControlText(page, IDC_COPY_DIR_TREE_NOTE,
                   std::wstring(Pick(ResultListModeLabel(ListSelection(page, IDC_COPY_DIR_TREE)))));
}

// Captions and word lists in the current language (lists keep their selection).
void SetTexts(HWND page) {
    SetControlTexts(page, kTexts);
    FillNameKindLists(page);
    RefillList(page, IDC_COPY_DIR_TREE, ResultListModeItems());
    SetDirTreeNote(page);
}

// Refills combo 1000 from PathHis after the history organiser changed it,
// keeping the list selection (or, without one, the typed text).
void RefreshFolderList(HWND page, const Settings& settings) {
    const int selected = ListSelection(page, IDC_COPY_PATH);
    const std::wstring typed = ControlText(page, IDC_COPY_PATH, kPathChars);
    FillHistoryCombo(page, IDC_COPY_PATH, settings.PathHis, typed, kPathChars);
    if (selected >= 0) SelectListItem(page, IDC_COPY_PATH, selected);
}

// Button 530: the browser starts at the stored Path and writes its answer
// there; the combo then shows Path, so Cancel discards unconfirmed typing.
void BrowseCopyFolder(HWND page, Settings& settings) {
    const HWND owner = ::GetAncestor(page, GA_ROOT);
    const BrowseAnswer answer = BrowseForFolder(owner, kBrowseTitle, settings.Path);
    if (answer.nameInvalid) {
        settings.Path.clear();
        ShowMessage(owner, MB_ICONWARNING, kSelectedFolderMissing);
    } else if (!answer.folder.empty()) {
        settings.Path = answer.folder;
    }
    SetControlText(page, IDC_COPY_PATH, settings.Path);
}

// Button 531: the folder-history organiser opens on the entry last chosen in
// combo 1000; after its OK the combo shows the new history.
void OrganiseFolderHistory(HWND page, CopyToPage& state) {
    Settings& settings = state.app.settings;
    OpenFolderHistoryOrganiser(page, settings, state.folderHistorySelection,
                               [page, &settings] { RefreshFolderList(page, settings); });
}

INT_PTR OnInitDialog(HWND page, SettingApp& app) {
    KeepPageState(page, std::make_unique<CopyToPage>(app));
    const Settings& settings = app.settings;
    ::CheckRadioButton(page, IDC_COPY_SAME_FOLDER, IDC_COPY_GIVEN_FOLDER,
                       settings.CopyMode == 0 ? IDC_COPY_SAME_FOLDER : IDC_COPY_GIVEN_FOLDER);
    FillHistoryCombo(page, IDC_COPY_PATH, settings.PathHis, settings.Path, kPathChars);
    SetChecked(page, IDC_COPY_SEL_DIR, settings.SelDir == 1);
    SetChecked(page, IDC_COPY_OPEN_DIR, settings.OpenDir == 1);
    for (std::size_t i = 0; i < kPrefixIds.size(); ++i) {
        ::SendDlgItemMessageW(page, kPrefixIds[i], EM_LIMITTEXT, kPathChars, 0);
        SetControlText(page, kPrefixIds[i], settings.*kPrefixFields[i]);
    }
    FillNameKindLists(page);
    SelectListItem(page, IDC_COPY_ADD_BEF, settings.AddStringsBef);
    SelectListItem(page, IDC_COPY_ADD_AFT, settings.AddStringsAft);
    FillSerialDigits(page);
    SelectListItem(page, IDC_COPY_ZERO_SUPPRESS, SerialDigitsItemOf(settings.ZeroSuppress));
    SetChecked(page, IDC_COPY_COMPRESS, settings.CompressMode == 1);
    SetChecked(page, IDC_COPY_VERIFY, settings.Verify == 1);
    RefillList(page, IDC_COPY_DIR_TREE, ResultListModeItems());
    SelectListItem(page, IDC_COPY_DIR_TREE, ResultListModeOf(settings.DirTree));
    SetDefaultGuiFont(page, kDefaultFontIds);
    ApplyEnabling(page);
    SetTexts(page);
    return TRUE;
}

INT_PTR OnCommand(HWND page, CopyToPage& state, int id, int code) {
    switch (id) {
        case IDC_COPY_SAME_FOLDER:
        case IDC_COPY_GIVEN_FOLDER:
            if (code == BN_CLICKED) ApplyEnabling(page);
            return TRUE;
        case IDC_COPY_PATH:
            state.folderHistorySelection = FolderHistorySelectionAfter(ListSelection(page, IDC_COPY_PATH));
            return TRUE;
        case IDC_COPY_BROWSE:
            if (code == BN_CLICKED) BrowseCopyFolder(page, state.app.settings);
            return TRUE;
        case IDC_COPY_ORGANIZE:
            if (code == BN_CLICKED) OrganiseFolderHistory(page, state);
            return TRUE;
        case IDC_COPY_ADD_BEF:
        case IDC_COPY_ADD_AFT:
            PairNameKinds(page, id);
            return TRUE;
        case IDC_COPY_DIR_TREE:
            SetDirTreeNote(page);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK CopyToPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    CopyToPage* state = PageState<CopyToPage>(page);
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page, *reinterpret_cast<SettingApp*>(lParam));
        case WM_COMMAND:
            return state ? OnCommand(page, *state, LOWORD(wParam), HIWORD(wParam)) : FALSE;
        case kPageLanguageChanged:
            SetTexts(page);
            return TRUE;
        case WM_NCDESTROY:
            FreePageState<CopyToPage>(page);
            return FALSE;
        default:
            return FALSE;
    }
}

void ReadCopyToPage(HWND page, Settings& settings) {
    settings.CopyMode = IsChecked(page, IDC_COPY_SAME_FOLDER) ? 0 : 1;
    settings.Path = ControlText(page, IDC_COPY_PATH, kPathChars);
    settings.SelDir = IsChecked(page, IDC_COPY_SEL_DIR) ? 1 : 0;
    settings.OpenDir = IsChecked(page, IDC_COPY_OPEN_DIR) ? 1 : 0;
    for (std::size_t i = 0; i < kPrefixIds.size(); ++i)
        settings.*kPrefixFields[i] = ControlText(page, kPrefixIds[i], kPathChars);
    settings.AddStringsBef = ListSelection(page, IDC_COPY_ADD_BEF);
    settings.AddStringsAft = ListSelection(page, IDC_COPY_ADD_AFT);
    settings.ZeroSuppress = ZeroSuppressOfItem(ListSelection(page, IDC_COPY_ZERO_SUPPRESS));
    settings.CompressMode = IsChecked(page, IDC_COPY_COMPRESS) ? 1 : 0;
    settings.Verify = IsChecked(page, IDC_COPY_VERIFY) ? 1 : 0;
    settings.DirTree = ResultListModeOf(ListSelection(page, IDC_COPY_DIR_TREE));
}
