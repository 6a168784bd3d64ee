#include <gtest/gtest.h>

#include "history_organiser/organiser_actions.h"
#include "setting_test_support.h"

namespace {

History Entries(std::initializer_list<const wchar_t*> first) {
    History history;
    std::size_t i = 0;
    for (const wchar_t* entry : first) history[i++] = entry;
    return history;
}

ActionOutcome Apply(OrganiserAction action, History& history, int row, std::wstring_view text = L"",
                    OrganiserVariant variant = OrganiserVariant::Condition) {
    return ApplyOrganiserAction(action, variant, history, row, text, FindQuestionMark);
}

}  // namespace

TEST(OrganiserActions, MovesAndDeleteInsideAndAtTheEnds) {
    using A = OrganiserAction;
    const History three = Entries({L"one", L"two", L"three"});
    const History full = Entries({L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10"});
    History nine = full;
    nine[9].clear();
    const struct {
        A action;
        History before;
        int row;
        History after;
        bool refill;
        int selectRow;
    } cases[] = {
        {A::Up, three, 0, three, false, -1},  // the ends change nothing and do not refill
        {A::Down, full, 9, full, false, -1},
        {A::Up, three, 2, Entries({L"one", L"three", L"two"}), true, 1},
        {A::Down, three, 2, Entries({L"one", L"two", L"", L"three"}), true, 3},
        {A::Delete, three, 0, Entries({L"two", L"three"}), true, 0},
        {A::Delete, full, 9, nine, true, 9},
    };
    for (const auto& c : cases) {
        History history = c.before;
        const ActionOutcome outcome = Apply(c.action, history, c.row);
        EXPECT_EQ(history, c.after) << c.row;
        EXPECT_EQ(outcome.refill, c.refill) << c.row;
        EXPECT_EQ(outcome.selectRow, c.selectRow) << c.row;
        EXPECT_EQ(outcome.status->en, L"");  // the status line is emptied
    }
}

TEST(OrganiserActions, WithoutARowOnlyUpdateFindsOne) {
    History history = Entries({L"one", L"", L"three"});
    for (const auto action : {OrganiserAction::Up, OrganiserAction::Down, OrganiserAction::Delete}) {
        const ActionOutcome outcome = Apply(action, history, -1);
        ASSERT_TRUE(outcome.error);
        ExpectMessage(*outcome.error, L"リストを選択してください。\n", L"Please select a list.\n");
        EXPECT_FALSE(outcome.status);
    }
    const ActionOutcome outcome = Apply(OrganiserAction::Update, history, -1, L"two");
    EXPECT_EQ(history, Entries({L"one", L"two", L"three"}));
    EXPECT_EQ(outcome.selectRow, 1);
    history = Entries({L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"10"});
    EXPECT_TRUE(Apply(OrganiserAction::Update, history, -1, L"new").error);
}

TEST(OrganiserActions, UpdateStatusTellsWhetherControlCodesWereRemoved) {
    History history;
    EXPECT_EQ(Apply(OrganiserAction::Update, history, 0, L" C:\\a\r\n", OrganiserVariant::Folder).status->en,
              L"Removed the control code and updated.");
    EXPECT_EQ(history[0], L" C:\\a");  // neither trimmed nor given a trailing backslash
    EXPECT_EQ(Apply(OrganiserAction::Update, history, 1, L"*.txt").status->ja, L"更新しました。");
}

TEST(OrganiserActions, UpdateChecksRefuseAndChangeNothing) {
    const std::wstring item(260, L'x');
    const std::wstring longList(8192, L':');
    const struct {
        OrganiserVariant variant;
        std::wstring text;
        std::wstring ja, en;
    } cases[] = {
        {OrganiserVariant::Folder, std::wstring(260, L'f'),
         L"フォルダのパスが長すぎます。\n\n現在:260文字以上 最大:259文字\n\n" + std::wstring(260, L'f'),
         L"The folder path is too long.\n\nNow:260 characters or more  Max:259 characters\n\n" +
             std::wstring(260, L'f')},
        {OrganiserVariant::Folder, L"C:\\a?",
         L"フォルダのパスに使用できない文字が含まれています。\n\nNG : ? \n\nC:\\a?",
         L"The folder path contains characters that can not be used.\n\nNG : ? \n\nC:\\a?"},
        {OrganiserVariant::Condition, L"a : " + item + L" : b?",
         L"選択条件が長すぎます。\n\n現在:260文字以上 最大:259文字\n\n" + item,
         L"The selection condition is too long.\n\nNow:260 characters or more  Max:259 characters\n\n" + item},
        {OrganiserVariant::Condition, L"*.t?t", L"選択条件に使用できない文字が含まれています。\n\nNG : ? \n\n*.t?t",
         L"Characters that can not be used for selection conditions are included.\n\nNG : ? \n\n*.t?t"},
    };
    for (const auto& c : cases) {
        History history = Entries({L"kept"});
        const ActionOutcome outcome = Apply(OrganiserAction::Update, history, 0, c.text, c.variant);
        ASSERT_TRUE(outcome.error) << c.en;
        ExpectMessage(*outcome.error, c.ja, c.en);
        EXPECT_EQ(history, Entries({L"kept"}));
    }
    History history;
    EXPECT_TRUE(FormatCheckMessage(*Apply(OrganiserAction::Update, history, 0, longList).error, true)
                    .starts_with(L"選択条件が長すぎます。\n\n現在:8192文字以上 最大:8191文字"));
}

TEST(OrganiserOpening, HistoryAndRowFromTheCallingPage) {
    EXPECT_EQ(FolderOrganiserStart(-1), (OrganiserStart{0, 0}));
    EXPECT_EQ(FolderOrganiserStart(4), (OrganiserStart{0, 4}));
    const struct {
        int radio;
        ConditionHistorySelection slots;
        OrganiserStart expected;
    } cases[] = {
        {kSelectAll, {-1, 5, -1, -1}, {0, 0}},     {kSelectTarget, {-1, 5, -1, -1}, {1, 5}},
        {kSelectTarget, {3, -1, -1, -1}, {0, 3}},  {kSelectTarget, {-1, -1, -1, 2}, {0, 0}},
        {kSelectExclude, {-1, -1, -1, 0}, {3, 0}}, {kSelectExclude, {-1, -1, 6, -1}, {2, 6}},
    };
    for (const auto& c : cases) EXPECT_EQ(ConditionOrganiserStart(c.radio, c.slots), c.expected) << c.radio;
}

TEST(OrganiserFill, PlanOfFillHistoryList) {
    using V = OrganiserVariant;
    const struct {
        V variant;
        bool opening;
        int shown, chosen;
        bool busy;
        int requested;
        FillPlan expected;
    } cases[] = {
        {V::Folder, true, 0, 0, false, 3, {true, true, 3}},
        {V::Folder, false, 0, 0, true, -1, {true, false, -1}},
        {V::Condition, true, -1, 2, false, 4, {true, true, 4}},
        {V::Condition, false, 2, 2, false, -1, {false, false, -1}},  // the same history again changes nothing
        {V::Condition, false, 2, 1, false, -1, {true, true, 0}},
        {V::Condition, false, 1, 1, true, 5, {true, false, 5}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlanHistoryFill(c.variant, c.opening, c.shown, c.chosen, c.busy, c.requested), c.expected);
    EXPECT_TRUE(ListNotificationClearsStatus(V::Folder, false, false));
    EXPECT_FALSE(ListNotificationClearsStatus(V::Folder, false, true));
    EXPECT_TRUE(ListNotificationClearsStatus(V::Condition, false, true));
    EXPECT_FALSE(ListNotificationClearsStatus(V::Condition, true, false));
}

TEST(OrganiserCopies, OkStoresOnlyTheVariantsHistories) {
    Settings settings;
    settings.NoTargetFileHis = Entries({L"*.tmp"});
    WorkingHistories working = TakeWorkingHistories(settings, OrganiserVariant::Condition);
    ASSERT_EQ(working.lists.size(), 4u);
    working.lists[3] = Entries({L"*.keep"});
    StoreWorkingHistories(working, settings);
    EXPECT_EQ(settings.ExTargetFileHis, Entries({L"*.keep"}));
    EXPECT_EQ(settings.NoTargetFileHis, Entries({L"*.tmp"}));
}
