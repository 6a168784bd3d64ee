// Conditions page (template 113): which files a copy takes, by name patterns
// and by modification date.
#pragma once

#include <windows.h>

#include "settings.h"

INT_PTR CALLBACK ConditionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

void ReadConditionsPage(HWND page, Settings& settings);

// Captions and the date list in the current language (the list keeps its selection).
void SetConditionsPageTexts(HWND page);

// The caption of the empty-folder check box, which depends on the copy check box.
void SetConditionsEmptyDirCaption(HWND page);

// UpdateDateType and UpdateDateVal of an item of the date list, and back.
struct DateCondition {
    int type = 0;
    int value = 0;
    bool operator==(const DateCondition&) const = default;
};
DateCondition DateConditionFromItem(int item);
int DateListItem(DateCondition condition);
