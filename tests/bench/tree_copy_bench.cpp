// The copy tool's own folder-tree copy with a chosen number of copy threads,
// so the benchmark can compare worker counts on the shipped code.
//
//   tree_copy_bench.exe <workers> <source folder> <destination folder>
#include <windows.h>

#include <string>

#include "run/folder_tree.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return 2;
    const int workers = _wtoi(argv[1]);
    if (workers < 1) return 2;
    const Settings settings = DefaultSettings(false, std::nullopt);
    const SelectionConditions conditions;
    SharedRunState shared;
    CreatedEntries created;
    TreeCopy copy(settings, conditions, shared, SystemFileSystem(), created);
    copy.sourceRoot = ExtendedLengthPath(argv[2]);
    copy.destinationRoot = ExtendedLengthPath(std::wstring(argv[3]) + L"\\");
    copy.copyWorkers = static_cast<unsigned>(workers);
    if (CreateTrackedFolder(copy, copy.destinationRoot) != 0) return 1;
    CopyFolderTree(copy, copy.sourceRoot);
    return shared.copyCancelRequested.load() || !copy.unreadableFolders.empty() ? 1 : 0;
}
