#include "uac_command_line.h"

namespace {

std::wstring_view TrimBlanks(std::wstring_view text) {
    while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
    return text;
}

// A one-digit number within 0 to max.
std::optional<int> Digit(std::wstring_view text, int max) {
    if (text.size() != 1 || text[0] < L'0' || text[0] > L'0' + max) return std::nullopt;
    return text[0] - L'0';
}

}  // namespace

std::optional<UacArguments> ParseUacArguments(std::wstring_view commandLine) {
    const std::wstring_view line = TrimBlanks(commandLine);
    const std::size_t blank = line.find(L' ');
    if (blank == std::wstring_view::npos) return std::nullopt;
    const auto language = Digit(line.substr(0, blank), 1);
    const auto request = Digit(line.substr(blank + 1), 2);
    if (!language || !request) return std::nullopt;
    return UacArguments{*language == 1, *request};
}

bool IsEmptyCommandLine(std::wstring_view commandLine) {
    return TrimBlanks(commandLine).empty();
}
