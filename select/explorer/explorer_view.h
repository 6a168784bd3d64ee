// Shows the result of a copy run in an Explorer window: an open window on the
// destination folder is brought to the front, else Explorer is started with
// the result selected.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

#include <windows.h>

#include "explorer/explorer_windows.h"

// How long the copy tool looks for the window of an Explorer it started.
constexpr DWORD kExplorerWindowWaitMs = 10 * 1000;

// folder: the folder that holds the result (a trailing "\" is allowed);
// item: the result's name in it. Called on the copy tool's worker thread;
// failures only mean that a new Explorer window is opened, or none. `stop`,
// when set, ends the wait for a new window early.
void ShowResultInExplorer(std::wstring_view folder, std::wstring_view item, const std::atomic<bool>* stop = nullptr);

// Looks at the open Explorer windows every 100 ms until one shows folder,
// then brings it to the front. Bounded by time, not by a count of looks: a
// look can take seconds while the shell is busy. No look starts after
// limitMs, or once `stop` is set.
void WaitForExplorerWindow(std::wstring_view folder, DWORD limitMs = kExplorerWindowWaitMs,
                           const std::atomic<bool>* stop = nullptr);

// Restores a minimised window without activating it, or shows it as it is.
int ShowCommandForPlacement(UINT showState);

// Shows the record's window as its placement needs and raises it above the
// other windows without leaving it topmost.
void ShowFolderWindow(const ExplorerWindowRecord& record);

// Explorer's parameters that open folder with item selected.
std::wstring ExplorerSelectParameters(std::wstring_view folder, std::wstring_view item);
