// The copy of one source path from the command line: destination folder,
// name, checks, write probes, the copy itself, Zip and the result list.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include <windows.h>

#include "archive_writer.h"
#include "file_system.h"
#include "run/browse_answer.h"
#include "run/conditions.h"
#include "run/created_entries.h"
#include "run/folder_tree.h"
#include "result_list/result_entries.h"
#include "startup/run_state.h"
#include "settings.h"

// What the copy run needs from outside the file system; tests replace it.
struct CopyRunServices {
    // Shows the folder browser, starting at the folder given.
    std::function<BrowseAnswer(const std::wstring& initialFolder)> browse;
    // The source-names label or its tooltip changed (SharedRunState holds them).
    std::function<void()> sourcesChanged;
};

// The state of one run of the worker, kept across its sources.
struct RunContext {
    RunContext(const Settings& s, const SelectionConditions& c, SharedRunState& state)
        : settings(s), conditions(c), shared(state), packProgress(state.progress.pack) {}

    const Settings& settings;
    const SelectionConditions& conditions;
    SharedRunState& shared;
    CopyRunServices services;
    // The file operations of the run; tests put stand-ins in their place.
    FileSystem* files = &SystemFileSystem();
    // What this run made: the only entries it may remove again.
    CreatedEntries created;

    // A folder picked in the browser; later sources go there without asking.
    std::wstring chosenFolder;
    // A copy or list that the system redirected into the VirtualStore folder.
    bool virtualStoreFound = false;
    std::wstring virtualStoreFolder;
    // Where the last source went, for showing it in Explorer.
    std::wstring lastDestinationFolder;
    std::wstring lastDestinationPath;
    std::wstring lastListPath;  // empty when the last source wrote no list
    // With Verify: nothing so far failed to be read back and matched.
    bool allVerified = true;
    // How far packing the current archive has come (the progress window shows it).
    ArchiveProgress& packProgress;
    // Room for the copy result list's entries (tests stand in for memory
    // running out with a small limit).
    std::size_t listEntryLimit = ResultEntryTable::kNoLimit;
    // Threads copying a folder tree's files (1: one after another).
    unsigned copyWorkers = DefaultCopyWorkers();
    // The progress window's source-names decoration.
    int sourcesSeen = 0;
    std::wstring firstSource;
    std::wstring sourceNames;
};

// The source of a command-line path as a copy run takes it: copySource is
// the path in normal form without a trailing "\", data its find data. False
// when there is no such file or folder.
bool FindSource(FileSystem& files, std::wstring_view sourcePath, std::wstring& copySource, WIN32_FIND_DATAW& data);

// Copies one source path (it may be empty). Returns 0 on success, also when
// the run was cancelled, and -1 on failure (after showing why).
int CopyOneSource(RunContext& run, std::wstring_view sourcePath);

// The folder the browser starts at when nothing better is known.
std::wstring InitialBrowseFolder(const RunContext& run);
