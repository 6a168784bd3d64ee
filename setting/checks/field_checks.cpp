#include "checks/field_checks.h"

#include <algorithm>
#include <array>

#include "checks/text_cleanup.h"
#include "paths.h"
#include "text.h"

namespace {

struct FieldTexts {
    CheckedField field;
    MessagePair tooLong;    // length, maximum, text
    MessagePair forbidden;  // NG list, text
};

constexpr std::array<FieldTexts, 8> kFieldTexts = {{
    {CheckedField::PrefixBef1,
     {L"付与する文字列(先頭)が長すぎます。\n\n現在:%d文字以上 最大:%d文字\n\n%s",
      L"Add Strings(top) is too long.\n\nNow:%d characters or more  Max:%d characters\n\n%s"},
     {L"付与する文字列(先頭)に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
      L"Characters that can not be used in the prefix(top) are included.\n\nNG : %s\n\n%s"}},
    {CheckedField::PrefixBef2,
     {L"付与する文字列(ファイル名の前)が長すぎます。\n\n現在:%d文字以上 最大:%d文字\n\n%s",
      L"Add Strings(Before file name) is too long.\n\nNow:%d characters or more  Max:%d characters\n\n%s"},
     {L"付与する文字列(ファイル名の前)に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
      L"Characters that can not be used in the prefix(Before file name) are included.\n\nNG : %s\n\n%s"}},
    {CheckedField::PrefixAft1,
     {L"付与する文字列(ファイル名の後)が長すぎます。\n\n現在:%d文字以上 最大:%d文字\n\n%s",
      L"Add Strings(After file name) is too long.\n\nNow:%d characters or more  Max:%d characters\n\n%s"},
     {L"付与する文字列(ファイル名の後)に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
      L"Characters that can not be used in the prefix(After file name) are included.\n\nNG : %s\n\n%s"}},
    {CheckedField::PrefixAft2,
     {L"付与する文字列(最後)が長すぎます。\n\n現在:%d文字以上 最大:%d文字\n\n%s",
      L"Add Strings(Last) is too long.\n\nNow:%d characters or more  Max:%d characters\n\n%s"},
     {L"付与する文字列(最後)に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
      L"Characters that can not be used in the prefix(Last) are included.\n\nNG : %s\n\n%s"}},
    {CheckedField::TargetFile,
     {L"対象の条件が長すぎます。\n\n現在:%d文字以上 最大:%d文字\n\n%s",
      L"The target is too long.\n\nNow:%d characters or more  Max:%d characters\n\n%s"},
     {L"対象の条件に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
      L"Characters that can not be used in the target are included.\n\nNG : %s\n\n%s"}},
    {CheckedField::ExNoTargetFile,
     {L"例外、対象外の条件が長すぎます。\n\n現在:%d文字以上 最大:%d文字\n\n%s",
      L"The exception,exclud is too long.\n\nNow:%d characters or more  Max:%d characters\n\n%s"},
     {L"例外、対象外の条件に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
      L"Characters that can not be used in the exception,exclud are included.\n\nNG : %s\n\n%s"}},
    {CheckedField::NoTargetFile,
     {L"対象外の条件が長すぎます。\n\n現在:%d文字以上 最大:%d文字\n\n%s",
      L"The exclud is too long.\n\nNow:%d characters or more  Max:%d characters\n\n%s"},
     {L"対象外の条件に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
      L"Characters that can not be used in the exclud are included.\n\nNG : %s\n\n%s"}},
    {CheckedField::ExTargetFile,
     {L"例外、対象の条件が長すぎます。\n\n現在:%d文字以上 最大:%d文字\n\n%s",
      L"The exception,target is too long.\n\nNow:%d characters or more  Max:%d characters\n\n%s"},
     {L"例外、対象に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
      L"Characters that can not be used in the exception,target are included.\n\nNG : %s\n\n%s"}},
}};

constexpr MessagePair kPathTooLong = {
    L"コピー先のフォルダのパスが長すぎます。\n\n現在:%d文字以上 最大:%d文字\n\n%s",
    L"The path of the copy destination folder is too long.\n\nNow:%d characters  Max:%d characters\n\n%s"};

const FieldTexts& TextsOf(CheckedField field) {
    for (const FieldTexts& texts : kFieldTexts)
        if (texts.field == field) return texts;
    return kFieldTexts[0];
}

int Length(std::wstring_view text) {
    return static_cast<int>(text.size());
}

CheckFailure TooLong(CheckedField field, const MessagePair& pair, std::wstring_view text, std::size_t maximum) {
    return {field, {pair, {Length(text), static_cast<int>(maximum), std::wstring(text)}}};
}

CheckResult CheckForbidden(CheckedField field, std::wstring_view text, const ForbiddenCharsFinder& forbidden) {
    const std::wstring found = forbidden(text);
    if (found.empty()) return std::nullopt;
    return CheckFailure{field, {TextsOf(field).forbidden, {found, std::wstring(text)}}};
}

}  // namespace

std::optional<std::wstring> CheckConditionItems(std::wstring_view list) {
    std::wstring rest(list);
    TrimBlanks(rest);
    std::size_t start = 0;
    while (start < rest.size()) {
        const std::size_t end = std::min(rest.find(L':', start), rest.size());
        // The whole item is measured, however long: a check that looked at a
        // cut piece would pass items that the copy tool refuses when it loads them.
        std::wstring item = rest.substr(start, end - start);
        start = end + 1;
        TrimBlanks(item);
        if (item.size() > kMaxConditionItemChars) return item;
    }
    return std::nullopt;
}

CheckResult CheckPath(std::wstring& path) {
    path = AddTrailingBackslash(path);
    if (path.size() <= kMaxPathFieldChars) return std::nullopt;
    return TooLong(CheckedField::Path, kPathTooLong, path, kMaxPathFieldChars);
}

CheckResult CheckAddString(CheckedField field, std::wstring_view text, const ForbiddenCharsFinder& forbidden) {
    if (text.size() > kMaxAddStringChars) return TooLong(field, TextsOf(field).tooLong, text, kMaxAddStringChars);
    return CheckForbidden(field, text, forbidden);
}

CheckResult CheckConditionList(CheckedField field, std::wstring& list, const ForbiddenCharsFinder& forbidden) {
    RemoveControlCodes(list);
    if (auto failure = CheckForbidden(field, list, forbidden)) return failure;
    const MessagePair& tooLong = TextsOf(field).tooLong;
    if (list.size() > kMaxConditionListChars) return TooLong(field, tooLong, list, kMaxConditionListChars);
    if (const auto item = CheckConditionItems(list)) return TooLong(field, tooLong, *item, kMaxConditionItemChars);
    return std::nullopt;
}
