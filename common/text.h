// Small text helpers shared by the three programs.
#pragma once

#include <string>
#include <string_view>

// Removes blanks (U+0020 only) at the end and then at the start of text, in
// place; returns how many were removed.
std::size_t TrimBlanks(std::wstring& text);

// Lower-cases character by character (towlower), as the condition lists and
// the selection test compare names.
std::wstring ToLowerText(std::wstring_view text);

// Ordinal comparison without regard to case, the same on every locale.
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);
bool EndsWithNoCase(std::wstring_view text, std::wstring_view suffix);

// UTF-16 <-> UTF-8; invalid input gives the empty text.
std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);
