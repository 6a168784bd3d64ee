// The main dialog: language list, the tab control with the three pages, and
// the buttons OK, "OK(No save)" and Cancel. It owns the application's state
// for its lifetime (its window's user data) and hands it to each page.
#pragma once

#include <windows.h>

#include "setting_app.h"

// Creates the modeless main dialog (template 110) over `app`, which must
// outlive it; nothing on failure.
HWND CreateMainDialog(SettingApp& app);

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Hides "OK(No save)" and puts OK where it was.
void PlaceOkButton(HWND mainDialog, HWND okButton, HWND noSaveButton);

// Copies the main dialog's and the pages' controls into the settings.
void ReadPages(SettingApp& app);

// The tab captions in the current language, and every page told to set its
// own texts.
void SetDialogTexts(const SettingApp& app);
