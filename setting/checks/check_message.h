// What a check of the settings dialog hands back instead of showing a box:
// the message pair with its arguments, and the field it concerns. The dialog
// formats and shows it; the checks stay plain functions over values.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "language.h"

// An argument whose text itself depends on the language: `pair` formatted
// with `text` in the language of the message (the quoted excerpt of a line).
struct LocalizedArg {
    MessagePair pair;
    std::wstring text;
};

using MessageArg = std::variant<std::wstring, int, LocalizedArg>;

struct CheckMessage {
    MessagePair pair;
    std::vector<MessageArg> args;  // at most three, in the order of the placeholders
    MessagePair tail{L"", L""};    // appended as it stands (the reason of a refused date)
};

// The text in the chosen language, cut at 1,023 characters like every box.
std::wstring FormatCheckMessage(const CheckMessage& message, bool japanese);

// The settings fields that the confirmation checks look at.
enum class CheckedField {
    Path,
    PrefixBef1,
    PrefixBef2,
    PrefixAft1,
    PrefixAft2,
    TargetFile,
    ExNoTargetFile,
    NoTargetFile,
    ExTargetFile,
    NameKinds,  // AddStringsBef with AddStringsAft
    UpdateDateStr,
    UpdateDateEnd,
};

// Index of the page that holds the field: 1 copy-to, 2 conditions.
int PageOfField(CheckedField field);

struct CheckFailure {
    CheckedField field;
    CheckMessage message;
};

using CheckResult = std::optional<CheckFailure>;

// The list of forbidden characters found in a text ("NG list"), empty when
// the text is clean. The dialog passes the shared character check with the
// rule set that the field needs.
using ForbiddenCharsFinder = std::function<std::wstring(std::wstring_view text)>;
