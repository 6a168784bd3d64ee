// Reading a copy back and comparing it with its source, byte for byte: both
// files are at hand, so a plain comparison is exact and costs no more than
// hashing both would. The copy is read past the system's cache (DiskReader),
// so the comparison sees what reached the disk.
#pragma once

#include <string>

#include <windows.h>

#include "file_system.h"

enum class CopyCheck {
    Same,           // the copy holds exactly the source's bytes
    Differs,        // it does not
    SourceChanged,  // the source's size or time changed since the copy began
    Unreadable,     // one of the two could not be read (error says why)
};

// sourceBefore is the source's find data from before the copy.
CopyCheck CheckCopy(FileSystem& files, const std::wstring& source, const std::wstring& copy,
                    const WIN32_FIND_DATAW& sourceBefore, DWORD& error);
