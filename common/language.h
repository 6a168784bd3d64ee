// The two display languages: every user-visible text is a Japanese and an
// English text with the same placeholders, chosen when it is shown.
#pragma once

#include <string_view>
#include <windows.h>

struct MessagePair {
    std::wstring_view ja;
    std::wstring_view en;
};

// The process-wide language flag: true shows Japanese texts.
bool IsJapanese();
void SetJapanese(bool japanese);

// "en" (any case) selects English; every other value, the empty one
// included, selects Japanese.
bool LangSelectsJapanese(std::wstring_view lang);

// The UI language 0x0411 (Japanese), or none known, means Japanese.
constexpr LANGID kJapaneseLangId = 0x0411;
bool UiLanguageIsJapanese();

// The text of a pair in the current language, or in the one given.
std::wstring_view Pick(const MessagePair& pair);
std::wstring_view Pick(const MessagePair& pair, bool japanese);
