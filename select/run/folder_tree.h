// Copying a source folder depth-first with the selection conditions applied
// to every file, and leaving out folders in which nothing was copied.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include <windows.h>

#include "file_system.h"
#include "run/conditions.h"
#include "run/copy_queue.h"
#include "run/created_entries.h"
#include "run/file_copy.h"
#include "startup/run_state.h"
#include "settings.h"

// Records one entry of the copy result list: the path relative to the copied
// folder, whether it is a folder, and its find data.
using EntryRecorder = std::function<void(const std::wstring& relativePath, bool isFolder, const WIN32_FIND_DATAW&)>;

// Copies one file as CopyOneFile does; tests put a stand-in in its place.
using FileCopier =
    std::function<CopyResult(FileSystem& files, const std::wstring& from, const std::wstring& to,
                             SharedRunState& shared, Destination destination, const WIN32_FIND_DATAW* verifyAgainst)>;

// Copies that could not be verified, noted by the copy threads.
class CheckFindings {
public:
    void Differs(const std::wstring& copy);
    void SourceChanged(const std::wstring& source);
    // Display paths, in the order they were noted.
    std::vector<std::wstring> differing() const;
    std::vector<std::wstring> changed() const;
    bool empty() const;

private:
    mutable std::mutex lock_;
    std::vector<std::wstring> differing_;
    std::vector<std::wstring> changed_;
};

// The walk's test of a file in a source folder, skipped when the conditions
// select every file anyway.
bool Selected(const SelectionConditions& conditions, const WIN32_FIND_DATAW& data);

// Whether source folders hold, at any depth, a file that would be copied.
// Every folder is listed at most once however often it is asked about (a
// folder that holds one, or that was listed to its end without one, is
// remembered), so the cost grows with the size of the tree, not with its
// size times its depth. Cancel ends a scan at the next entry.
class CopyableFiles {
public:
    CopyableFiles(const Settings& settings, const SelectionConditions& conditions, FileSystem& files,
                  const std::atomic<bool>& cancel)
        : settings_(settings), conditions_(conditions), files_(files), cancel_(cancel) {}

    // True when the folder holds such a file, and also when some folder on
    // the way cannot be listed (the walk then reports it) or the run was
    // cancelled meanwhile (the walk then stops at once).
    bool InFolder(const std::wstring& folder);

private:
    const Settings& settings_;
    const SelectionConditions& conditions_;
    FileSystem& files_;
    const std::atomic<bool>& cancel_;
    std::unordered_map<std::wstring, bool> known_;
};

// A selected entry of a tree packed into an archive: the source and its
// path relative to the source folder.
struct PackedEntry {
    std::wstring sourcePath;
    std::wstring relativePath;  // a folder's ends with "\"
    WIN32_FIND_DATAW data;
};

// Receives the entries of a packed tree as the walk meets them: in archive
// order, every folder entered before its content and left after it.
class PackedEntrySink {
public:
    virtual void EnterFolder(const PackedEntry& folder) = 0;
    virtual void LeaveFolder() = 0;
    virtual void AddFile(const PackedEntry& file) = 0;

protected:
    ~PackedEntrySink() = default;
};

// One folder source being copied.
struct TreeCopy {
    TreeCopy(const Settings& s, const SelectionConditions& c, SharedRunState& state, FileSystem& fileSystem,
             CreatedEntries& made)
        : settings(s),
          conditions(c),
          shared(state),
          files(fileSystem),
          created(made),
          copyable(s, c, fileSystem, state.copyCancelRequested) {}

    const Settings& settings;
    const SelectionConditions& conditions;
    SharedRunState& shared;
    FileSystem& files;
    CreatedEntries& created;
    CopyableFiles copyable;
    std::wstring sourceRoot;       // the source folder, extended-length form, no trailing "\"
    std::wstring destinationRoot;  // the folder receiving the copy, extended-length form, ends with "\"
    // Set when the tree is packed into an archive instead: the walk collects
    // its folders and selected files here and writes nothing.
    std::vector<PackedEntry>* packed = nullptr;
    // Set beside packed when the entries are packed while the walk goes on:
    // the walk then lists each folder in archive order.
    PackedEntrySink* packing = nullptr;
    EntryRecorder record;  // empty when no list is written
    // Source folders whose entries could not be listed (or only in part), as the user knows them.
    std::vector<std::wstring> unreadableFolders;
    // Threads copying the files while the walk goes on; 1 copies each file
    // on the walk's own thread before the walk moves on.
    unsigned copyWorkers = DefaultCopyWorkers();
    FileCopier copyFile = CopyOneFile;
    // Every copy is read back and compared with its source (Verify).
    bool verify = false;
    CheckFindings* findings = nullptr;  // where copies that could not be verified are noted
};

// Creates a destination folder with its missing parents and records each
// folder it made as made by this run. Returns 0 or the folder-creation error.
[[nodiscard]] int CreateTrackedFolder(TreeCopy& copy, const std::wstring& folder);

// Copies the content of sourceFolder (the source root at the first call).
// The walk makes every decision and every folder in its own order; the files
// are copied by copyWorkers threads, each into a folder that already exists,
// and all of them have ended when this returns. Walk and copies stop at the
// next entry once copyCancelRequested is set; the first file or folder that
// cannot be written sets it and is the one shown. A folder that cannot be
// listed is passed over and kept in unreadableFolders; a folder this run
// created is never entered, so a copy can never walk into itself; a folder
// that is a link to another place (a junction or symbolic link) is left out.
void CopyFolderTree(TreeCopy& copy, const std::wstring& sourceFolder);

// Removes, bottom-up, the empty folders below and including
// destinationFolder that this run created, recording what stays.
void RemoveEmptyFolders(TreeCopy& copy, const std::wstring& destinationFolder);

// The packed entries of a tree without the folders that hold no file at any
// depth, as the removal of empty folders after a copy leaves them; the list
// entries are recorded the way that removal records them.
void DropEmptyPackedFolders(TreeCopy& copy);
