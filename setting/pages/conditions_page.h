// Conditions page (template 113): which files a copy takes, by name patterns
// and by modification date.
#pragma once

#include <windows.h>

#include "settings.h"

// Created with the application's state (SettingApp) as its parameter.
INT_PTR CALLBACK ConditionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

void ReadConditionsPage(HWND page, Settings& settings);

// After the confirmation checks: the date edits show the dates as checked
// (a repaired date in its new form).
void ShowCheckedDates(HWND page, const Settings& settings);
