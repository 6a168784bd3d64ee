#include "pages/conditions_dates.h"

#include "format.h"

namespace {

constexpr int kRangeItem = 1;
constexpr int kTodayItem = 2;
constexpr int kFirstDaysItem = 2;  // today, then 1 to 31 days
constexpr int kLastDaysItem = 33;
constexpr int kFirstMonthsItem = 34;  // 2 to 11 months; there is no item for one month
constexpr int kLastMonthsItem = 43;
constexpr int kFirstYearsItem = 44;  // 1 to 5 years
constexpr int kLastYearsItem = 48;
constexpr int kMonthsOffset = 32;  // item - value
constexpr int kYearsOffset = 43;

constexpr MessagePair kRangeText = {L"範囲指定", L"Range"};
constexpr MessagePair kTodayText = {L"当日", L"Today"};
constexpr MessagePair kDaysText = {L"%d日前まで", L"%d days ago"};
constexpr MessagePair kOneDayText = {L"%d日前まで", L"%d day ago"};
constexpr MessagePair kMonthsText = {L"%dヶ月前まで", L"%d months ago"};
constexpr MessagePair kYearsText = {L"%d年前まで", L"%d years ago"};
constexpr MessagePair kOneYearText = {L"%d年前まで", L"%d year ago"};

constexpr std::wstring_view kTodayLabel = L"(%d/%d/%d)";
constexpr std::wstring_view kSinceLabel = L"(%d/%d/%d -)";

// The texts of one of the two range dates.
struct RangeDateTexts {
    CheckedField field;
    MessagePair invalid;   // the text; the reason follows
    MessagePair replaced;  // year note, day note
};

constexpr RangeDateTexts kStartTexts = {
    CheckedField::UpdateDateStr,
    {L"ファイル更新日の範囲指定(開始日)が不正です。\n%s\n",
     L"The file update date range specification (start date) is invalid.\n%s\n"},
    {L"ファイル更新日の範囲指定(開始日)が不正なため、置き換えて登録します。\n\n%s%s",
     L"The file update date range specification (start date) is incorrect, replace and register it.\n\n%s%s"}};

constexpr RangeDateTexts kEndTexts = {
    CheckedField::UpdateDateEnd,
    {L"ファイル更新日の範囲指定(終了日)が不正です。\n%s\n",
     L"The file update date range specification (end date) is invalid.\n%s\n"},
    {L"ファイル更新日の範囲指定(終了日)が不正なため、置き換えて登録します。\n\n%s%s",
     L"The file update date range specification (end date) is incorrect, replace and register it.\n\n%s%s"}};

constexpr MessagePair kNotDigitsReason = {L"数値で入力してください。\n", L"Please enter with a numerical value.\n"};
constexpr MessagePair kNotThreePartsReason = {L"yyyy/MM/dd形式で入力してください。\n",
                                              L"Please enter in yyyy / MM / dd format.\n"};
constexpr MessagePair kNoSuchDateReason = {L"日付が存在しません。\n", L"The date does not exist.\n"};

constexpr MessagePair kEndBeforeStart = {
    L"ファイル更新日の範囲指定で、開始日よりも終了日が早くなっています。\n\n%s > %s\n",
    L"The file update date range, the end date is earlier than the start date.\n\n%s > %s\n"};

MessagePair ReasonOf(int code) {
    switch (code) {
        case kDateNotDigits:
            return kNotDigitsReason;
        case kDateNotThreeParts:
            return kNotThreePartsReason;
        default:
            return kNoSuchDateReason;
    }
}

bool IsRepaired(int code) {
    return code == kDateYearRaised || code == kDateDayAdjusted || code == kDateBothAdjusted;
}

// Checks one range date; gives its date when one is present (empty text: none).
struct RangeDate {
    CheckResult failure;
    std::optional<Date> date;
};

RangeDate CheckRangeDate(const RangeDateTexts& texts, std::wstring& text, std::vector<CheckMessage>& notices) {
    const ParsedDate parsed = ParseDateText(text);
    if (!DateCodeUsable(parsed.code)) {
        CheckMessage message{texts.invalid, {text}};
        message.tail = ReasonOf(parsed.code);
        return {CheckFailure{texts.field, std::move(message)}, std::nullopt};
    }
    if (IsRepaired(parsed.code)) {
        // Only a repaired date is rewritten; a valid one keeps its leading zeros.
        text = DateText(parsed.date);
        const DateNotes notes = NotesOf(parsed);
        notices.push_back({texts.replaced, {notes.year, notes.day}});
    }
    if (text.empty()) return {};
    return {std::nullopt, parsed.date};
}

}  // namespace

std::wstring DateItemText(int item, bool japanese) {
    const auto text = [japanese](const MessagePair& pair, int value) {
        return FormatText(Pick(pair, japanese), {value});
    };
    if (item == kRangeItem) return std::wstring(Pick(kRangeText, japanese));
    if (item == kTodayItem) return std::wstring(Pick(kTodayText, japanese));
    if (item > kTodayItem && item <= kLastDaysItem) {
        const int days = item - kFirstDaysItem;
        return text(days == 1 ? kOneDayText : kDaysText, days);
    }
    if (item >= kFirstMonthsItem && item <= kLastMonthsItem) return text(kMonthsText, item - kMonthsOffset);
    if (item == kFirstYearsItem) return text(kOneYearText, 1);
    if (item > kFirstYearsItem && item <= kLastYearsItem) return text(kYearsText, item - kYearsOffset);
    return {};
}

DateCondition DateConditionOfItem(int item) {
    if (item == kRangeItem) return {1, 0};
    if (item >= kFirstDaysItem && item <= kLastDaysItem) return {2, item - kFirstDaysItem};
    if (item >= kFirstMonthsItem && item <= kLastMonthsItem) return {3, item - kMonthsOffset};
    if (item >= kFirstYearsItem && item <= kLastYearsItem) return {4, item - kYearsOffset};
    return {};
}

int DateItemOf(const DateCondition& condition) {
    const int value = condition.value;
    switch (condition.type) {
        case 1:
            return kRangeItem;
        case 2:
            // A day count outside 0 to 31 would land on a month or year item.
            return value >= 0 && value <= kLastDaysItem - kFirstDaysItem ? kFirstDaysItem + value : 0;
        case 3:
            return value >= 2 && value <= 11 ? value + kMonthsOffset : 0;
        case 4:
            return value >= 1 && value <= 5 ? value + kYearsOffset : 0;
        default:
            return 0;
    }
}

DateDisplay DateDisplayFor(int item, const Date& today) {
    if (item == kRangeItem) return {true, false, {}};
    const DateCondition condition = DateConditionOfItem(item);
    if (condition.type < 2) return {};
    const auto first = ShiftDate(condition.type, condition.value, today);
    if (!first) return {false, true, {}};
    const std::wstring_view format = item == kTodayItem ? kTodayLabel : kSinceLabel;
    return {false, true, FormatText(format, {first->year, first->month, first->day})};
}

DateNotes NotesOf(const ParsedDate& parsed) {
    DateNotes notes;
    if (parsed.code == kDateYearRaised || parsed.code == kDateBothAdjusted)
        notes.year = FormatText(L"Year:%d -> %d ", {parsed.typed.year, parsed.date.year});
    if (parsed.code == kDateDayAdjusted || parsed.code == kDateBothAdjusted)
        notes.day = FormatText(L"Day:%d -> %d ", {parsed.typed.day, parsed.date.day});
    return notes;
}

DateChecks CheckDates(std::wstring& start, std::wstring& end) {
    DateChecks checks;
    const RangeDate first = CheckRangeDate(kStartTexts, start, checks.notices);
    if (first.failure) {
        checks.failure = first.failure;
        return checks;
    }
    const RangeDate last = CheckRangeDate(kEndTexts, end, checks.notices);
    if (last.failure) {
        checks.failure = last.failure;
        return checks;
    }
    if (first.date && last.date && DateNumber(*first.date) > DateNumber(*last.date))
        checks.failure = CheckFailure{CheckedField::UpdateDateEnd, {kEndBeforeStart, {start, end}}};
    return checks;
}
