// What the thread's message filter does with a key press while a modal
// sub-dialog (the history organiser or the drag-and-drop dialog) is open.
#pragma once

#include <string_view>

enum class SubDialogKind { Organiser, DropNames };

enum class KeyAction {
    Pass,       // on to the next hook and the dialog
    Swallow,    // dropped, so that it does not close the dialog
    SelectAll,  // select the whole text of the focused edit box, then drop the key
};

struct KeyPress {
    unsigned virtualKey;
    bool ctrl;
    bool shift;
    bool alt;
    bool focusIsEdit;  // the focused window's class is "EDIT" (IsEditClass)
};

// The organiser swallows Esc and Enter, the drag-and-drop dialog only Esc
// (Enter makes a new line in its edit box); Ctrl+A alone selects all in an edit box.
KeyAction FilterSubDialogKey(SubDialogKind dialog, const KeyPress& key);

bool IsEditClass(std::wstring_view className);
