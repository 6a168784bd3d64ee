#include "local_time.h"

std::optional<SYSTEMTIME> LocalTimeOf(const FILETIME& utc) {
    SYSTEMTIME universal = {};
    SYSTEMTIME local = {};
    if (!::FileTimeToSystemTime(&utc, &universal) || !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return std::nullopt;
    return local;
}

std::optional<std::uint64_t> TicksOfLocalDate(const Date& date, int hour) {
    if (date.year < kFirstFileTimeYear || date.year > kLastFileTimeYear) return std::nullopt;
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(date.year);
    local.wMonth = static_cast<WORD>(date.month);
    local.wDay = static_cast<WORD>(date.day);
    local.wHour = static_cast<WORD>(hour);
    SYSTEMTIME utc = {};
    FILETIME time = {};
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !::SystemTimeToFileTime(&utc, &time))
        return std::nullopt;
    return FileTimeTicks(time);
}
