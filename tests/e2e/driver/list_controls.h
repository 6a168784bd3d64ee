// Reading and changing list views and combo boxes of another process, and
// dropping files on a window, through memory in the target process.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

struct ListViewRow {
    std::wstring text;  // first column
    bool selected;
    bool focused;
};

std::optional<std::vector<ListViewRow>> ListViewRows(HWND list);

// Sets or clears the selected and focused state of one row, or of every row with -1.
bool SetListViewSelection(HWND list, int row, bool selected);

std::optional<std::vector<std::wstring>> ComboItems(HWND combo);

// Sends WM_DROPFILES with a DROPFILES block (wide paths) built in the target's process.
bool DropFiles(HWND target, const std::vector<std::wstring>& paths);
