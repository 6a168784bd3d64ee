#include "full_path.h"

#include <windows.h>

#include "file_system.h"

std::wstring FullExtendedPath(std::wstring_view path) {
    const std::wstring given(path);
    const DWORD size = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (size == 0) return given;
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return given;
    full.resize(length);
    return ExtendedLengthPath(full);
}
