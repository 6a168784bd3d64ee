// Values of a directory entry as FindFirstFileW and FindNextFileW report it.
#pragma once

#include <cstdint>

#include <windows.h>

// The size from its two 32-bit halves; a folder reports 0.
inline std::uint64_t FileSizeOf(const WIN32_FIND_DATAW& data) {
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}
