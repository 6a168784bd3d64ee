#include <gtest/gtest.h>

#include "pages/conditions_dates.h"

// Guards against a value out of its range landing on an item of another kind
// (type 2 with 40 days would select "10 months ago").
TEST(DateList, ValuesOutOfRangeSelectNoCondition) {
    const DateCondition cases[] = {{2, 32}, {2, -1}, {3, 1}, {3, 12}, {4, 0}, {4, 6}, {5, 1}, {-1, 0}};
    for (const auto& c : cases) EXPECT_EQ(DateItemOf(c), 0) << c.type << " " << c.value;
}
