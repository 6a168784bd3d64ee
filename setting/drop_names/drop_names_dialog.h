// The drag-and-drop dialog (template 115): collects the names of files
// dropped on its edit box, one per line, and on OK joins them into the
// condition field it was opened for.
#pragma once

#include <windows.h>

// Opens modal to `page`; `conditionField` is the combo box that "Read from
// selection" reads and OK writes (none: OK writes nothing).
void OpenDropNamesDialog(HWND page, HWND conditionField);
