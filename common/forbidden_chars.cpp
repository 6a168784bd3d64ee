#include "forbidden_chars.h"

#include <array>

namespace {

struct ForbiddenChar {
    wchar_t c;
    std::wstring_view shown;  // how the NG list names it
    bool inAddString;
    bool inCondition;
    bool inFolderPath;
};

// In the order the NG list names them.
constexpr std::array<ForbiddenChar, 16> kForbidden = {{
    {L'\\', L"\\", true, true, false},
    {L'/', L"/", true, true, false},
    {L':', L":", true, false, false},
    {L'*', L"*", true, false, true},
    {L'?', L"?", true, true, true},
    {L'"', L"\"", true, true, true},
    {L'<', L"<", true, true, true},
    {L'>', L">", true, true, true},
    {L'|', L"|", true, true, true},
    {L'\a', L"\\a", true, true, true},
    {L'\b', L"\\b", true, true, true},
    {L'\f', L"\\f", true, true, true},
    {L'\n', L"\\n", true, true, true},
    {L'\r', L"\\r", true, true, true},
    {L'\t', L"\\t", true, true, true},
    {L'\v', L"\\v", true, true, true},
}};

bool ForbiddenBy(const ForbiddenChar& entry, CharRules rules) {
    switch (rules) {
        case CharRules::AddString:
            return entry.inAddString;
        case CharRules::Condition:
            return entry.inCondition;
        case CharRules::FolderPath:
            return entry.inFolderPath;
    }
    return true;
}

}  // namespace

std::wstring CheckForbiddenChars(std::wstring_view text, CharRules rules) {
    std::wstring found;
    for (const ForbiddenChar& entry : kForbidden) {
        if (!ForbiddenBy(entry, rules) || text.find(entry.c) == std::wstring_view::npos) continue;
        found += entry.shown;
        found += L' ';
    }
    return found;
}
