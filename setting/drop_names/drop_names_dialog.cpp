#include "drop_names/drop_names_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <new>
#include <string>
#include <vector>

#include "drop_names/drop_names.h"
#include "message_box.h"
#include "pages/page_controls.h"
#include "pages/sub_dialog.h"
#include "paths.h"
#include "resource.h"

namespace {

// A dropped path is taken with at most this many characters.
constexpr UINT kDroppedPathChars = 262;
constexpr UINT_PTR kDropSubclassId = 1;

constexpr std::array<ControlCaption, 8> kTexts = {{
    {IDC_DROP_HINT,
     {L"以下の枠内のエディットボックスにファイルをドラッグ&&ドロップするとファイル名を取得することができます。",
      L"Drag and drop files into the edit boxes within the following boxes to get the file name."}},
    {IDC_DROP_READ, {L"選択条件から読み込む(&R)", L"&Read from selection"}},
    {IDC_DROP_NOTE,
     {L"※OKボタンを押すとファイル名が\":\"で区切られた状態でセットされます。(改行は除去されます)",
      L"*When you press the OK button, the file name is set with \":\" delimited.(Remove line feed)"}},
    {IDC_DROP_ASCENDING, {L"昇順(&A)", L"&Asc"}},
    {IDC_DROP_DESCENDING, {L"降順(&D)", L"&Desc"}},
    {IDC_DROP_CLEAR, {L"クリア(&C)", L"&Clear"}},
    {IDC_DROP_OK, {L"OK", L"OK"}},
    {IDC_DROP_CANCEL, {L"Cancel", L"Cancel"}},
}};

constexpr MessagePair kNamesMemoryFailed = {L"ファイル名取得用メモリの確保に失敗しました。",
                                            L"Failed to allocate file name acquisition memory."};
constexpr MessagePair kMemoryFailed = {L"メモリの確保に失敗しました。", L"Failed to allocate memory."};
constexpr MessagePair kSortMemoryFailed = {L"ソート用のメモリの確保に失敗しました。",
                                           L"Failed to allocate memory for sorting."};

std::wstring WindowTextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Puts the text into the edit box and gives it the focus, the caret at its end or start.
void ShowEditText(HWND edit, const std::wstring& text, bool caretAtEnd) {
    ::SetWindowTextW(edit, text.c_str());
    ::SetFocus(edit);
    const WPARAM at = caretAtEnd ? static_cast<WPARAM>(::GetWindowTextLengthW(edit)) : 0;
    ::SendMessageW(edit, EM_SETSEL, at, static_cast<LPARAM>(at));
    ::SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

void ShowError(HWND dialog, const CheckMessage& message) {
    ShowMessageText(dialog, MB_ICONERROR, FormatCheckMessage(message, IsJapanese()));
}

std::vector<std::wstring> DroppedPaths(HDROP drop) {
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::wstring> paths;
    for (UINT index = 0; index < count; ++index) {
        std::wstring path(kDroppedPathChars + 1, L'\0');
        path.resize(::DragQueryFileW(drop, index, path.data(), kDroppedPathChars + 1));
        paths.push_back(std::move(path));
    }
    return paths;
}

void OnDropFiles(HWND edit, HDROP drop) {
    try {
        const std::vector<std::wstring> paths = DroppedPaths(drop);
        if (!paths.empty()) {
            const std::vector<std::wstring> names =
                DroppedFileNames(paths, [](const std::wstring& path) { return IsFolder(path); });
            // Only folders dropped: the box is emptied.
            if (names.empty())
                ShowEditText(edit, L"", false);
            else
                ShowEditText(edit, AppendDroppedNames(WindowTextOf(edit), names), true);
        }
    } catch (const std::bad_alloc&) {
        ShowMessage(::GetParent(edit), MB_ICONERROR, kNamesMemoryFailed);
    }
    ::DragFinish(drop);
}

// The edit box takes dropped files; everything else is the standard edit.
LRESULT CALLBACK DropEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_DROPFILES:
            OnDropFiles(edit, reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(edit, DropEditProc, kDropSubclassId);
            return ::DefSubclassProc(edit, message, wParam, lParam);
        default:
            return ::DefSubclassProc(edit, message, wParam, lParam);
    }
}

HWND Edit(HWND dialog) {
    return ::GetDlgItem(dialog, IDC_DROP_EDIT);
}

HWND ConditionField(HWND dialog) {
    return reinterpret_cast<HWND>(::GetWindowLongPtrW(dialog, DWLP_USER));
}

INT_PTR OnInitDialog(HWND dialog, HWND conditionField) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(conditionField));
    SetControlTexts(dialog, kTexts);
    const HWND edit = Edit(dialog);
    SetDefaultGuiFont(edit);
    ::SetWindowSubclass(edit, DropEditProc, kDropSubclassId, 0);
    ::DragAcceptFiles(edit, TRUE);
    return TRUE;
}

void OnReadFromSelection(HWND dialog) {
    try {
        const HWND field = ConditionField(dialog);
        const std::wstring condition = field ? WindowTextOf(field) : std::wstring();
        if (condition.empty())
            ShowEditText(Edit(dialog), L"", false);
        else
            ShowEditText(Edit(dialog), LinesFromCondition(condition), true);
    } catch (const std::bad_alloc&) {
        ShowMessage(dialog, MB_ICONERROR, kMemoryFailed);
    }
}

void OnSort(HWND dialog, bool ascending) {
    const HWND edit = Edit(dialog);
    try {
        const std::wstring text = WindowTextOf(edit);
        if (text.empty()) return ShowEditText(edit, L"", false);
        const DropTextResult sorted = SortLines(text, ascending);
        if (sorted.error) return ShowError(dialog, *sorted.error);
        ShowEditText(edit, sorted.text, false);
    } catch (const std::bad_alloc&) {
        ShowMessage(dialog, MB_ICONERROR, kSortMemoryFailed);
    }
}

void OnOk(HWND dialog) {
    const DropTextResult joined = JoinDroppedNames(WindowTextOf(Edit(dialog)));
    if (joined.error) return ShowError(dialog, *joined.error);
    if (const HWND field = ConditionField(dialog)) ::SetWindowTextW(field, joined.text.c_str());
    ::EndDialog(dialog, IDOK);
}

INT_PTR OnCommand(HWND dialog, int id) {
    switch (id) {
        case IDC_DROP_READ:
            OnReadFromSelection(dialog);
            return TRUE;
        case IDC_DROP_ASCENDING:
        case IDC_DROP_DESCENDING:
            OnSort(dialog, id == IDC_DROP_ASCENDING);
            return TRUE;
        case IDC_DROP_CLEAR:
            ShowEditText(Edit(dialog), L"", false);
            return TRUE;
        case IDC_DROP_OK:
            OnOk(dialog);
            return TRUE;
        case IDC_DROP_CANCEL:
        case IDCANCEL:  // the close box
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK DropNamesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, reinterpret_cast<HWND>(lParam));
        case WM_COMMAND:
            return OnCommand(dialog, LOWORD(wParam));
        default:
            return FALSE;
    }
}

}  // namespace

void OpenDropNamesDialog(HWND page, HWND conditionField) {
    RunSubDialog(page, IDD_DROP_NAMES, DropNamesProc, reinterpret_cast<LPARAM>(conditionField),
                 SubDialogKind::DropNames);
}
