// Which files the copy tool copies: name patterns in four lists combined by
// SelectMode, and a bound on the last-modified date.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "dates.h"
#include "settings.h"

// A pattern of 260 characters or more (after trimming) is refused.
constexpr std::size_t kMaxPatternChars = 259;

// One condition text split into trimmed, lower-cased, non-empty patterns.
struct ConditionList {
    std::vector<std::wstring> patterns;
};

enum ConditionListId : std::size_t {
    kTargetList = 0,     // TargetFile
    kNoTargetList = 1,   // NoTargetFile
    kExTargetList = 2,   // ExTargetFile
    kExNoTargetList = 3  // ExNoTargetFile
};

// yyyymmdd numbers (0 = no bound) and their "%d/%d/%d" texts, which the copy
// result list prints.
struct DateBounds {
    int start = 0;       // types 2 to 4
    int rangeStart = 0;  // type 1
    int rangeEnd = 0;    // type 1
    std::wstring startText;
    std::wstring rangeStartText;
    std::wstring rangeEndText;
    std::wstring todayText;
};

// Everything the selection test needs, fixed for the whole run.
struct SelectionConditions {
    int selectMode = 2;
    int updateDateType = 0;
    std::array<ConditionList, 4> lists;  // indexed by ConditionListId; unused lists stay empty
    DateBounds bounds;
};

// Trims `text` in place and splits it at ":" into `list`. A pattern of 260
// characters or more (after trimming) refuses the whole list: the list is
// left empty and the pattern is given back for the caller's message.
[[nodiscard]] std::optional<std::wstring> ParseConditionList(std::wstring& text, ConditionList& list);

// The whole lower-case name matches the lower-case pattern; "*" stands for
// any run of characters, every other character for itself.
bool MatchWildcard(std::wstring_view name, std::wstring_view pattern);

DateBounds ComputeDateBounds(const Settings& settings, const Date& today);

// fileName is the name and extension without folder.
bool IsFileSelected(const SelectionConditions& conditions, std::wstring_view fileName, const FILETIME& lastWriteTime);

// True when every file is selected without looking at it (no name condition
// that can reject, no date condition).
bool SelectsEverything(const SelectionConditions& conditions);
