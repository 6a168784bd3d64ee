// The main dialog: language list, the tab control with the three pages, and
// the buttons OK, "OK(No save)" and Cancel.
#pragma once

#include <windows.h>

// Creates the modeless main dialog (template 110); nothing on failure.
HWND CreateMainDialog(HINSTANCE instance);

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Hides "OK(No save)" and puts OK where it was.
void PlaceOkButton(HWND mainDialog, HWND okButton, HWND noSaveButton);

// Copies the main dialog's and the pages' controls into the settings.
void ReadPages();

// 0: tab captions and every page's texts and word lists; 1: only the
// conditions page's empty-folder caption; 2: only the copy-to page's
// result-list note.
enum class DialogTexts { All = 0, EmptyFolderCaption = 1, ResultListNote = 2 };
void SetDialogTexts(DialogTexts mode);
