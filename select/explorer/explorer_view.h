// Shows the result of a copy run in an Explorer window: an open window on the
// destination folder is brought to the front, else Explorer is started with
// the result selected.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

#include "explorer/explorer_windows.h"

// folder: the folder that holds the result (a trailing "\" is allowed);
// item: the result's name in it. Called on the copy tool's worker thread;
// failures only mean that a new Explorer window is opened, or none.
void ShowResultInExplorer(std::wstring_view folder, std::wstring_view item);

// Polls the open Explorer windows (101 times, 100 ms apart) until one shows
// folder, then brings it to the front.
void WaitForExplorerWindow(std::wstring_view folder);

// Restores a minimised window without activating it, or shows it as it is.
int ShowCommandForPlacement(UINT showState);

// Shows the record's window as its placement needs and raises it above the
// other windows without leaving it topmost.
void ShowFolderWindow(const ExplorerWindowRecord& record);

// Explorer's parameters that open folder with item selected.
std::wstring ExplorerSelectParameters(std::wstring_view folder, std::wstring_view item);
