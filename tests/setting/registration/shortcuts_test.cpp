#include <gtest/gtest.h>

#include "shortcuts.h"
#include "step_trace.h"
#include "test_files.h"

namespace {

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override {
        MakeFolder(sendTo / L"");
        program = programs / L"VaroSelect.exe";
        other = programs / L"Other.exe";
        WriteText(program, "stand-in");
        WriteText(other, "stand-in");
    }
    std::wstring Lnk(const wchar_t* name) const { return sendTo.path() + name + L".lnk"; }

    TempDir sendTo;
    TempDir programs;
    std::wstring program;
    std::wstring other;
};

}  // namespace

TEST_F(Shortcuts, CreatedShortcutReadsBackItsTarget) {
    ASSERT_EQ(CreateShortcut(sendTo.path(), program, L"", L"VaroSelect - Select Copy_x"), 0);
    EXPECT_TRUE(Exists(Lnk(L"VaroSelect - Select Copy_x")));
    const auto info = ReadShortcut(sendTo.path(), L"VaroSelect - Select Copy_x.lnk", true);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->target, program);
    EXPECT_EQ(info->arguments, L"");
}

TEST_F(Shortcuts, FoundUnderAnyNameAndRemovedWithoutTouchingOthers) {
    EXPECT_EQ(FindShortcut(sendTo.path(), program), 4);
    ASSERT_EQ(CreateShortcut(sendTo.path(), program, L"", L"renamed by the user"), 0);
    ASSERT_EQ(CreateShortcut(sendTo.path(), other, L"", L"another program"), 0);
    EXPECT_EQ(FindShortcut(sendTo.path(), program), 0);
    // Case does not matter when comparing the target.
    EXPECT_EQ(FindShortcut(sendTo.path(), programs.path() + L"VAROSELECT.EXE"), 0);

    EXPECT_EQ(RemoveShortcuts(sendTo.path(), program, false), kShortcutsRemoved);
    EXPECT_FALSE(Exists(Lnk(L"renamed by the user")));
    EXPECT_TRUE(Exists(Lnk(L"another program")));
    EXPECT_EQ(RemoveShortcuts(sendTo.path(), program, false), kShortcutsNone);
}

TEST_F(Shortcuts, RegisteringTwiceLeavesExactlyOneShortcut) {
    ASSERT_EQ(CreateShortcut(sendTo.path(), program, L"", L"old name"), 0);
    ASSERT_EQ(ShortcutTarget(sendTo.path(), program, L"VaroSelect - Select Copy", 2), 0);
    ASSERT_EQ(ShortcutTarget(sendTo.path(), program, L"VaroSelect - Select Copy", 2), 0);
    EXPECT_FALSE(Exists(Lnk(L"old name")));
    EXPECT_TRUE(Exists(Lnk(L"VaroSelect - Select Copy")));
    EXPECT_EQ(ShortcutTarget(sendTo.path(), program, L"VaroSelect - Select Copy", 9), 0);
}

TEST_F(Shortcuts, TargetResultsAndCodes) {
    ThreadFailureLog().ClearRecord();
    EXPECT_EQ(ShortcutTarget(L"", program, L"n", 9), -1);
    EXPECT_EQ(ThreadFailureLog().record().code, 1010u);

    EXPECT_EQ(ShortcutTarget(sendTo.path(), program, L"n", 9), 4);
    EXPECT_EQ(ShortcutTarget(sendTo.path(), program, L"n", 0), 4);  // nothing to remove

    ThreadFailureLog().ClearRecord();
    EXPECT_EQ(ShortcutTarget(sendTo.path(), programs / L"Missing.exe", L"n", 2), -1);
    EXPECT_EQ(ThreadFailureLog().record().code, 1013u);
    EXPECT_EQ(ThreadFailureLog().record().systemError, 2u);

    ThreadFailureLog().ClearRecord();
    EXPECT_EQ(CreateShortcut(sendTo.path(), program, L"", std::wstring(260, L'n')), -1);
    EXPECT_EQ(ThreadFailureLog().record().code, 1020u);
}
