#include "copy_to_page.h"

#include <array>

#include "folder_browser.h"
#include "format.h"
#include "history_organiser/history_organiser_dialog.h"
#include "main_dialog.h"
#include "message_box.h"
#include "page_controls.h"
#include "pages/copy_to_rules.h"
#include "resource.h"
#include "setting_app.h"

namespace {

constexpr std::size_t kPathChars = kPathFieldCapacity - 1;  // 291

constexpr MessagePair kBrowseTitle = {L"コピー先のフォルダを選択して下さい", L"Please Select Copy Folder"};

constexpr std::array<ControlCaption, 14> kTexts = {{
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
    {IDC_COPY_DIR_TREE_LABEL, {L"コピー結果リストの作成(&C):", L"Create a &copy result list:"}},
}};

constexpr std::array<int, 4> kPrefixIds = {IDC_COPY_PREFIX_BEF1, IDC_COPY_PREFIX_BEF2, IDC_COPY_PREFIX_AFT1,
                                           IDC_COPY_PREFIX_AFT2};
constexpr std::array<std::wstring Settings::*, 4> kPrefixFields = {&Settings::PrefixBef1, &Settings::PrefixBef2,
                                                                   &Settings::PrefixAft1, &Settings::PrefixAft2};
constexpr std::array<int, 3> kFolderControlIds = {IDC_COPY_PATH, IDC_COPY_BROWSE, IDC_COPY_ORGANIZE};

int gFolderHistorySelection = -1;

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

void EnableControl(HWND page, int id, bool enabled) {
    ::EnableWindow(::GetDlgItem(page, id), enabled ? TRUE : FALSE);
}

// The folder controls follow the destination mode, the digit list the serial kinds.
void ApplyEnabling(HWND page) {
    const CopyToEnabling enabling =
        CopyToEnablingFor(IsChecked(page, IDC_COPY_GIVEN_FOLDER), ListSelection(page, IDC_COPY_ADD_BEF),
                          ListSelection(page, IDC_COPY_ADD_AFT));
    for (int id : kFolderControlIds) EnableControl(page, id, enabling.folderControls);
    EnableControl(page, IDC_COPY_ZERO_SUPPRESS, enabling.serialDigits);
}

// A choice in one name-kind list adjusts the other, so that only pairs the
// copy tool can build are reached.
void PairNameKinds(HWND page, int thisList) {
    const int otherList = thisList == IDC_COPY_ADD_BEF ? IDC_COPY_ADD_AFT : IDC_COPY_ADD_BEF;
    const int other = PairedNameKind(ListSelection(page, thisList), ListSelection(page, otherList));
    SelectListItem(page, otherList, other);
    ApplyEnabling(page);
}

void SetDefaultGuiFont(HWND page, int id) {
    ::SendDlgItemMessageW(page, id, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
}

// Button 530: the browser starts at the stored Path and writes its answer
// there; the combo then shows Path, so Cancel discards unconfirmed typing.
void BrowseCopyFolder(HWND page) {
    Settings& settings = App().settings;
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
void OrganiseFolderHistory(HWND page) {
    OpenFolderHistoryOrganiser(page, FolderHistorySelection(), [page] { RefreshFolderList(page); });
}

INT_PTR OnInitDialog(HWND page) {
    const Settings& settings = App().settings;
    ::CheckRadioButton(page, IDC_COPY_SAME_FOLDER, IDC_COPY_GIVEN_FOLDER,
                       settings.CopyMode == 0 ? IDC_COPY_SAME_FOLDER : IDC_COPY_GIVEN_FOLDER);
    FillHistoryCombo(page, IDC_COPY_PATH, settings.PathHis, settings.Path, kPathChars);
    SetDefaultGuiFont(page, IDC_COPY_PATH);
    SetChecked(page, IDC_COPY_SEL_DIR, settings.SelDir == 1);
    SetChecked(page, IDC_COPY_OPEN_DIR, settings.OpenDir == 1);
    for (std::size_t i = 0; i < kPrefixIds.size(); ++i) {
        ::SendDlgItemMessageW(page, kPrefixIds[i], EM_LIMITTEXT, kPathChars, 0);
        SetDefaultGuiFont(page, kPrefixIds[i]);
        SetControlText(page, kPrefixIds[i], settings.*kPrefixFields[i]);
    }
    FillNameKindLists(page);
    SelectListItem(page, IDC_COPY_ADD_BEF, settings.AddStringsBef);
    SelectListItem(page, IDC_COPY_ADD_AFT, settings.AddStringsAft);
    FillSerialDigits(page);
    SelectListItem(page, IDC_COPY_ZERO_SUPPRESS, SerialDigitsItemOf(settings.ZeroSuppress));
    SetChecked(page, IDC_COPY_COMPRESS, settings.CompressMode == 1);
    RefillList(page, IDC_COPY_DIR_TREE, ResultListModeItems());
    SelectListItem(page, IDC_COPY_DIR_TREE, ResultListModeOf(settings.DirTree));
    ApplyEnabling(page);
    gFolderHistorySelection = -1;
    return TRUE;
}

INT_PTR OnCommand(HWND page, int id, int code) {
    switch (id) {
        case IDC_COPY_SAME_FOLDER:
        case IDC_COPY_GIVEN_FOLDER:
            if (code == BN_CLICKED) ApplyEnabling(page);
            return TRUE;
        case IDC_COPY_PATH:
            gFolderHistorySelection = FolderHistorySelectionAfter(ListSelection(page, IDC_COPY_PATH));
            return TRUE;
        case IDC_COPY_BROWSE:
            if (code == BN_CLICKED) BrowseCopyFolder(page);
            return TRUE;
        case IDC_COPY_ORGANIZE:
            if (code == BN_CLICKED) OrganiseFolderHistory(page);
            return TRUE;
        case IDC_COPY_ADD_BEF:
        case IDC_COPY_ADD_AFT:
            PairNameKinds(page, id);
            return TRUE;
        case IDC_COPY_DIR_TREE:
            SetDialogTexts(DialogTexts::ResultListNote);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK CopyToPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page);
        case WM_COMMAND:
            return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
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
    settings.DirTree = ResultListModeOf(ListSelection(page, IDC_COPY_DIR_TREE));
}

void SetCopyToPageTexts(HWND page) {
    SetControlTexts(page, kTexts);
    FillNameKindLists(page);
    RefillList(page, IDC_COPY_DIR_TREE, ResultListModeItems());
    SetCopyToDirTreeNote(page);
}

void SetCopyToDirTreeNote(HWND page) {
    SetControlText(page, IDC_COPY_DIR_TREE_NOTE,
                   std::wstring(Pick(ResultListModeLabel(ListSelection(page, IDC_COPY_DIR_TREE)))));
}

void RefreshFolderList(HWND page) {
    const int selected = ListSelection(page, IDC_COPY_PATH);
    const std::wstring typed = ControlText(page, IDC_COPY_PATH, kPathChars);
    FillHistoryCombo(page, IDC_COPY_PATH, App().settings.PathHis, typed, kPathChars);
    if (selected >= 0) SelectListItem(page, IDC_COPY_PATH, selected);
}

int FolderHistorySelection() {
    return gFolderHistorySelection;
}
