#include "result_list/list_header.h"

#include "format.h"
#include "language.h"
#include "text.h"

namespace {

constexpr MessagePair kTarget = {L"対象ファイル", L"Target"};
constexpr MessagePair kExceptionExcluded = {L"例外、対象外ファイル", L"Exception,Exclud"};
constexpr MessagePair kExcluded = {L"対象外ファイル", L"Exclud"};
constexpr MessagePair kExceptionTarget = {L"例外、対象ファイル", L"Exception,Target"};
constexpr MessagePair kByFileName = {L"ファイル名での選択", L"Selection by filename"};
constexpr MessagePair kNoDesignation = {L"指定なし", L"No designation"};
constexpr MessagePair kUpdateDate = {L"ファイル更新日", L"File update date"};
constexpr MessagePair kCurrentDate = {L"現在日付", L"Current date"};
constexpr MessagePair kRange = {L"範囲指定", L"Range"};
constexpr MessagePair kToday = {L"当日", L"Today"};
constexpr MessagePair kDayAgo = {L"日前まで", L" day ago"};
constexpr MessagePair kDaysAgo = {L"日前まで", L" days ago"};
constexpr MessagePair kMonthsAgo = {L"ヶ月前まで", L" months ago"};
constexpr MessagePair kYearAgo = {L"年前まで", L" year ago"};
constexpr MessagePair kYearsAgo = {L"年前まで", L" years ago"};
constexpr MessagePair kNoFileNoFolder = {L"コピーするファイルが無かった場合はフォルダをコピーしない。",
                                         L"If there is no file to be copied, do not copy the folder."};
constexpr MessagePair kEmptySourceNoFolder = {L"コピー元が空フォルダの場合はフォルダをコピーしない。",
                                              L"If the copy source is an empty folder, do not copy the folder."};
constexpr MessagePair kSizeBeforeCompression = {L"※ファイルサイズは圧縮前のサイズになります。",
                                                L"*The file size is the size before compression."};
constexpr MessagePair kVerified = {L"※コピーは読み戻して元のファイルと一致することを確認しました。",
                                   L"*Every copy was read back and matches its source."};

std::wstring Bracketed(const MessagePair& pair) {
    return FormatText(L"[%s]", {Pick(pair)});
}

std::wstring ConditionText(const std::wstring& setting, const ConditionList& list) {
    if (list.patterns.empty()) return {};
    std::wstring text = setting;
    TrimBlanks(text);
    return text;
}

void AddNameCondition(const ListHeader& header, std::vector<std::wstring>& lines) {
    switch (header.selectMode) {
        case 0:
            lines.push_back(Bracketed(kTarget));
            lines.push_back(header.conditionTexts[kTargetList]);
            lines.push_back(Bracketed(kExceptionExcluded));
            lines.push_back(header.conditionTexts[kExNoTargetList]);
            break;
        case 1:
            lines.push_back(Bracketed(kExcluded));
            lines.push_back(header.conditionTexts[kNoTargetList]);
            lines.push_back(Bracketed(kExceptionTarget));
            lines.push_back(header.conditionTexts[kExTargetList]);
            break;
        case 2:
            lines.push_back(Bracketed(kByFileName));
            lines.push_back(std::wstring(Pick(kNoDesignation)));
            break;
        default:
            return;
    }
    lines.emplace_back();
}

std::wstring RangeLine(const DateBounds& bounds) {
    const bool hasStart = bounds.rangeStart != 0;
    const bool hasEnd = bounds.rangeEnd != 0;
    if (hasStart && hasEnd) return FormatText(L"%s - %s", {bounds.rangeStartText, bounds.rangeEndText});
    if (hasStart) return FormatText(L"%s -", {bounds.rangeStartText});
    if (hasEnd) return FormatText(L"- %s", {bounds.rangeEndText});
    return {};
}

std::wstring CountLine(int count, const MessagePair& unit) {
    return FormatText(L"%d%s", {count, Pick(unit)});
}

std::wstring SinceLine(const DateBounds& bounds) {
    return FormatText(L"%s - ", {bounds.startText});
}

void AddDateCondition(const ListHeader& header, std::vector<std::wstring>& lines) {
    const DateBounds& bounds = header.bounds;
    const int count = header.updateDateVal;
    lines.push_back(FormatText(L"[%s] (%s:%s)", {Pick(kUpdateDate), Pick(kCurrentDate), bounds.todayText}));
    switch (header.updateDateType) {
        case 1:
            lines.push_back(std::wstring(Pick(kRange)));
            lines.push_back(RangeLine(bounds));
            break;
        case 2:
            if (count == 0) {
                lines.push_back(std::wstring(Pick(kToday)));
                lines.push_back(bounds.startText);
            } else {
                lines.push_back(CountLine(count, count == 1 ? kDayAgo : kDaysAgo));
                lines.push_back(SinceLine(bounds));
            }
            break;
        case 3:
            lines.push_back(CountLine(count, kMonthsAgo));
            lines.push_back(SinceLine(bounds));
            break;
        case 4:
            lines.push_back(CountLine(count, count == 1 ? kYearAgo : kYearsAgo));
            lines.push_back(SinceLine(bounds));
            break;
        default:
            break;
    }
    lines.emplace_back();
}

}  // namespace

ListHeader MakeListHeader(const Settings& settings, const SelectionConditions& conditions) {
    ListHeader header;
    header.select = settings.Select;
    header.selectMode = settings.SelectMode;
    header.updateDateType = settings.UpdateDateType;
    header.updateDateVal = settings.UpdateDateVal;
    header.emptyDirNoCopy = settings.EmptyDirNoCopy;
    header.dirTree = settings.DirTree;
    header.compressMode = settings.CompressMode;
    header.conditionTexts[kTargetList] = ConditionText(settings.TargetFile, conditions.lists[kTargetList]);
    header.conditionTexts[kNoTargetList] = ConditionText(settings.NoTargetFile, conditions.lists[kNoTargetList]);
    header.conditionTexts[kExTargetList] = ConditionText(settings.ExTargetFile, conditions.lists[kExTargetList]);
    header.conditionTexts[kExNoTargetList] = ConditionText(settings.ExNoTargetFile, conditions.lists[kExNoTargetList]);
    header.bounds = conditions.bounds;
    return header;
}

std::vector<std::wstring> ListHeaderLines(const ListHeader& header) {
    std::vector<std::wstring> lines;
    if (header.select == 1) {
        AddNameCondition(header, lines);
        if (header.updateDateType != 0) AddDateCondition(header, lines);
    }
    if (header.emptyDirNoCopy == 1) {
        lines.push_back(Bracketed(header.select == 1 ? kNoFileNoFolder : kEmptySourceNoFolder));
        lines.emplace_back();
    }
    if (header.dirTree != 2 && header.compressMode == 1 && header.select == 1) {
        lines.push_back(std::wstring(Pick(kSizeBeforeCompression)));
        lines.emplace_back();
    }
    if (header.verified) {
        lines.push_back(std::wstring(Pick(kVerified)));
        lines.emplace_back();
    }
    return lines;
}
