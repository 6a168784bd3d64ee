#include "page_controls.h"

#include <vector>

void SetControlTexts(HWND page, std::span<const ControlCaption> texts) {
    for (const ControlCaption& entry : texts) SetControlText(page, entry.id, std::wstring(Pick(entry.text)));
}

void SetDefaultGuiFont(HWND control) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

void SetDefaultGuiFont(HWND dialog, std::span<const int> ids) {
    for (const int id : ids) SetDefaultGuiFont(::GetDlgItem(dialog, id));
}

void EnableControls(HWND dialog, std::span<const int> ids, bool enabled) {
    for (const int id : ids) ::EnableWindow(::GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

bool IsChecked(HWND page, int id) {
    return ::IsDlgButtonChecked(page, id) == BST_CHECKED;
}

void SetChecked(HWND page, int id, bool checked) {
    ::CheckDlgButton(page, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

std::wstring ControlText(HWND page, int id, std::size_t maxChars) {
    std::vector<wchar_t> buffer(maxChars + 1, L'\0');
    const int length = ::GetDlgItemTextW(page, id, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<std::size_t>(length > 0 ? length : 0));
}

void SetControlText(HWND page, int id, const std::wstring& text) {
    ::SetDlgItemTextW(page, id, text.c_str());
}

int ListSelection(HWND page, int id) {
    const LRESULT index = ::SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void SelectListItem(HWND page, int id, int index) {
    ::SendDlgItemMessageW(page, id, CB_SETCURSEL, index, 0);
}

void RefillList(HWND page, int id, std::span<const MessagePair> items) {
    const int selected = ListSelection(page, id);
    ::SendDlgItemMessageW(page, id, CB_RESETCONTENT, 0, 0);
    for (const MessagePair& item : items) {
        const std::wstring text(Pick(item));
        ::SendDlgItemMessageW(page, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SelectListItem(page, id, selected);
}

void FillHistoryCombo(HWND page, int id, const History& history, const std::wstring& text, std::size_t maxChars) {
    ::SendDlgItemMessageW(page, id, CB_LIMITTEXT, maxChars, 0);
    ::SendDlgItemMessageW(page, id, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : history)
        ::SendDlgItemMessageW(page, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SetControlText(page, id, text);
}

void RefillHistoryCombo(HWND page, int id, const History& history, std::size_t maxChars) {
    const std::wstring text = ControlText(page, id, maxChars);
    const int selected = ListSelection(page, id);
    ::SendDlgItemMessageW(page, id, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : history)
        ::SendDlgItemMessageW(page, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    if (selected >= 0 && static_cast<std::size_t>(selected) < history.size() &&
        history[static_cast<std::size_t>(selected)] == text)
        SelectListItem(page, id, selected);
    else
        SetControlText(page, id, text);
}
