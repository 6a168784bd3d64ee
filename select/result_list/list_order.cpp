#include "result_list/list_order.h"

#include <algorithm>
#include <cstdint>

namespace {

bool IsUpperAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z';
}
bool IsLowerAscii(wchar_t c) {
    return c >= L'a' && c <= L'z';
}

wchar_t FoldAscii(wchar_t c) {
    return IsUpperAscii(c) ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// The rank of one character without its case: its rule in the upper part,
// its place within the rule below.
std::uint32_t CharRank(wchar_t c) {
    if (c == L'\\') return 0;
    if (c == L'<') return 1;
    if (c == L'>') return 2;
    if (c >= 0x80) return 0x10000 + c;
    if (c >= L'0' && c <= L'9') return 0x200 + c;
    if (IsLowerAscii(FoldAscii(c))) return 0x300 + FoldAscii(c);
    return 0x100 + c;
}

}  // namespace

bool MarkedPathLess(std::wstring_view a, std::wstring_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const std::uint32_t rankA = CharRank(a[i]);
        const std::uint32_t rankB = CharRank(b[i]);
        if (rankA != rankB) return rankA < rankB;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    // Equal without case: the first letter in different case decides.
    for (std::size_t i = 0; i < common; ++i)
        if (a[i] != b[i]) return IsLowerAscii(a[i]);
    return false;
}

bool SameNameNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}
