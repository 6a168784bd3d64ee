#include "setting_command_line.h"

#include <algorithm>

#include "settings_hand_off.h"

namespace {

std::size_t FindKeySwitch(std::wstring_view line) {
    for (std::size_t i = 0; i + 2 < line.size(); ++i) {
        if (line[i] == L'/' && (line[i + 1] == L'k' || line[i + 1] == L'K') && line[i + 2] == L' ') return i + 3;
    }
    return std::wstring_view::npos;
}

}  // namespace

HandOffRequest ParseCommandLine(std::wstring_view commandLine) {
    HandOffRequest request;
    std::size_t start = FindKeySwitch(commandLine);
    if (start == std::wstring_view::npos) return request;
    while (start < commandLine.size() && commandLine[start] == L' ') ++start;
    const std::size_t end = std::min(commandLine.find(L' ', start), commandLine.size());
    const std::wstring_view key = commandLine.substr(start, end - start);
    if (key.empty() || key.size() > kHandOffKeyMaxChars) return request;
    request.handOffMode = true;
    request.key = key;
    return request;
}
