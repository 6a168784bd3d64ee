// The thread's message filter while a modal sub-dialog of the settings
// application is open (the history organiser, the drag-and-drop dialog): Esc
// (and, for the organiser, Enter) do not close it, and Ctrl+A selects the
// whole text of the focused edit box.
#pragma once

#include <windows.h>

#include "pages/sub_dialog_keys.h"

// The filter procedure (WH_MSGFILTER) that applies FilterSubDialogKey.
LRESULT CALLBACK SubDialogKeyFilter(int code, WPARAM wParam, LPARAM lParam);

// Installs SubDialogKeyFilter on this thread for `dialog` and removes it when
// the scope ends; open the modal sub-dialog inside the scope.
class SubDialogKeyFilterScope {
public:
    explicit SubDialogKeyFilterScope(SubDialogKind dialog);
    ~SubDialogKeyFilterScope();
    SubDialogKeyFilterScope(const SubDialogKeyFilterScope&) = delete;
    SubDialogKeyFilterScope& operator=(const SubDialogKeyFilterScope&) = delete;

private:
    HHOOK hook_;
};
