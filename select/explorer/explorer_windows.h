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
};

// Fills records with the open Explorer windows. Returns 0, or -1 when the
// list was cut short (the records found before stay usable). Initialises COM
// on the calling thread for its own duration.
int EnumerateExplorerWindows(std::vector<ExplorerWindowRecord>& records);

// The first record that shows folder (no trailing "\"), compared without
// regard to case; nullptr when none does.
const ExplorerWindowRecord* FindFolderWindow(const std::vector<ExplorerWindowRecord>& records,
                                             std::wstring_view folder);
