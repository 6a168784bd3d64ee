// Copying a source folder depth-first with the selection conditions applied
// to every file, and leaving out folders in which nothing was copied.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include <windows.h>

#include "run/conditions.h"
#include "run/copy_queue.h"
#include "run/file_copy.h"
#include "startup/run_state.h"
#include "settings.h"

// Records one entry of the copy result list: the path relative to the copied
// folder, whether it is a folder, and its find data.
using EntryRecorder = std::function<void(const std::wstring& relativePath, bool isFolder, const WIN32_FIND_DATAW&)>;

// Copies one file as CopyOneFile does; tests put a stand-in in its place.
using FileCopier = std::function<DWORD(const std::wstring& from, const std::wstring& to, SharedRunState& shared,
                                       Destination destination)>;

// One folder source being copied.
struct TreeCopy {
    const Settings& settings;
    const SelectionConditions& conditions;
    SharedRunState& shared;
    std::wstring sourceRoot;       // the source folder, without a trailing "\"
    std::wstring destinationRoot;  // the folder receiving the copy, ends with "\"
    EntryRecorder record;          // empty when no list is written
    // Destination folders this run created (lower case, no trailing "\"):
    // only these are removed when they stay empty, never the user's own.
    std::set<std::wstring> createdFolders;
    // Source folders whose entries could not be listed (or only in part).
    std::vector<std::wstring> unreadableFolders;
    // Threads copying the files while the walk goes on; 1 copies each file
    // on the walk's own thread before the walk moves on.
    unsigned copyWorkers = DefaultCopyWorkers();
    FileCopier copyFile = CopyOneFile;
};

// Creates a destination folder and remembers it as made by this run when it
// did not exist before. Returns 0 or the folder-creation error.
[[nodiscard]] int CreateTrackedFolder(TreeCopy& copy, const std::wstring& folder);

// Copies the content of sourceFolder (the source root at the first call).
// The walk makes every decision and every folder in its own order; the files
// are copied by copyWorkers threads, each into a folder that already exists,
// and all of them have ended when this returns. Walk and copies stop at the
// next entry once copyCancelRequested is set; the first file or folder that
// cannot be written sets it and is the one shown. A folder that cannot be
// listed is passed over and kept in unreadableFolders; a folder this run
// created is never entered, so a copy can never walk into itself.
void CopyFolderTree(TreeCopy& copy, const std::wstring& sourceFolder);

// True when the folder holds, at any depth, a file that would be copied, and
// when some folder on the way cannot be listed (the walk then reports it).
bool FolderHasCopyableFile(const Settings& settings, const SelectionConditions& conditions,
                           const std::wstring& sourceFolder);

// Removes, bottom-up, the empty folders below and including
// destinationFolder that this run created, recording what stays.
void RemoveEmptyFolders(TreeCopy& copy, const std::wstring& destinationFolder);
