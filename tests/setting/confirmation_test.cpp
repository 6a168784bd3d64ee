#include <gtest/gtest.h>

#include <vector>

#include "checks/confirmation_checks.h"
#include "confirmation.h"
#include "paths.h"
#include "settings_hand_off.h"

TEST(LeavingTheDialog, SaveTargetAndAnswerPerButton) {
    const struct {
        LeaveButton button;
        bool save;
        bool temporary;
        int answer;
    } cases[] = {
        {LeaveButton::Ok, true, false, kAnswerSaved},
        {LeaveButton::OkNoSave, true, true, kAnswerThisRunOnly},
        {LeaveButton::Cancel, false, false, kAnswerCancelled},
    };
    for (const auto& c : cases) {
        const LeavePlan plan = PlanLeaving(c.button);
        EXPECT_EQ(plan.save, c.save);
        EXPECT_EQ(plan.useTemporary, c.temporary);
        EXPECT_EQ(plan.answer, c.answer);
    }
}

namespace {

// Folders as a table: which exist, whether creating works, what was created.
struct FakeFolders {
    std::vector<std::wstring> existing;
    bool createWorks = true;
    std::vector<std::wstring> created;

    FolderOperations operations() {
        return {[this](const std::wstring& path) {
                    for (const auto& folder : existing)
                        if (folder == path) return true;
                    return false;
                },
                [this](const std::wstring& path) {
                    created.push_back(path);
                    return createWorks;
                }};
    }
};

Settings WithDestination(int copyMode, std::wstring path) {
    Settings settings;
    settings.CopyMode = copyMode;
    settings.Path = std::move(path);
    return settings;
}

}  // namespace

TEST(ConfirmationChecks, DestinationLengthAndFolder) {
    const std::wstring at259 = L"C:\\" + std::wstring(255, L'a') + L"\\";
    const std::wstring at260 = L"C:\\" + std::wstring(256, L'a') + L"\\";
    const struct {
        int copyMode;
        std::wstring path;
        bool exists;
        bool createWorks;
        std::wstring failure;  // English text, empty when every check passes
        bool created;
    } cases[] = {
        {1, L"C:\\out", true, true, L"", false},
        {1, L"C:\\new", false, true, L"", true},
        {1, L"C:\\new", false, false, L"Failed to create the destination folder.\nC:\\new\\", true},
        {0, L"C:\\new", false, false, L"", false},
        {1, L"", false, false, L"", false},
        {1, at259, true, true, L"", false},
        {1, at260, true, true,
         L"The path of the copy destination folder is too long.\n\nNow:260 characters  Max:259 characters\n\n" + at260,
         false},
        // The length is checked before anything is created.
        {1, at260, false, true, L"too long", false},
    };
    for (const auto& c : cases) {
        FakeFolders folders;
        if (c.exists) folders.existing.push_back(AddTrailingBackslash(c.path));
        folders.createWorks = c.createWorks;
        Settings settings = WithDestination(c.copyMode, c.path);
        const auto failure = RunConfirmationChecks(settings, folders.operations());
        if (c.failure.empty()) {
            EXPECT_FALSE(failure) << c.path << ": " << (failure ? failure->en : L"");
        } else if (c.failure == L"too long") {
            ASSERT_TRUE(failure);
            EXPECT_NE(failure->en.find(L"too long"), std::wstring::npos);
        } else {
            ASSERT_TRUE(failure) << c.path;
            EXPECT_EQ(failure->en, c.failure);
        }
        EXPECT_EQ(!folders.created.empty(), c.created) << c.path;
    }
}
