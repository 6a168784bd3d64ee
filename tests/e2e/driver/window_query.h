// Finding and reading the windows of other processes, the way a person sees
// them: top-level windows by process, class and title; controls by id or text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

// Reads a window's text with WM_GETTEXT, which the system marshals across
// processes; nothing when the window does not answer within a short time.
std::optional<std::wstring> WindowText(HWND window);
std::wstring ClassNameOf(HWND window);
DWORD ProcessOf(HWND window);

// Top-level windows in Z order; pid 0 lists those of every process.
std::vector<HWND> TopLevelWindows(DWORD pid);

// Every descendant of a window (controls inside child dialogs included).
std::vector<HWND> Descendants(HWND parent);

// A control by id: the direct child first, then any descendant.
HWND FindControlById(HWND parent, int id);

// A control by its text, compared without "&" mnemonics and without regard
// to case ("&Yes" matches "yes").
HWND FindControlByText(HWND parent, std::wstring_view text);

// The static that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

// A message box: a dialog holding only statics and buttons, its text in
// the static 0xFFFF. (Ordinary dialogs may hold a static 0xFFFF too: the
// id of unnamed labels.)
bool IsMessageBox(HWND window);

// What a top-level window must be to match a wait; empty fields match anything.
struct WindowPattern {
    DWORD pid = 0;
    std::optional<std::wstring> className;
    std::optional<std::wstring> title;
    std::optional<int> childId;              // the window holds a control with this id
    std::optional<std::wstring> childClass;  // ... and one of this class
    bool messageBoxOnly = false;
    bool visibleOnly = true;
    std::vector<HWND> excluded;  // windows the caller has already dealt with
};

bool Matches(HWND window, const WindowPattern& pattern);
HWND FindTopLevel(const WindowPattern& pattern);
