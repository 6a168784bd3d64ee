// Opens the modal sub-dialogs of the pages (the history organiser and the
// drag-and-drop dialog) with the key filter in force, so that Esc (and in
// the organiser Enter) cannot close them by accident.
#pragma once

#include <windows.h>

#include "pages/sub_dialog_keys.h"

// Runs the dialog modal to `owner` and returns its end code; when it cannot
// be shown, says so and returns -1.
INT_PTR RunSubDialog(HWND owner, int templateId, DLGPROC procedure, LPARAM param, SubDialogKind kind);
