#include <gtest/gtest.h>

#include "registry_layout.h"

namespace {

std::vector<BYTE> Utf16WithNul(std::wstring_view text) {
    std::vector<BYTE> bytes;
    for (wchar_t c : text) bytes.insert(bytes.end(), {static_cast<BYTE>(c & 0xFF), static_cast<BYTE>(c >> 8)});
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

RegistryValue Text(std::wstring_view text) {
    RegistryValue value;
    value.text = text;
    return value;
}

RegistryValue Number(DWORD number) {
    RegistryValue value;
    value.type = REG_DWORD;
    value.number = number;
    return value;
}

}  // namespace

TEST(ContextMenuLayout, KeysValuesTypesAndDataOfOneRoot) {
    const auto keys = ContextMenuLayout(L"*\\shell", L"VaroSelect_e2e", L"C:\\Varo e2e\\VaroSelect.exe",
                                        L"VaroSelect - Select Copy_e2e(&9)");
    ASSERT_EQ(keys[0].path, L"*\\shell\\VaroSelect_e2e");
    ASSERT_EQ(keys[1].path, L"*\\shell\\VaroSelect_e2e\\Command");
    struct Expected {
        std::wstring name;
        DWORD type;
        std::wstring text;
        DWORD number;
    };
    const Expected entry[] = {
        {L"", REG_SZ, L"VaroSelect - Select Copy_e2e(&9)", 0},
        {L"Icon", REG_SZ, L"\"C:\\Varo e2e\\VaroSelect.exe\"", 0},
        {L"Position", REG_SZ, L"Middle", 0},
        {L"SeparatorBefore", REG_DWORD, L"", 1},
        {L"SeparatorAfter", REG_DWORD, L"", 1},
    };
    ASSERT_EQ(keys[0].values.size(), std::size(entry));
    for (std::size_t i = 0; i < std::size(entry); ++i) {
        EXPECT_EQ(keys[0].values[i].name, entry[i].name);
        EXPECT_EQ(keys[0].values[i].type, entry[i].type);
        EXPECT_EQ(keys[0].values[i].text, entry[i].text);
        EXPECT_EQ(keys[0].values[i].number, entry[i].number);
    }
    ASSERT_EQ(keys[1].values.size(), 1u);
    EXPECT_EQ(keys[1].values[0].name, L"");
    EXPECT_EQ(keys[1].values[0].text, L"\"C:\\Varo e2e\\VaroSelect.exe\" \"%1\"");
}

TEST(ValueBytes, TextsCountTheirTerminatingNulNumbersAreFourBytes) {
    EXPECT_EQ(ValueBytes(Text(L"Middle")), Utf16WithNul(L"Middle"));
    EXPECT_EQ(ValueBytes(Text(L"選択")), Utf16WithNul(L"選択"));
    EXPECT_EQ(ValueBytes(Text(L"")), (std::vector<BYTE>{0, 0}));
    EXPECT_EQ(ValueBytes(Number(1)), (std::vector<BYTE>{1, 0, 0, 0}));
}
