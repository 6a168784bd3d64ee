// Decisions of the drag-and-drop dialog: names of dropped files, the lines of
// its edit box sorted in the locale's order, and the join of the lines into
// one ":"-separated condition list.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checks/check_message.h"

// Text of the edit box that sorting and joining process at most.
constexpr std::size_t kMaxDropTextChars = 30000;
// One line, and the joined condition list, hold at most this many characters.
constexpr std::size_t kMaxJoinedChars = 8191;
// Tail of an offending line quoted in a message.
constexpr std::size_t kExcerptChars = 30;

// The system default locale's comparison without flags (case-sensitive,
// linguistic order): less than zero, zero or greater than zero.
int CompareNamesAscending(std::wstring_view a, std::wstring_view b);
int CompareNamesDescending(std::wstring_view a, std::wstring_view b);

void SortNames(std::vector<std::wstring>& names, bool ascending);

// The name of a dropped path: one trailing "\" removed, then the part after the last "\".
std::wstring NameOfDroppedPath(std::wstring_view path);

// The names of the dropped items that are not folders, sorted ascending.
std::vector<std::wstring> DroppedFileNames(const std::vector<std::wstring>& paths,
                                           const std::function<bool(const std::wstring& path)>& isFolder);

// The edit text after a drop: the current text followed by each name and CR LF.
std::wstring AppendDroppedNames(std::wstring_view current, const std::vector<std::wstring>& names);

// "Read from selection": one trimmed item of the condition per line, each followed by CR LF.
std::wstring LinesFromCondition(std::wstring_view condition);

// A new text for the edit box or the message to show.
struct DropTextResult {
    std::optional<CheckMessage> error;
    std::wstring text;
};

// The non-empty lines sorted, each followed by CR LF.
DropTextResult SortLines(std::wstring_view text, bool ascending);

// JoinDroppedNames: the lines without control codes and empty lines, joined
// with " : " while that stays within 8,191 characters, else with ":".
DropTextResult JoinDroppedNames(std::wstring_view text);
