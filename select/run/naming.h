// Names of the copies: fixed texts and generated parts (date and time, date,
// serial numbers) around the source's name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <windows.h>

#include "settings.h"

enum AddStringKind : int {
    kAddNone = 0,
    kAddDateTime = 1,    // yyyyMMdd_HHmmss
    kAddDate = 2,        // yyyyMMdd
    kAddDateSerial = 3,  // yyyyMMdd_<serial>
    kAddSerial = 4,      // <serial>
};

constexpr std::uint64_t kMaxSerial = 9223372036854775807ULL;

// The seven parts of a destination name; joined they give the full path.
struct DestinationName {
    std::wstring folder;           // the destination folder alone, ends with "\" (not part of Joined)
    std::wstring folderAndPrefix;  // destination folder (ends with "\") and PrefixBef1
    std::wstring before;           // generated from AddStringsBef
    std::wstring prefixBef2;
    std::wstring base;  // file name without extension, or the whole folder name
    std::wstring prefixAft1;
    std::wstring after;   // generated from AddStringsAft
    std::wstring suffix;  // PrefixAft2, the extension of a file, ".zip" with CompressMode 1

    std::wstring Joined() const;
};

// Builds the name of the copy of `sourceName` (a file's name and extension,
// or a folder's name) in destinationFolder (ends with "\") at local time
// `now`. Gives nothing when a serial number cannot be found.
std::optional<DestinationName> BuildDestinationName(const Settings& settings, std::wstring_view destinationFolder,
                                                    bool isFile, std::wstring_view sourceName, const SYSTEMTIME& now);

// The next serial for one slot (0 before the name, 1 after it) of a name
// whose other parts are known; nothing when the numbers are used up or the
// folder cannot be listed.
std::optional<std::uint64_t> FindNextSerial(const Settings& settings, const DestinationName& name, int slot);

// "yyyyMMdd_HHmmss": the date-and-time part of a name, and the stamp of a
// copy result list that the command interpreter writes elsewhere.
std::wstring DateTimeStamp(const SYSTEMTIME& now);

// The copy result list beside a copy: one trailing "\" removed, then ".txt".
std::wstring MakeListFilePath(std::wstring_view path);
