#include <gtest/gtest.h>

#include <vector>

#include "message_capture.h"

namespace {

class MessageBoxTest : public ::testing::Test {
protected:
    void TearDown() override { SetMessageBoxCaption(L"Varo", false); }
    MessageCapture messages;
    std::vector<MessageRequest>& shown = messages.boxes;
};

constexpr MessagePair kSample = {
    L"パスは%d文字以内にしてください。\n\n%s",
    L"Please refer to the length of the path of this file in less than %d characters.\n\n%s"};

}  // namespace

TEST_F(MessageBoxTest, PicksTheLanguageAtTheMomentOfShowing) {
    SetMessageBoxCaption(L"VaroSelect", true);
    SetJapanese(true);
    ShowMessage(nullptr, MB_ICONERROR, kSample, {260, L"C:\\x"});
    SetJapanese(false);
    ShowMessage(nullptr, MB_ICONERROR, kSample, {260, L"C:\\x"});
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, L"パスは260文字以内にしてください。\n\nC:\\x");
    EXPECT_EQ(shown[1].text,
              L"Please refer to the length of the path of this file in less than 260 characters.\n\nC:\\x");
    EXPECT_EQ(shown[0].caption, L"VaroSelect");
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_ICONERROR | MB_TOPMOST));
    EXPECT_EQ(shown[0].owner, nullptr);
}

TEST_F(MessageBoxTest, OwnedBoxesAreNotTopmostWhenTheProgramSaysSo) {
    SetMessageBoxCaption(L"VaroSetting", false);
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    ShowMessageIn(true, owner, MB_ICONWARNING, kSample, {1, L"x"});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].owner, owner);
    EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(shown[0].text.substr(0, 3), L"パスは");
}

TEST_F(MessageBoxTest, LongTextsAreCut) {
    ShowMessage(nullptr, MB_OK, {L"%s", L"%s"}, {std::wstring(4000, L'a')});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.size(), kMaxMessageChars);
}

TEST(Language, LangSettingRule) {
    EXPECT_FALSE(LangSelectsJapanese(L"en"));
    EXPECT_FALSE(LangSelectsJapanese(L"En"));
    EXPECT_FALSE(LangSelectsJapanese(L"EN"));
    EXPECT_TRUE(LangSelectsJapanese(L"english"));
    EXPECT_TRUE(LangSelectsJapanese(L""));
    EXPECT_TRUE(LangSelectsJapanese(L"de"));
    EXPECT_TRUE(LangSelectsJapanese(L"ja"));
}
