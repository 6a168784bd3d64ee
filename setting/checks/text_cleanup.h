// Clean-ups applied to typed texts before they are checked or stored.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Removes BEL, BS, TAB, LF, VT, FF and CR in place (other control characters
// stay); true when at least one was removed.
bool RemoveControlCodes(std::wstring& text);

// `count` characters of `source` from `start` (fewer when the source ends
// first); nothing when start or count is negative, count exceeds the length
// of the source or start lies past its end.
std::optional<std::wstring> CopySubstring(std::wstring_view source, int start, int count);
