// The open Explorer windows that show file-system folders, as the shell's
// window collection lists them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

struct ExplorerWindowRecord {
    std::wstring path;      // the folder shown, "C:\..." or "\\server\share\...", as LocationUrlToFolder gives it
    HWND window = nullptr;  // the Explorer top-level window
    WINDOWPLACEMENT placement = {};
    bool inFront = true;  // the window shows this folder, not another tab (see ShowsInFront)
};

// One entry of the shell's window list and the windows it sits in. Explorer
// with tabs (Windows 11) lists every tab as an entry; the tabs of one window
// share its frame, and only the tab in front has its own view window shown.
struct ShellView {
    HWND frame = nullptr;  // the top-level window
    HWND view = nullptr;   // the entry's own browser window: the tab, or the frame itself
    bool visible = false;  // whether that view window is shown
};

// Whether own's frame shows own's folder: own is the only entry on its
// frame, or the only one on it whose view is shown. Where the views do not
// tell (several shown) the answer is no, so that a frame is never raised on
// another folder.
bool ShowsInFront(const std::vector<ShellView>& views, const ShellView& own);

// Fills records with the open Explorer windows. Returns 0, or -1 when the
// list was cut short (the records found before stay usable). Initialises COM
// on the calling thread for its own duration.
int EnumerateExplorerWindows(std::vector<ExplorerWindowRecord>& records);

// The first record whose window shows folder (no trailing "\") in front,
// compared without regard to case; nullptr when none does.
const ExplorerWindowRecord* FindFolderWindow(const std::vector<ExplorerWindowRecord>& records,
                                             std::wstring_view folder);
