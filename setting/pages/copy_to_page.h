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

// Result-list items and DirTree values coincide for 1 and 2; anything else
// (no selection included) is item and value 0.
int DirTreeItem(int value);
