#include <gtest/gtest.h>

#include "pages/copy_to_rules.h"
#include "setting_test_support.h"

TEST(NameKindPairing, EveryTransition) {
    // Row: the kind chosen in one list; column: the other list before; cell: the other list after.
    const int expected[kNameKindCount][kNameKindCount] = {
        {0, 1, 0, 3, 4},  // none clears only Date
        {0, 0, 0, 0, 0},  // Date_time stands alone
        {4, 4, 4, 4, 4},  // Date needs Serial number
        {0, 0, 0, 0, 0},  // Date_Serial number stands alone
        {0, 0, 2, 0, 0},  // Serial number keeps only Date
    };
    for (int chosen = 0; chosen < kNameKindCount; ++chosen)
        for (int other = 0; other < kNameKindCount; ++other)
            EXPECT_EQ(PairedNameKind(chosen, other), expected[chosen][other]) << chosen << " " << other;
    EXPECT_EQ(PairedNameKind(-1, 3), 3);  // no selection leaves the other list alone
}

TEST(NameKindPairing, DateThenNoneLeavesSerialNumber) {
    int before = kKindDate;
    int after = PairedNameKind(before, kKindNone);
    before = kKindNone;
    after = PairedNameKind(before, after);
    EXPECT_EQ(after, kKindSerial);
}

TEST(CopyToEnabling, FolderControlsFollowTheRadioAndDigitsASerialKind) {
    const struct {
        bool specified;
        int before, after;
        bool folder, digits;
    } cases[] = {
        {false, 0, 0, false, false}, {true, 0, 1, true, false}, {false, 3, 0, false, true},  {true, 0, 4, true, true},
        {false, 2, 4, false, true},  {true, 4, 2, true, true},  {false, 2, 0, false, false},
    };
    for (const auto& c : cases) {
        const CopyToEnabling e = CopyToEnablingFor(c.specified, c.before, c.after);
        EXPECT_EQ(e.folderControls, c.folder);
        EXPECT_EQ(e.serialDigits, c.digits) << c.before << " " << c.after;
    }
}

TEST(CopyToLists, ResultListModeAndItsLabel) {
    EXPECT_EQ(ResultListModeOf(5), 0);  // an odd DirTree shows "Off" and stores 0
    EXPECT_EQ(ResultListModeLabel(2).ja, L"【コピー処理は行われないモードです】");
    EXPECT_EQ(ResultListModeLabel(1).en, L"");
}

TEST(NameKindCheck, OnlyTheReachablePairsPass) {
    const int passing[][2] = {{0, 1}, {1, 0}, {0, 3}, {3, 0}, {0, 4}, {4, 0}, {2, 4}, {4, 2}, {0, 0}, {7, 0}};
    for (const auto& p : passing) EXPECT_FALSE(CheckNameKinds(p[0], p[1], 1, false)) << p[0] << " " << p[1];
    EXPECT_FALSE(CheckNameKinds(0, 0, 0, true));
}

TEST(NameKindCheck, MessagesOfEachRule) {
    const struct {
        int before, after, copyMode;
        std::wstring_view ja, en;
    } cases[] = {
        {0, 0, 0, L"付与する文字列に任意の文字を入力する必要があります。\n",
         L"You need to enter an arbitrary character string in the add string.\n"},
        {1, 4, 1, L"付与する文字列には、年月日時分秒は単独でしか指定できません。\n",
         L"In the add strings to be given,Date_time can be specified only by itself.\n"},
        {2, 0, 1, L"付与する文字列には、年月日は必ず連番と組み合わせて指定してください。\n",
         L"In the add strings to be given,Please be sure to combine Date with Serial number.\n"},
        {3, 3, 1, L"付与する文字列には、年月日_連番は単独でしか指定できません。\n",
         L"In the add strings to be given,Date_Serial number can be specified only by itself.\n"},
        {4, 4, 1, L"付与する文字列には、連番は指定なしか年月日しか指定できません。\n",
         L"In the add strings to be given,You can specify only Serial number without designation or Date.\n"},
        // The second pass looks from the kind after the file name.
        {0, 2, 1, L"付与する文字列には、年月日は必ず連番と組み合わせて指定してください。\n",
         L"In the add strings to be given,Please be sure to combine Date with Serial number.\n"},
    };
    for (const auto& c : cases)
        ExpectFailure(CheckNameKinds(c.before, c.after, c.copyMode, false), CheckedField::NameKinds, c.ja, c.en);
}
