// File times (UTC, 100-nanosecond ticks since 1601) against local calendar
// time, each converted with the zone rules of its own date.
#pragma once

#include <cstdint>
#include <optional>

#include <windows.h>

#include "dates.h"

// The years that file and system times can hold.
constexpr int kFirstFileTimeYear = 1601;
constexpr int kLastFileTimeYear = 30827;

inline std::uint64_t FileTimeTicks(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// The local time of a file time; nothing when it cannot be converted.
std::optional<SYSTEMTIME> LocalTimeOf(const FILETIME& utc);

// The file time of `hour` o'clock on a local date; nothing when it cannot be
// converted (a year outside the file-time years among others).
std::optional<std::uint64_t> TicksOfLocalDate(const Date& date, int hour);
