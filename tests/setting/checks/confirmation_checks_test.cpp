#include <gtest/gtest.h>

#include "checks/confirmation_checks.h"
#include "setting_test_support.h"

namespace {

struct Fixture {
    std::vector<std::wstring> createdFolders;
    bool folderCreated = true;

    ConfirmationHooks Hooks() {
        return {FindQuestionMark, FindQuestionMark, [this](const std::wstring& folder) {
                    createdFolders.push_back(folder);
                    return folderCreated;
                }};
    }
};

}  // namespace

TEST(ConfirmationChecks, TheFirstFailingStepInTheFixedOrderIsReported) {
    Fixture fixture;
    Settings s;
    s.Path = L"C:\\" + std::wstring(300, L'p');
    s.PrefixBef1 = L"a?";
    s.TargetFile = L"*.t?t";
    s.AddStringsBef = 1;
    s.UpdateDateStr = L"2024-1-1";
    // Each step's field in order; after each report the field is mended.
    const std::vector<std::pair<CheckedField, std::function<void()>>> steps = {
        {CheckedField::Path, [&] { s.Path = L"C:\\out"; }},
        {CheckedField::PrefixBef1, [&] { s.PrefixBef1.clear(); }},
        {CheckedField::TargetFile, [&] { s.TargetFile = L"*.txt"; }},
        {CheckedField::NameKinds, [&] { s.AddStringsBef = 0; }},
        {CheckedField::UpdateDateStr, [&] { s.UpdateDateStr = L"2024/1/1"; }},
    };
    for (const auto& [field, mend] : steps) {
        const ConfirmationResult result = RunConfirmationChecks(s, fixture.Hooks());
        ASSERT_TRUE(result.failure);
        EXPECT_EQ(result.failure->field, field);
        mend();
    }
    EXPECT_FALSE(RunConfirmationChecks(s, fixture.Hooks()).failure);
    EXPECT_EQ(s.Path, L"C:\\out\\");
    EXPECT_TRUE(fixture.createdFolders.empty());  // CopyMode 0 needs no destination folder
}

TEST(ConfirmationChecks, DestinationFolderIsCreatedForTheSpecifiedFolderMode) {
    Fixture fixture;
    Settings s;
    s.CopyMode = 1;
    s.Path = L"C:\\new";
    EXPECT_FALSE(RunConfirmationChecks(s, fixture.Hooks()).failure);
    EXPECT_EQ(fixture.createdFolders, std::vector<std::wstring>{L"C:\\new\\"});
    fixture.folderCreated = false;
    ExpectFailure(RunConfirmationChecks(s, fixture.Hooks()).failure, CheckedField::Path,
                  L"コピー先のフォルダの作成に失敗しました。\nC:\\new\\",
                  L"Failed to create the destination folder.\nC:\\new\\");
}

TEST(ConfirmationChecks, ChangesStayWhenALaterStepFails) {
    Fixture fixture;
    Settings s;
    s.NoTargetFile = L"*.tmp\r\n";
    s.UpdateDateStr = L"2024/2/30";
    s.UpdateDateEnd = L"2024/1/1";
    const ConfirmationResult result = RunConfirmationChecks(s, fixture.Hooks());
    EXPECT_EQ(s.NoTargetFile, L"*.tmp");
    EXPECT_EQ(s.UpdateDateStr, L"2024/2/29");
    ASSERT_EQ(result.notices.size(), 1u);  // the repair is announced before the refusal
    ExpectFailure(
        result.failure, CheckedField::UpdateDateEnd,
        L"ファイル更新日の範囲指定で、開始日よりも終了日が早くなっています。\n\n2024/2/29 > 2024/1/1\n",
        L"The file update date range, the end date is earlier than the start date.\n\n2024/2/29 > 2024/1/1\n");
}
