// Length and character checks of the typed fields, run when the user
// confirms the dialog: the destination folder, the four add strings and the
// four condition lists.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "checks/check_message.h"

// Longest destination folder, add string and condition item (each must stay
// below 260 characters) and longest condition list (below 8,192).
constexpr std::size_t kMaxPathFieldChars = 259;
constexpr std::size_t kMaxAddStringChars = 259;
constexpr std::size_t kMaxConditionItemChars = 259;
constexpr std::size_t kMaxConditionListChars = 8191;

// The first item of a ":"-separated list that is longer than 259 characters
// once its surrounding blanks are trimmed (returned trimmed); nothing when
// every item fits. Empty items ("a::b") are skipped.
std::optional<std::wstring> CheckConditionItems(std::wstring_view list);

// Gives a non-empty path its trailing "\" and refuses one of 260 characters or more.
CheckResult CheckPath(std::wstring& path);

// One of the four add strings (field PrefixBef1 to PrefixAft2): its length,
// then the characters the add-string rules forbid.
CheckResult CheckAddString(CheckedField field, std::wstring_view text, const ForbiddenCharsFinder& forbidden);

// One of the four condition lists (field TargetFile to ExTargetFile): control
// codes removed silently from the stored list, then its characters under the
// condition rules, its length and the length of each item.
CheckResult CheckConditionList(CheckedField field, std::wstring& list, const ForbiddenCharsFinder& forbidden);
