#include <gtest/gtest.h>

#include "pages/conditions_rules.h"

TEST(ConditionsEnabling, TableOfCheckBoxAndRadios) {
    const struct {
        bool selectOn;
        int radio;
        ConditionsEnabling expected;
    } cases[] = {
        {false, kSelectTarget, {false, false, false}}, {false, kSelectAll, {false, false, false}},
        {true, kSelectTarget, {true, true, false}},    {true, kSelectExclude, {true, false, true}},
        {true, kSelectAll, {true, false, false}},      {true, kSelectNone, {true, false, false}},
    };
    for (const auto& c : cases) {
        const ConditionsEnabling e = ConditionsEnablingFor(c.selectOn, c.radio);
        EXPECT_EQ(e.selection, c.expected.selection) << c.selectOn << " " << c.radio;
        EXPECT_EQ(e.targetLists, c.expected.targetLists) << c.selectOn << " " << c.radio;
        EXPECT_EQ(e.excludeLists, c.expected.excludeLists) << c.selectOn << " " << c.radio;
    }
}

TEST(ConditionsPage, EmptyFolderCaptionFollowsFileCopy) {
    EXPECT_EQ(EmptyFolderCaption(true).en, L"If there is no file to be copied, do not copy the &folder");
    EXPECT_EQ(EmptyFolderCaption(false).ja, L"コピー元が空フォルダの場合はフォルダをコピーしない(&E)");
}

TEST(ConditionsPage, HistorySelectionKeepsOnlyTheComboUsedLast) {
    EXPECT_EQ(ConditionHistorySelectionAfter(1, 4), (ConditionHistorySelection{-1, 4, -1, -1}));
    EXPECT_EQ(ConditionHistorySelectionAfter(3, -1), (ConditionHistorySelection{-1, -1, -1, 0}));
}
