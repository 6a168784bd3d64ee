#include <gtest/gtest.h>

#include <windows.h>

#include "pages/sub_dialog_keys.h"

TEST(SubDialogKeys, EscAndEnterDoNotCloseAndCtrlASelectsAll) {
    using D = SubDialogKind;
    const struct {
        D dialog;
        KeyPress key;
        KeyAction expected;
    } cases[] = {
        {D::Organiser, {VK_ESCAPE, false, false, false, false}, KeyAction::Swallow},
        {D::Organiser, {VK_RETURN, false, false, false, true}, KeyAction::Swallow},
        {D::DropNames, {VK_ESCAPE, false, false, false, true}, KeyAction::Swallow},
        {D::DropNames, {VK_RETURN, false, false, false, true}, KeyAction::Pass},  // a new line in the edit box
        {D::DropNames, {'A', true, false, false, true}, KeyAction::SelectAll},
        {D::Organiser, {'A', true, true, false, true}, KeyAction::Pass},
        {D::Organiser, {'A', true, false, false, false}, KeyAction::Pass},
    };
    for (const auto& c : cases) EXPECT_EQ(FilterSubDialogKey(c.dialog, c.key), c.expected) << c.key.virtualKey;
    EXPECT_TRUE(IsEditClass(L"Edit"));
    EXPECT_FALSE(IsEditClass(L"RichEdit20W"));
}
