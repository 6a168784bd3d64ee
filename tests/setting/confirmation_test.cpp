#include <gtest/gtest.h>

#include <vector>

#include "confirmation.h"
#include "message_capture.h"
#include "settings_hand_off.h"
#include "settings_store.h"
#include "test_files.h"

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

// Leaving the dialog with the real settings store, whose key writer may fail
// after some keys, and a copy tool that notes each answer it gets.
struct LeavingWithAStore {
    explicit LeavingWithAStore(const TempDir& dir)
        : paths(MakeSettingsPaths(dir / L"Varo", dir / L"AppData")), settings(DefaultSettings(false, std::nullopt)) {
        MakeFolder(paths.programFolder);
    }
    bool Leave(LeaveButton button, const ProfileKeyWriter& writer = SystemProfileKeyWriter()) {
        return LeaveDialog(
            button, {[] { return true; },
                     [&](bool useTemporary) { return SaveAppSettings(nullptr, paths, settings, useTemporary, writer); },
                     [&](int answer) { answers.push_back(answer); }});
    }

    SettingsPaths paths;
    Settings settings;
    std::vector<int> answers;
};

ProfileKeyWriter FailingAfter(int keys) {
    return [keys, written = 0](const std::wstring& file, const std::wstring& key, const std::wstring& value) mutable {
        return written++ < keys && SystemProfileKeyWriter()(file, key, value);
    };
}

}  // namespace

TEST(LeavingTheDialog, ASaveThatFailsHalfwayIsNeverAnsweredAsSaved) {
    TempDir dir;
    LeavingWithAStore dialog(dir);
    ASSERT_TRUE(dialog.Leave(LeaveButton::Ok));
    ASSERT_EQ(dialog.answers, std::vector<int>{kAnswerSaved});
    const auto savedFile = ReadBytes(dialog.paths.settingsFile);
    const auto savedBackup = ReadBytes(dialog.paths.backupFile);

    dialog.answers.clear();
    dialog.settings.PrefixAft1 = L"-changed";
    {
        MessageCapture boxes;
        for (const LeaveButton button : {LeaveButton::Ok, LeaveButton::OkNoSave})
            EXPECT_FALSE(dialog.Leave(button, FailingAfter(20)));  // the dialog stays open
        EXPECT_EQ(boxes.texts.size(), 2u);
    }
    EXPECT_TRUE(dialog.answers.empty());
    EXPECT_EQ(ReadBytes(dialog.paths.settingsFile), savedFile);
    EXPECT_EQ(ReadBytes(dialog.paths.backupFile), savedBackup);
    EXPECT_FALSE(Exists(dialog.paths.temporaryFile));

    // What the user can still do: leave without saving, which says so.
    EXPECT_TRUE(dialog.Leave(LeaveButton::Cancel));
    EXPECT_EQ(dialog.answers, std::vector<int>{kAnswerCancelled});
}
