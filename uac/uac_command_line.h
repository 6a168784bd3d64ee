// The helper's command line: the language flag and the request, nothing else.
#pragma once

#include <optional>
#include <string_view>

struct UacArguments {
    bool japanese = false;
    int request = 0;  // 0 remove, 1 register again when present, 2 register
};

// Exactly two numbers separated by one blank (blanks around them are
// ignored): the language 0 or 1 and the request 0, 1 or 2. Anything else is
// no request at all, so a malformed line can never reach the registry.
std::optional<UacArguments> ParseUacArguments(std::wstring_view commandLine);

// True for a line of blanks only: the helper then only starts the settings application.
bool IsEmptyCommandLine(std::wstring_view commandLine);
