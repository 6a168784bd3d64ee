// Copy-to page (template 112): destination, the parts of new names, Zip and
// the copy result list.
#pragma once

#include <windows.h>

#include "settings.h"

INT_PTR CALLBACK CopyToPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

void ReadCopyToPage(HWND page, Settings& settings);

// Captions and word lists in the current language (lists keep their selection).
void SetCopyToPageTexts(HWND page);

// The note beside the result-list mode, shown while "no copy" is selected.
void SetCopyToDirTreeNote(HWND page);

// Refills combo 1000 from PathHis after the history organiser changed it,
// keeping the list selection (or, without one, the typed text).
void RefreshFolderList(HWND page);

// -1 after the page was filled; afterwards the list selection of combo 1000
// at its last notification, 0 when it had none. The folder-history
// organiser opens on this entry.
int FolderHistorySelection();
