#include "copy_to_page.h"

#include <array>

#include "format.h"
#include "history_organiser/history_organiser_dialog.h"
#include "page_controls.h"
#include "resource.h"
#include "main_dialog.h"
#include "setting_app.h"

namespace {

constexpr std::size_t kPathChars = kPathFieldCapacity - 1;  // 291
constexpr int kMaxZeroSuppress = 19;
constexpr int kDirTreeNoCopyItem = 2;

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

constexpr std::array<MessagePair, 5> kNameKinds = {{
    {L"", L""},
    {L"年月日_時分秒", L"Date_time"},
    {L"年月日", L"Date"},
    {L"年月日_連番", L"Date_Sirial number"},
    {L"連番", L"Sirial number"},
}};

constexpr std::array<MessagePair, 3> kDirTreeModes = {{
    {L"なし", L"Off"},
    {L"あり", L"On"},
    {L"あり(コピー処理は行わない)", L"On(Don't copy processing)"},
}};

constexpr MessagePair kNoCopyNote = {L"【コピー処理は行われないモードです】", L"[Copy processing is not performed]"};

constexpr std::array<int, 4> kPrefixIds = {IDC_COPY_PREFIX_BEF1, IDC_COPY_PREFIX_BEF2, IDC_COPY_PREFIX_AFT1,
                                           IDC_COPY_PREFIX_AFT2};
constexpr std::array<std::wstring Settings::*, 4> kPrefixFields = {&Settings::PrefixBef1, &Settings::PrefixBef2,
                                                                   &Settings::PrefixAft1, &Settings::PrefixAft2};

void FillZeroSuppress(HWND page) {
    for (int digits = 1; digits <= kMaxZeroSuppress; ++digits) {
        const std::wstring item = FormatText(L"%d", {digits});
        ::SendDlgItemMessageW(page, IDC_COPY_ZERO_SUPPRESS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

INT_PTR OnInitDialog(HWND page) {
    const Settings& settings = App().settings;
    ::CheckRadioButton(page, IDC_COPY_SAME_FOLDER, IDC_COPY_GIVEN_FOLDER,
                       settings.CopyMode == 0 ? IDC_COPY_SAME_FOLDER : IDC_COPY_GIVEN_FOLDER);
    FillHistoryCombo(page, IDC_COPY_PATH, settings.PathHis, settings.Path, kPathChars);
    SetChecked(page, IDC_COPY_SEL_DIR, settings.SelDir == 1);
    SetChecked(page, IDC_COPY_OPEN_DIR, settings.OpenDir == 1);
    for (std::size_t i = 0; i < kPrefixIds.size(); ++i) {
        ::SendDlgItemMessageW(page, kPrefixIds[i], EM_LIMITTEXT, kPathChars, 0);
        SetControlText(page, kPrefixIds[i], settings.*kPrefixFields[i]);
    }
    RefillList(page, IDC_COPY_ADD_BEF, kNameKinds);
    RefillList(page, IDC_COPY_ADD_AFT, kNameKinds);
    SelectListItem(page, IDC_COPY_ADD_BEF, settings.AddStringsBef);
    SelectListItem(page, IDC_COPY_ADD_AFT, settings.AddStringsAft);
    FillZeroSuppress(page);
    SelectListItem(page, IDC_COPY_ZERO_SUPPRESS, settings.ZeroSuppress - 1);
    SetChecked(page, IDC_COPY_COMPRESS, settings.CompressMode == 1);
    RefillList(page, IDC_COPY_DIR_TREE, kDirTreeModes);
    SelectListItem(page, IDC_COPY_DIR_TREE, DirTreeItem(settings.DirTree));
    return TRUE;
}

// The note follows the result-list mode.
INT_PTR OnCommand(int id) {
    if (id != IDC_COPY_DIR_TREE) return FALSE;
    SetDialogTexts(DialogTexts::ResultListNote);
    return TRUE;
}

// The folder history organiser; after OK the folder list shows the new order.
INT_PTR OnOrganise(HWND page) {
    OpenFolderHistoryOrganiser(page, ListSelection(page, IDC_COPY_PATH),
                               [page] { RefillHistoryCombo(page, IDC_COPY_PATH, App().settings.PathHis, kPathChars); });
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK CopyToPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(page);
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_COPY_ORGANIZE && HIWORD(wParam) == BN_CLICKED) return OnOrganise(page);
            return OnCommand(LOWORD(wParam));
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
    settings.ZeroSuppress = ListSelection(page, IDC_COPY_ZERO_SUPPRESS) + 1;
    settings.CompressMode = IsChecked(page, IDC_COPY_COMPRESS) ? 1 : 0;
    settings.DirTree = DirTreeItem(ListSelection(page, IDC_COPY_DIR_TREE));
}

void SetCopyToPageTexts(HWND page) {
    SetControlTexts(page, kTexts);
    RefillList(page, IDC_COPY_ADD_BEF, kNameKinds);
    RefillList(page, IDC_COPY_ADD_AFT, kNameKinds);
    RefillList(page, IDC_COPY_DIR_TREE, kDirTreeModes);
    SetCopyToDirTreeNote(page);
}

void SetCopyToDirTreeNote(HWND page) {
    const bool noCopy = ListSelection(page, IDC_COPY_DIR_TREE) == kDirTreeNoCopyItem;
    SetControlText(page, IDC_COPY_DIR_TREE_NOTE, noCopy ? std::wstring(Pick(kNoCopyNote)) : L"");
}

int DirTreeItem(int value) {
    return value == 1 || value == 2 ? value : 0;
}
