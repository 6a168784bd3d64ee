#include <gtest/gtest.h>

#include "pages/conditions_page.h"
#include "pages/copy_to_page.h"

TEST(DateList, ItemsGiveTypeAndValue) {
    const struct {
        int item;
        DateCondition condition;
    } cases[] = {
        {-1, {0, 0}}, {0, {0, 0}},   {1, {1, 0}},  {2, {2, 0}},  {3, {2, 1}},  {33, {2, 31}},
        {34, {3, 2}}, {43, {3, 11}}, {44, {4, 1}}, {48, {4, 5}}, {49, {0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(DateConditionFromItem(c.item), c.condition) << c.item;
}

TEST(DateList, EveryItemRoundTrips) {
    for (int item = 0; item < 49; ++item) EXPECT_EQ(DateListItem(DateConditionFromItem(item)), item) << item;
}

// Guards against a value out of its range landing on an item of another kind
// (type 2 with 40 days would select "10 months ago").
TEST(DateList, ValuesOutOfRangeSelectNoCondition) {
    const DateCondition cases[] = {{2, 32}, {2, -1}, {3, 1}, {3, 12}, {4, 0}, {4, 6}, {5, 1}, {-1, 0}};
    for (const auto& c : cases) EXPECT_EQ(DateListItem(c), 0) << c.type << " " << c.value;
}

TEST(ResultListModes, ItemsAndValues) {
    const int cases[][2] = {{-1, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 0}};
    for (const auto& c : cases) EXPECT_EQ(DirTreeItem(c[0]), c[1]) << c[0];
}
