// The list of what goes into an archive: a folder source with everything in
// it, or one file.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

struct SourceItem {
    std::wstring path;  // full path, for reading a file
    std::string name;   // entry name: UTF-8, "/" between parts, a folder ends in "/"
    bool isFolder = false;
    std::uint64_t size = 0;
    FILETIME writeTime{};
    FILETIME accessTime{};
    FILETIME creationTime{};
    std::uint32_t attributes = 0;  // as stored: never hidden or system
};

struct SourceScan {
    int code = 0;             // kArchiverOk or a failure code of archiver_api.h
    std::wstring failedPath;  // what could not be read or named
    std::vector<SourceItem> items;
};

// A folder source ("C:\a\work\" or "C:\a\work") becomes the folder entry
// "work/" followed by its contents, every folder (empty ones too) as its own
// entry, depth first with names sorted in each folder. A file source becomes
// one entry with its own name. Folders that are reparse points (links) are
// stored without descending into them. Stops with kArchiverStopped when
// *cancel is set.
SourceScan ScanSource(std::wstring_view source, const std::atomic<bool>* cancel);

// The attributes an entry carries: folder, or archive plus read-only as the
// file had it; hidden, system and the rest stay behind (the folder the copy
// tool compresses is hidden while it works).
std::uint32_t StoredAttributes(DWORD fileAttributes);
