#include "run/conditions.h"

#include <array>
#include <cstdint>
#include <optional>

#include "local_time.h"
#include "text.h"

namespace {

constexpr std::uint64_t kNeverReached = UINT64_MAX;

Date DateOfNumber(int number) {
    return {number / 10000, number / 100 % 100, number % 100};
}

Date NextDay(Date date) {
    if (++date.day <= DaysInMonth(date.year, date.month)) return date;
    date.day = 1;
    if (++date.month <= 12) return date;
    date.month = 1;
    ++date.year;
    return date;
}

// The file time (UTC) at which a local day begins: 0 for a day before the
// first file time, kNeverReached for one past the last.
std::uint64_t ConvertLocalDayStart(const Date& date) {
    if (date.year < kFirstFileTimeYear) return 0;
    return TicksOfLocalDate(date, 0).value_or(kNeverReached);
}

// The same, remembered: a bound is converted once instead of once per file,
// since the zone conversion costs microseconds and the bounds hold for a whole run.
std::uint64_t LocalDayStart(const Date& date) {
    struct Known {
        int number = 0;
        std::uint64_t ticks = 0;
    };
    thread_local std::array<Known, 4> known;
    thread_local std::size_t replace = 0;
    const int number = DateNumber(date);
    for (const Known& k : known)
        if (k.number == number && number != 0) return k.ticks;
    const std::uint64_t ticks = ConvertLocalDayStart(date);
    known[replace] = {number, ticks};
    replace = (replace + 1) % known.size();
    return ticks;
}

// A file is on or after local day N when it was written at or after the
// moment that day began, and on or before it when written before the next
// day began: two comparisons of file times instead of converting every
// file's time to a local date (the zone rules of each date apply either way).
bool OnOrAfter(std::uint64_t fileTicks, int dateNumber) {
    return fileTicks >= LocalDayStart(DateOfNumber(dateNumber));
}

bool OnOrBefore(std::uint64_t fileTicks, int dateNumber) {
    return fileTicks < LocalDayStart(NextDay(DateOfNumber(dateNumber)));
}

bool PassesDateCondition(const SelectionConditions& conditions, const FILETIME& lastWriteTime) {
    if (conditions.updateDateType == 0) return true;
    const DateBounds& b = conditions.bounds;
    const std::uint64_t time = FileTimeTicks(lastWriteTime);
    if (conditions.updateDateType == 1)
        return (b.rangeStart <= 0 || OnOrAfter(time, b.rangeStart)) &&
               (b.rangeEnd <= 0 || OnOrBefore(time, b.rangeEnd));
    return b.start <= 0 || OnOrAfter(time, b.start);
}

bool HasDateBound(const SelectionConditions& conditions) {
    if (conditions.updateDateType == 0) return false;
    const DateBounds& b = conditions.bounds;
    if (conditions.updateDateType == 1) return b.rangeStart > 0 || b.rangeEnd > 0;
    return b.start > 0;
}

bool MatchesAny(const ConditionList& list, std::wstring_view lowerName) {
    for (const std::wstring& pattern : list.patterns)
        if (MatchWildcard(lowerName, pattern)) return true;
    return false;
}

// The number and text of a usable date; nothing for an empty or invalid one.
void SetBound(const std::optional<Date>& date, int& number, std::wstring& text) {
    if (!date) return;
    number = DateNumber(*date);
    if (number > 0) text = DateText(*date);
}

std::optional<Date> UsableDate(std::wstring_view text) {
    const ParsedDate parsed = ParseDateText(text);
    if (!DateCodeUsable(parsed.code)) return std::nullopt;
    return parsed.date;
}

}  // namespace

std::optional<std::wstring> ParseConditionList(std::wstring& text, ConditionList& list) {
    list.patterns.clear();
    TrimBlanks(text);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L':', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring pattern = text.substr(start, end - start);
        start = end + 1;
        TrimBlanks(pattern);
        if (pattern.size() > kMaxPatternChars) {
            list.patterns.clear();
            return pattern;
        }
        // Runs of ":" and parts of blanks only leave nothing to store.
        if (!pattern.empty()) list.patterns.push_back(ToLowerText(pattern));
    }
    return std::nullopt;
}

// Greedy from left to right; on a mismatch only the most recent "*" takes one
// more character. Earlier stars never need to: whatever the later part
// matched after them could be matched from the later star as well. So the
// work stays within name length times pattern length.
bool MatchWildcard(std::wstring_view name, std::wstring_view pattern) {
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::wstring_view::npos;  // just after the last "*" seen
    std::size_t starName = 0;                           // where that "*" run currently ends in the name
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            starPattern = ++p;
            starName = n;
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starPattern != std::wstring_view::npos) {
            p = starPattern;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

DateBounds ComputeDateBounds(const Settings& settings, const Date& today) {
    DateBounds bounds;
    if (settings.UpdateDateType == 0) return bounds;
    bounds.todayText = DateText(today);
    if (settings.UpdateDateType == 1) {
        SetBound(UsableDate(settings.UpdateDateStr), bounds.rangeStart, bounds.rangeStartText);
        SetBound(UsableDate(settings.UpdateDateEnd), bounds.rangeEnd, bounds.rangeEndText);
        return bounds;
    }
    SetBound(ShiftDate(settings.UpdateDateType, settings.UpdateDateVal, today), bounds.start, bounds.startText);
    return bounds;
}

bool IsFileSelected(const SelectionConditions& conditions, std::wstring_view fileName, const FILETIME& lastWriteTime) {
    if (!PassesDateCondition(conditions, lastWriteTime)) return false;
    if (conditions.selectMode == 2) return true;
    const std::wstring name = ToLowerText(fileName);
    const auto& lists = conditions.lists;
    if (conditions.selectMode == 0)
        return !MatchesAny(lists[kExNoTargetList], name) && MatchesAny(lists[kTargetList], name);
    if (conditions.selectMode == 1)
        return MatchesAny(lists[kExTargetList], name) || !MatchesAny(lists[kNoTargetList], name);
    return false;
}

bool SelectsEverything(const SelectionConditions& conditions) {
    if (HasDateBound(conditions)) return false;
    return conditions.selectMode == 2 ||
           (conditions.selectMode == 1 && conditions.lists[kNoTargetList].patterns.empty());
}
