#include "pages/sub_dialog_keys.h"

#include <windows.h>

#include "text.h"

KeyAction FilterSubDialogKey(SubDialogKind dialog, const KeyPress& key) {
    if (key.virtualKey == VK_ESCAPE) return KeyAction::Swallow;
    if (key.virtualKey == VK_RETURN && dialog == SubDialogKind::Organiser) return KeyAction::Swallow;
    if (key.virtualKey == 'A' && key.ctrl && !key.shift && !key.alt && key.focusIsEdit) return KeyAction::SelectAll;
    return KeyAction::Pass;
}

bool IsEditClass(std::wstring_view className) {
    return EqualsNoCase(className, L"EDIT");
}
