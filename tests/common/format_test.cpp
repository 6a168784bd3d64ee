#include <gtest/gtest.h>

#include "format.h"

TEST(FormatText, WideTextsAndNumbers) {
    EXPECT_EQ(FormatText(L"%s (%d文字)", {L"パス", 260}), L"パス (260文字)");
    EXPECT_EQ(FormatText(L"0x%08x:%s", {5u, L"Access"}), L"0x00000005:Access");
    EXPECT_EQ(FormatText(L"%d/%d/%d", {2024, 1, 5}), L"2024/1/5");
    EXPECT_EQ(FormatText(L"%04d%02d%02d_%02d", {2024, 1, 5, 9}), L"20240105_09");
    EXPECT_EQ(FormatText(L"%d%%", {42}), L"42%");
}

TEST(FormatText, SixtyFourBitAndNegativeNumbers) {
    EXPECT_EQ(FormatText(L"(%I64d)", {9223372036854775807LL}), L"(9223372036854775807)");
    EXPECT_EQ(FormatText(L"%03I64d", {7ULL}), L"007");
    EXPECT_EQ(FormatText(L"%d", {-3}), L"-3");
    EXPECT_EQ(FormatText(L"%05d", {-42}), L"-0042");
    // A negative code printed with %x shows its 32-bit pattern, as printf does.
    EXPECT_EQ(FormatText(L"0x%08x", {-1}), L"0xffffffff");
    EXPECT_EQ(FormatText(L"%x", {0x801FU}), L"801f");
}

TEST(FormatText, OddFormatsAreSafe) {
    // A missing argument prints nothing, an extra one is ignored.
    EXPECT_EQ(FormatText(L"a%sb%dc", {L"x"}), L"axbc");
    EXPECT_EQ(FormatText(L"plain", {1, 2}), L"plain");
    // A text given for a number, or a number for a text, prints nothing.
    EXPECT_EQ(FormatText(L"[%d][%s]", {L"x", 5}), L"[][]");
    // Unknown conversions and a lone % at the end stay as written.
    EXPECT_EQ(FormatText(L"100%q %", {}), L"100%q %");
    EXPECT_EQ(FormatText(L"%-4s|%4s", {L"ab", L"cd"}), L"ab  |  cd");
}

TEST(FormatText, CutsAtTheBound) {
    const std::wstring longText(5000, L'x');
    EXPECT_EQ(FormatText(L"%s", {longText}).size(), kMaxMessageChars);
    EXPECT_EQ(FormatText(L"ab%s", {longText}, 10), L"abxxxxxxxx");
    // A huge width does not run away.
    EXPECT_LE(FormatText(L"%999999999d", {1}).size(), kMaxMessageChars);
}
