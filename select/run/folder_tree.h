// Copying a source folder depth-first with the selection conditions applied
// to every file, and leaving out folders in which nothing was copied.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include <windows.h>

#include "run/conditions.h"
#include "startup/run_state.h"
#include "settings.h"

// Records one entry of the copy result list: the path relative to the copied
// folder, whether it is a folder, and its find data.
using EntryRecorder = std::function<void(const std::wstring& relativePath, bool isFolder, const WIN32_FIND_DATAW&)>;

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
};

// Creates a destination folder and remembers it as made by this run when it
// did not exist before. Returns 0 or the folder-creation error.
[[nodiscard]] int CreateTrackedFolder(TreeCopy& copy, const std::wstring& folder);

// Copies the content of sourceFolder (the source root at the first call).
// Stops at the next entry once copyCancelRequested is set; a file or folder
// that cannot be written sets it and shows why. A folder that cannot be
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
