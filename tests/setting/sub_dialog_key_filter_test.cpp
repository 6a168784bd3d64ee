#include <gtest/gtest.h>

#include "sub_dialog_key_filter.h"

namespace {

bool Swallowed(unsigned virtualKey) {
    MSG key{nullptr, WM_KEYDOWN, virtualKey, 0, 0, {0, 0}};
    return ::CallMsgFilterW(&key, MSGF_DIALOGBOX) != FALSE;
}

}  // namespace

// Guards the installed hook: Esc never closes a sub-dialog, and the filter ends with its scope.
TEST(SubDialogKeyFilter, ActsOnlyWhileItsScopeIsOpen) {
    {
        const SubDialogKeyFilterScope organiser(SubDialogKind::Organiser);
        EXPECT_TRUE(Swallowed(VK_ESCAPE));
        EXPECT_TRUE(Swallowed(VK_RETURN));
    }
    {
        const SubDialogKeyFilterScope dropNames(SubDialogKind::DropNames);
        EXPECT_TRUE(Swallowed(VK_ESCAPE));
        EXPECT_FALSE(Swallowed(VK_RETURN));  // a new line in the drop dialog's edit box
    }
    EXPECT_FALSE(Swallowed(VK_ESCAPE));
}
