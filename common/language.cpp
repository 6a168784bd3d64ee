#include "language.h"

#include <atomic>

#include "paths.h"
#include "text.h"

namespace {
// Written at start-up (and by the settings dialog's language list), read by
// every thread that shows a text.
std::atomic<bool> g_japanese{false};
}  // namespace

bool IsJapanese() {
    return g_japanese.load(std::memory_order_relaxed);
}

void SetJapanese(bool japanese) {
    g_japanese.store(japanese, std::memory_order_relaxed);
}

bool LangSelectsJapanese(std::wstring_view lang) {
    return !EqualsNoCase(lang, L"en");
}

bool UiLanguageIsJapanese() {
    const auto language = GetUiLanguage();
    return !language || *language == kJapaneseLangId;
}

std::wstring_view Pick(const MessagePair& pair) {
    return Pick(pair, IsJapanese());
}

std::wstring_view Pick(const MessagePair& pair, bool japanese) {
    return japanese ? pair.ja : pair.en;
}
