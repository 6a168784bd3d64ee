// The list of what goes into an archive: a folder source with everything in
// it, or one file.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "file_system.h"

// One entry of an archive.
struct SourceItem {
    std::wstring path;  // full path of the file to read; may be extended-length ("\\?\C:\...")
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

// The entry for one file or folder (data as FindFirstFileW reports it): path
// is what will be read, archiveName the name inside the archive with "\" or
// "/" between parts (a folder's name may end in one). kArchiverOk, or
// kArchiverBadName when the name is empty, has no UTF-8 form or is too long
// for a Zip header.
[[nodiscard]] int MakeSourceItem(std::wstring path, std::wstring_view archiveName, const WIN32_FIND_DATAW& data,
                                 SourceItem& item);

// A folder source ("C:\a\work\" or "C:\a\work") becomes the folder entry
// "work/" followed by its contents, every folder (empty ones too) as its own
// entry, in archive order (archive_order.h). A file source becomes one entry
// with its own name. A folder below the source is entered exactly when
// EntersFolder (folder_links.h) says so; a junction or a symbolic link to a
// folder is left out altogether, as the copy walk leaves it out. Paths are
// read in their extended-length form, so a tree deeper than 260 characters
// archives whole. Stops with kArchiverStopped when *cancel is set. Folders
// are listed through files.
SourceScan ScanSource(std::wstring_view source, const std::atomic<bool>* cancel,
                      FileSystem& files = SystemFileSystem());

// Takes each entry as the scan finds it.
using ScanSink = std::function<void(SourceItem)>;
// The same scan, handing every entry to sink as soon as it is found, so that
// packing can begin while the tree is still being listed; the items of the
// returned scan stay empty. On a failure, the entries handed over so far are
// not the whole source.
SourceScan ScanSource(std::wstring_view source, const std::atomic<bool>* cancel, FileSystem& files,
                      const ScanSink& sink);

// The attributes an entry carries: folder, or archive plus read-only as the
// file had it; hidden, system and the rest stay behind (the folder the copy
// tool compresses is hidden while it works).
std::uint32_t StoredAttributes(DWORD fileAttributes);
