// Delivering a copy as a Zip archive straight from the sources: the entries
// the walk selected (or the one file) are packed into the archive, with no
// copy made first.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "archive_writer.h"
#include "file_system.h"
#include "run/folder_tree.h"

// The entries of a folder source's archive: one folder named like the
// archive (topName, the archive's name without ".zip") holding every packed
// entry at its place, in the order the archiver gives a tree. sourceRoot and
// its find data give the top folder's times. kArchiverOk, or
// kArchiverBadName with the path that has no UTF-8 form in badPath.
[[nodiscard]] int TreeArchiveItems(const std::wstring& sourceRoot, const WIN32_FIND_DATAW& rootData,
                                   const std::wstring& topName, const std::vector<PackedEntry>& packed,
                                   std::vector<SourceItem>& items, std::wstring& badPath);

// The single entry of a file source's archive, named like the file.
[[nodiscard]] int FileArchiveItems(const std::wstring& sourceFile, const WIN32_FIND_DATAW& data,
                                   std::vector<SourceItem>& items, std::wstring& badPath);

// How one archive is delivered.
struct DeliveryOptions {
    FileSystem* files = &SystemFileSystem();
    const std::atomic<bool>* cancel = nullptr;
    ArchiveProgress* progress = nullptr;
    // The archive is read back before it takes its place; one that does not
    // read back is written once more, and if that fails too, not kept.
    bool verify = false;
    // Called when the reading back begins.
    std::function<void()> onChecking;
};

// Packs items into archivePath. True when the archive is in place. Cancel
// (the flag set) ends it silently; other failures show why, naming the file
// that could not be read or the archive that could not be written. Either
// way no archive is left, and a file that was at archivePath before is left
// as it was.
[[nodiscard]] bool DeliverArchive(const std::vector<SourceItem>& items, const std::wstring& archivePath,
                                  const DeliveryOptions& options);

// Shows that a name has no UTF-8 form and cannot go into an archive.
void ReportNameWithoutUtf8(const std::wstring& path);
