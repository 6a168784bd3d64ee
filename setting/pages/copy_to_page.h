// Copy-to page (template 112): destination, the parts of new names, Zip and
// the copy result list.
#pragma once

#include <windows.h>

#include "settings.h"

// Created with the application's state (SettingApp) as its parameter.
INT_PTR CALLBACK CopyToPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

void ReadCopyToPage(HWND page, Settings& settings);
