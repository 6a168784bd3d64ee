// Which folders a walk over a tree enters. A folder that is a junction or a
// symbolic link names another place: entering it would copy that place a
// second time, or loop for ever when it points at a parent (the profile's
// compatibility junctions "My Music", "Application Data", ... refuse
// listing on Windows anyway). Other reparse points keep their content in
// the folder itself (cloud-file placeholders, deduplicated folders) and are
// walked like any folder.
#pragma once

#include <cstdint>

#include <windows.h>

// IsReparseTagNameSurrogate of winnt.h: the tag names another entry.
constexpr bool IsNameSurrogateTag(std::uint32_t tag) {
    return (tag & 0x20000000u) != 0;
}

// For a folder entry as FindFirstFileW reports it: false for a junction, a
// symbolic link, or a reparse point without a real tag (Wine reports 0 for
// its symbolic links); true for every other folder.
constexpr bool EntersFolder(const WIN32_FIND_DATAW& data) {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return true;
    const std::uint32_t tag = data.dwReserved0;
    return tag != 0 && !IsNameSurrogateTag(tag);
}
