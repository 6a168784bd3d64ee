// Conditions page (template 113): which files a copy takes, by name patterns
// and by modification date.
#pragma once

#include <windows.h>

#include "settings.h"

INT_PTR CALLBACK ConditionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

void ReadConditionsPage(HWND page, Settings& settings);

// After the confirmation checks: the date edits show the dates as checked
// (a repaired date in its new form).
void ShowCheckedDates(HWND page, const Settings& settings);

// Refills the four condition lists from the histories, keeping each list's selection.
void RefreshConditionLists(HWND page);

// Captions and the date list in the current language (the list keeps its selection).
void SetConditionsPageTexts(HWND page);

// The caption of the empty-folder check box, which depends on the copy check box.
void SetConditionsEmptyDirCaption(HWND page);
