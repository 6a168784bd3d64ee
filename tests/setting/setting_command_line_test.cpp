#include <gtest/gtest.h>

#include "setting_command_line.h"
#include "settings_hand_off.h"

TEST(SettingCommandLine, KeyAfterSlashK) {
    const struct {
        std::wstring line;
        bool handOff;
        std::wstring key;
    } cases[] = {
        {L"", false, L""},
        {L"/k KESTREL_varo__1a2b", true, L"KESTREL_varo__1a2b"},
        {L"/K KESTREL_varo__1a2b", true, L"KESTREL_varo__1a2b"},
        {L"/k    key  rest", true, L"key"},
        {L"\"C:\\Varo\\VaroSetting.exe\" /k key", true, L"key"},
        {L"/k", false, L""},
        {L"/k   ", false, L""},
        {L"/kkey", false, L""},
        {L"-k key", false, L""},
        {L"/x key", false, L""},
    };
    for (const auto& c : cases) {
        const HandOffRequest request = ParseCommandLine(c.line);
        EXPECT_EQ(request.handOffMode, c.handOff) << c.line;
        EXPECT_EQ(request.key, c.key) << c.line;
    }
}

// Guards against a cut key, which would address objects of no copy tool.
TEST(SettingCommandLine, KeyLongerThanTheLimitIsRefused) {
    const std::wstring longest(kHandOffKeyMaxChars, L'a');
    EXPECT_TRUE(ParseCommandLine(L"/k " + longest).handOffMode);
    const HandOffRequest refused = ParseCommandLine(L"/k " + longest + L"b");
    EXPECT_FALSE(refused.handOffMode);
    EXPECT_EQ(refused.key, L"");
}
