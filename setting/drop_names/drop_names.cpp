#include "drop_names/drop_names.h"

#include <algorithm>

#include <windows.h>

#include "checks/text_cleanup.h"
#include "text.h"

namespace {

constexpr std::wstring_view kLineBreak = L"\r\n";
constexpr std::wstring_view kWideSeparator = L" : ";
constexpr std::wstring_view kCompactSeparator = L":";

constexpr MessagePair kTextTooLarge = {L"処理する文字数が大きすぎます。\r\n最大%d文字",
                                       L"The number of characters to process is too large.\r\nUp to %d characters"};
constexpr MessagePair kLineTooLong = {
    L"最大%d文字までしか指定できません。(現在%d文字以上)\r\n\r\n%s",
    L"You can only specify a maximum of %d characters.(Current %d characters or more)\r\n\r\n%s"};
constexpr MessagePair kJoinTooLong = {
    L"最大%d文字までしか指定できません。(現在%d文字以上、セパレータ文字\":\"含む)\r\n\r\n%s",
    L"You can only specify a maximum of %d characters.(Current %d characters or more.Separator "
    L"character\":\"including.)"
    L"\r\n\r\n%s"};
// The excerpt block: the label, then the whole line or "... " and its tail.
constexpr MessagePair kWholeLineExcerpt = {L"オーバーしている文字:\r\n%s", L"Excessive characters:\r\n%s"};
constexpr MessagePair kTailExcerpt = {L"オーバーしている文字:\r\n... %s", L"Excessive characters:\r\n... %s"};

constexpr int kLimitInMessages = static_cast<int>(kMaxJoinedChars);

int Compare(std::wstring_view a, std::wstring_view b) {
    // CSTR_LESS_THAN, CSTR_EQUAL, CSTR_GREATER_THAN are 1, 2, 3; 0 is a failure and counts as equal.
    const int result = ::CompareStringW(LOCALE_SYSTEM_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                                        static_cast<int>(b.size()));
    return result == 0 ? 0 : result - CSTR_EQUAL;
}

std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
    std::vector<std::wstring_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(kLineBreak, start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + kLineBreak.size();
    }
    return lines;
}

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) {
        text += line;
        text += kLineBreak;
    }
    return text;
}

CheckMessage TextTooLarge() {
    return {kTextTooLarge, {kLimitInMessages}};
}

// The whole line when it is short, else "... " and its last 30 characters.
LocalizedArg Excerpt(const std::wstring& line) {
    if (line.size() <= kExcerptChars) return {kWholeLineExcerpt, line};
    const int start = static_cast<int>(line.size() - kExcerptChars);
    return {kTailExcerpt, CopySubstring(line, start, static_cast<int>(kExcerptChars)).value_or(L"")};
}

}  // namespace

int CompareNamesAscending(std::wstring_view a, std::wstring_view b) {
    return Compare(a, b);
}

int CompareNamesDescending(std::wstring_view a, std::wstring_view b) {
    return Compare(b, a);
}

void SortNames(std::vector<std::wstring>& names, bool ascending) {
    const auto compare = ascending ? CompareNamesAscending : CompareNamesDescending;
    std::stable_sort(names.begin(), names.end(),
                     [compare](const std::wstring& a, const std::wstring& b) { return compare(a, b) < 0; });
}

std::wstring NameOfDroppedPath(std::wstring_view path) {
    if (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
    const std::size_t slash = path.rfind(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::vector<std::wstring> DroppedFileNames(const std::vector<std::wstring>& paths,
                                           const std::function<bool(const std::wstring& path)>& isFolder) {
    std::vector<std::wstring> names;
    for (const std::wstring& path : paths)
        if (!isFolder(path)) names.push_back(NameOfDroppedPath(path));
    SortNames(names, true);
    return names;
}

std::wstring AppendDroppedNames(std::wstring_view current, const std::vector<std::wstring>& names) {
    // Dropping only folders adds nothing; the lines collected so far stay.
    return std::wstring(current) + JoinLines(names);
}

std::wstring LinesFromCondition(std::wstring_view condition) {
    std::wstring lines;
    std::size_t start = 0;
    while (start < condition.size()) {
        const std::size_t end = std::min(condition.find(L':', start), condition.size());
        std::wstring item(condition.substr(start, end - start));
        start = end + 1;
        if (item.empty()) continue;
        TrimBlanks(item);
        lines += item;
        lines += kLineBreak;
    }
    return lines;
}

DropTextResult SortLines(std::wstring_view text, bool ascending) {
    if (text.size() > kMaxDropTextChars) return {TextTooLarge(), std::wstring(text)};
    std::vector<std::wstring> lines;
    for (const std::wstring_view line : SplitLines(text))
        if (!line.empty()) lines.emplace_back(line);
    SortNames(lines, ascending);
    return {std::nullopt, JoinLines(lines)};
}

DropTextResult JoinDroppedNames(std::wstring_view text) {
    if (text.size() > kMaxDropTextChars) return {TextTooLarge(), {}};
    const std::vector<std::wstring_view> lines = SplitLines(text);
    std::vector<std::wstring> cleaned(lines.begin(), lines.end());
    for (std::wstring& line : cleaned) RemoveControlCodes(line);
    // The last name is the last line that still holds something once its
    // control codes are gone; no separator follows it.
    const auto last = std::find_if(cleaned.rbegin(), cleaned.rend(), [](const auto& l) { return !l.empty(); });
    const std::size_t lastName = last == cleaned.rend() ? 0 : cleaned.size() - 1 - (last - cleaned.rbegin());
    std::vector<std::wstring> names;
    std::size_t compact = 0;  // the ":" join up to and including the current name
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].size() > kMaxJoinedChars) {
            const std::wstring line(lines[i]);
            return {CheckMessage{kLineTooLong, {kLimitInMessages, static_cast<int>(line.size()), Excerpt(line)}}, {}};
        }
        if (cleaned[i].empty()) continue;
        compact += cleaned[i].size() + (i < lastName ? kCompactSeparator.size() : 0);
        if (compact > kMaxJoinedChars)
            return {CheckMessage{kJoinTooLong, {kLimitInMessages, static_cast<int>(compact), Excerpt(cleaned[i])}}, {}};
        names.push_back(std::move(cleaned[i]));
    }
    std::size_t wide = 0;
    for (const std::wstring& name : names) wide += name.size();
    if (!names.empty()) wide += (names.size() - 1) * kWideSeparator.size();
    // The wide join reads better; it is used while it fits.
    const std::wstring_view separator = wide <= kMaxJoinedChars ? kWideSeparator : kCompactSeparator;
    std::wstring joined;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) joined += separator;
        joined += names[i];
    }
    return {std::nullopt, joined};
}
