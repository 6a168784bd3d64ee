#include "result_list/display_width.h"

namespace {

struct Range {
    wchar_t first;
    wchar_t last;
};

constexpr Range kWideRanges[] = {
    {0x1100, 0x115F}, {0x2500, 0x25FF}, {0x2E80, 0xA4CF}, {0xA960, 0xA97F}, {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF01, 0xFF60}, {0xFFE0, 0xFFE6},
};

int CharWidth(wchar_t c) {
    if (c < 0x1100) return 1;
    if (c >= 0xDC00 && c <= 0xDFFF) return 0;  // second half of a pair: counted with the first
    if (c >= 0xD800 && c <= 0xDBFF) return 2;
    for (const Range& range : kWideRanges)
        if (c >= range.first && c <= range.last) return 2;
    return 1;
}

}  // namespace

int DisplayWidth(std::wstring_view text) {
    if (!text.empty() && (text[0] == L'<' || text[0] == L'>')) text.remove_prefix(1);
    int width = 0;
    for (const wchar_t c : text) width += CharWidth(c);
    return width;
}

void PadSpaces(int count, std::wstring& text) {
    if (count > 0) text.append(static_cast<std::size_t>(count), L' ');
}
