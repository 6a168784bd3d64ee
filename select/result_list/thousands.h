// Digit groups for the sizes the copy tool shows (result list, copy progress).
#pragma once

#include <string>
#include <string_view>

// Inserts "," between groups of three digits counted from the right:
// "1234" -> "1,234", "123" -> "123", "1234567" -> "1,234,567".
std::wstring FormatThousands(std::wstring_view digits);
