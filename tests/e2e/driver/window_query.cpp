#include "window_query.h"

#include <algorithm>
#include <cwctype>

#include "text.h"

namespace {

// Long enough for a busy program to answer, short enough that a hung one
// cannot stall the driver.
constexpr UINT kSendTimeoutMs = 5000;

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    auto* windows = reinterpret_cast<std::vector<HWND>*>(context);
    windows->push_back(window);
    return TRUE;
}

std::wstring WithoutMnemonics(std::wstring_view text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&') {
            if (i + 1 < text.size() && text[i + 1] == L'&') out += L'&', ++i;
            continue;
        }
        out += static_cast<wchar_t>(std::towlower(text[i]));
    }
    return out;
}

bool HasDescendantOfClass(HWND window, std::wstring_view className) {
    for (HWND child : Descendants(window))
        if (EqualsNoCase(ClassNameOf(child), className)) return true;
    return false;
}

}  // namespace

std::optional<std::wstring> WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &length))
        return std::nullopt;
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &copied))
        return std::nullopt;
    text.resize(copied < text.size() ? copied : text.size() - 1);
    return text;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
    std::vector<HWND> all;
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    if (pid == 0) return all;
    std::vector<HWND> mine;
    for (HWND window : all)
        if (ProcessOf(window) == pid) mine.push_back(window);
    return mine;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> windows;
    ::EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND FindControlById(HWND parent, int id) {
    if (HWND direct = ::GetDlgItem(parent, id)) return direct;
    for (HWND child : Descendants(parent))
        if (::GetDlgCtrlID(child) == id) return child;
    return nullptr;
}

HWND FindControlByText(HWND parent, std::wstring_view text) {
    const std::wstring wanted = WithoutMnemonics(text);
    for (HWND child : Descendants(parent)) {
        const std::optional<std::wstring> childText = WindowText(child);
        if (childText && WithoutMnemonics(*childText) == wanted) return child;
    }
    return nullptr;
}

bool IsMessageBox(HWND window) {
    if (ClassNameOf(window) != L"#32770") return false;
    HWND text = ::GetDlgItem(window, kMessageBoxTextId);
    if (!text || !EqualsNoCase(ClassNameOf(text), L"Static")) return false;
    for (HWND child : Descendants(window)) {
        const std::wstring className = ClassNameOf(child);
        if (!EqualsNoCase(className, L"Static") && !EqualsNoCase(className, L"Button")) return false;
    }
    return true;
}

bool Matches(HWND window, const WindowPattern& pattern) {
    if (pattern.pid != 0 && ProcessOf(window) != pattern.pid) return false;
    if (std::find(pattern.excluded.begin(), pattern.excluded.end(), window) != pattern.excluded.end()) return false;
    if (pattern.visibleOnly && !::IsWindowVisible(window)) return false;
    if (pattern.className && ClassNameOf(window) != *pattern.className) return false;
    if (pattern.childId && !FindControlById(window, *pattern.childId)) return false;
    if (pattern.childClass && !HasDescendantOfClass(window, *pattern.childClass)) return false;
    if (pattern.messageBoxOnly && !IsMessageBox(window)) return false;
    if (pattern.title) {
        const std::optional<std::wstring> title = WindowText(window);
        if (!title || *title != *pattern.title) return false;
    }
    return true;
}

HWND FindTopLevel(const WindowPattern& pattern) {
    for (HWND window : TopLevelWindows(pattern.pid))
        if (Matches(window, pattern)) return window;
    return nullptr;
}
