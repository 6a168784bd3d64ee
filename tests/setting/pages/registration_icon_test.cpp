#include <gtest/gtest.h>

#include "pages/registration_icon.h"

TEST(RegistrationIcon, IconAndSizePerDpi) {
    const struct {
        UINT dpi;
        int index;
        int size;
    } cases[] = {
        {96, 0, 16},  {120, 0, 20}, {143, 0, 24},  {144, 1, 24},  {192, 1, 32},
        {239, 1, 40}, {240, 2, 40}, {911, 2, 152}, {912, 3, 152},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DpiIconIndex(c.dpi), c.index) << c.dpi;
        EXPECT_EQ(RegistrationIconSize(c.dpi), c.size) << c.dpi;
    }
}
