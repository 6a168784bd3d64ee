#include "checks/text_cleanup.h"

#include <algorithm>

namespace {

// BEL (7), BS, TAB, LF, VT, FF and CR (13): the codes that a paste brings
// into an edit box and that no file name or pattern can hold.
bool IsRemovedControlCode(wchar_t c) {
    return c >= L'\a' && c <= L'\r';
}

}  // namespace

bool RemoveControlCodes(std::wstring& text) {
    const auto end = std::remove_if(text.begin(), text.end(), IsRemovedControlCode);
    const bool removed = end != text.end();
    text.erase(end, text.end());
    return removed;
}

std::optional<std::wstring> CopySubstring(std::wstring_view source, int start, int count) {
    if (start < 0 || count < 0) return std::nullopt;
    const auto first = static_cast<std::size_t>(start);
    const auto length = static_cast<std::size_t>(count);
    if (length > source.size() || first > source.size()) return std::nullopt;
    return std::wstring(source.substr(first, length));
}
