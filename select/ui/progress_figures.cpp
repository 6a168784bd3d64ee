#include "ui/progress_figures.h"

#include <cmath>

#include "format.h"
#include "language.h"
#include "result_list/thousands.h"

namespace {

// Numbers, the word for what they count, sizes.
constexpr MessagePair kFilesCopied = {L"コピー済み %s %s、%s", L"%s %s, %s copied"};
constexpr MessagePair kItemsPacked = {L"圧縮済み %s %s、%s", L"%s %s, %s packed"};
constexpr MessagePair kFilesOfTotal = {L"%s / %s %s、%s / %s", L"%s of %s %s, %s of %s"};
constexpr MessagePair kFewSeconds = {L"残り数秒", L"a few seconds left"};
constexpr MessagePair kSeconds = {L"残り約%d秒", L"about %d seconds left"};
constexpr MessagePair kOneMinute = {L"残り約1分", L"about 1 minute left"};
constexpr MessagePair kMinutes = {L"残り約%d分", L"about %d minutes left"};
constexpr MessagePair kOneHour = {L"残り約1時間", L"about 1 hour left"};
constexpr MessagePair kHours = {L"残り約%d時間", L"about %d hours left"};
constexpr MessagePair kOneHourMinutes = {L"残り約1時間%d分", L"about 1 hour %d minutes left"};
constexpr MessagePair kHoursMinutes = {L"残り約%d時間%d分", L"about %d hours %d minutes left"};
constexpr MessagePair kShareAndTime = {L"%d%%、%s", L"%d%%, %s"};

constexpr const wchar_t* kSizeUnits[] = {L"KB", L"MB", L"GB", L"TB", L"PB", L"EB"};
constexpr std::uint64_t kUnit = 1024;

// Below this many seconds the estimate is shown in seconds, below
// kMinutesUpTo in minutes, below kTenMinutesUpTo in steps of ten minutes.
constexpr double kFewSecondsUpTo = 5;
constexpr double kSecondsUpTo = 55;
constexpr double kMinutesUpTo = 59.5 * 60;
constexpr double kTenMinutesUpTo = 10 * 3600;

std::wstring Count(std::uint64_t number) {
    return FormatThousands(std::to_wstring(number));
}

// What the numbers count: files copied, or entries packed into an archive.
std::wstring_view FilesWord(std::uint64_t count, bool packing, bool japanese) {
    if (japanese) return packing ? L"項目" : L"ファイル";
    if (packing) return count == 1 ? L"item" : L"items";
    return count == 1 ? L"file" : L"files";
}

std::wstring HoursAndMinutes(int minutes, bool japanese) {
    const int hours = minutes / 60;
    const int rest = minutes % 60;
    if (rest == 0)
        return hours == 1 ? std::wstring(Pick(kOneHour, japanese)) : FormatText(Pick(kHours, japanese), {hours});
    if (hours == 1) return FormatText(Pick(kOneHourMinutes, japanese), {rest});
    return FormatText(Pick(kHoursMinutes, japanese), {hours, rest});
}

}  // namespace

std::optional<int> ShareDone(const ProgressFigures& figures) {
    if (!figures.totals) return std::nullopt;
    const auto share = [](std::uint64_t done, std::uint64_t total) {
        if (done >= total) return kShareRange;
        return static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * kShareRange);
    };
    if (figures.totals->bytes > 0) return share(figures.bytesDone, figures.totals->bytes);
    if (figures.totals->files > 0) return share(figures.filesDone, figures.totals->files);
    return std::nullopt;
}

std::wstring SizeText(std::uint64_t bytes) {
    if (bytes < kUnit * kUnit) return Count((bytes + kUnit - 1) / kUnit) + L" KB";
    std::size_t unit = 1;
    std::uint64_t scale = kUnit * kUnit;
    while (unit + 1 < std::size(kSizeUnits) && bytes / kUnit >= scale) {
        scale *= kUnit;
        ++unit;
    }
    const std::uint64_t whole = bytes / scale;
    if (whole >= 10) return Count(whole) + L" " + kSizeUnits[unit];
    const std::uint64_t tenths = bytes % scale * 10 / scale;
    return std::to_wstring(whole) + L"." + std::to_wstring(tenths) + L" " + kSizeUnits[unit];
}

std::wstring DoneText(const ProgressFigures& f, bool japanese) {
    if (!f.totals)
        return FormatText(Pick(f.packing ? kItemsPacked : kFilesCopied, japanese),
                          {Count(f.filesDone), FilesWord(f.filesDone, f.packing, japanese), SizeText(f.bytesDone)});
    return FormatText(Pick(kFilesOfTotal, japanese),
                      {Count(f.filesDone), Count(f.totals->files), FilesWord(f.totals->files, f.packing, japanese),
                       SizeText(f.bytesDone), SizeText(f.totals->bytes)});
}

std::wstring TimeLeftText(double seconds, bool japanese) {
    if (seconds <= kFewSecondsUpTo) return std::wstring(Pick(kFewSeconds, japanese));
    if (seconds <= kSecondsUpTo)
        return FormatText(Pick(kSeconds, japanese), {static_cast<int>(std::ceil(seconds / 5) * 5)});
    if (seconds < kMinutesUpTo) {
        const int minutes = std::max(1, static_cast<int>(std::lround(seconds / 60)));
        return minutes == 1 ? std::wstring(Pick(kOneMinute, japanese))
                            : FormatText(Pick(kMinutes, japanese), {minutes});
    }
    if (seconds < kTenMinutesUpTo) return HoursAndMinutes(static_cast<int>(std::lround(seconds / 600)) * 10, japanese);
    return HoursAndMinutes(static_cast<int>(std::lround(seconds / 3600)) * 60, japanese);
}

std::wstring ShareText(int share, std::optional<double> secondsLeft, bool japanese) {
    const int percent = share / (kShareRange / 100);
    if (!secondsLeft) return std::to_wstring(percent) + L"%";
    return FormatText(Pick(kShareAndTime, japanese), {percent, TimeLeftText(*secondsLeft, japanese)});
}

std::wstring TrayTip(const std::wstring& shareText) {
    return shareText.empty() ? std::wstring(L"VaroSelect") : L"VaroSelect " + shareText;
}
