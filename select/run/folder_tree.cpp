#include "run/folder_tree.h"

#include <algorithm>
#include <unordered_set>

#include "archive_order.h"
#include "error_texts.h"
#include "find_data.h"
#include "folder_links.h"
#include "format.h"
#include "message_box.h"
#include "paths.h"
#include "run/copy_rules.h"
#include "run/run_failure.h"
#include "text.h"

namespace {

constexpr MessagePair kCopyFileFailed = {L"ファイルのコピーに失敗しました。\n%s\n\n%s",
                                         L"Failed to copy a file.\n%s\n\n%s"};
constexpr MessagePair kCreateFolderFailed = {L"フォルダの作成に失敗しました。\n%s\n\n%s",
                                             L"Failed to create a folder.\n%s\n\n%s"};

bool IsFolderEntry(const WIN32_FIND_DATAW& data) {
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// One walk over a source tree and the queue its file copies go to.
struct Walk {
    TreeCopy& copy;
    CopyQueue& files;
};

std::wstring RelativeTo(const std::wstring& root, const std::wstring& path) {
    const std::wstring base = JoinPath(root, L"");
    return path.size() > base.size() ? path.substr(base.size()) : std::wstring();
}

// Runs on a copy thread (or on the walk's, with one worker). Only the first
// failure of the run is shown: copies that fail after it, or after Cancel,
// fail because of it.
void CopyQueuedFile(TreeCopy& copy, const std::wstring& from, const std::wstring& to, const WIN32_FIND_DATAW& data,
                    Destination destination) {
    SharedRunState& shared = copy.shared;
    if (shared.copyCancelRequested.load()) return;
    shared.statusItemText.Set(data.cFileName);
    shared.statusProgressText.Clear();
    FileCopyProgress progress(shared.progress, FileSizeOf(data));
    const CopyResult result = copy.copyFile(copy.files, from, to, shared, destination, copy.verify ? &data : nullptr);
    if (result.error == 0) {
        if (result.differs && copy.findings) copy.findings->Differs(DisplayPath(to));
        if (result.sourceChanged && copy.findings) copy.findings->SourceChanged(DisplayPath(from));
        if (!result.differs) {
            progress.Copied();
            shared.somethingCopied = true;
        }
        return;
    }
    if (!shared.copyCancelRequested.exchange(true))
        ShowMessage(nullptr, MB_ICONWARNING, kCopyFileFailed, {SystemErrorText(result.error), DisplayPath(to)});
}

// The walk's own status: what it passes while no file is being copied (a
// list-only run). While copies run, the status lines name the file being
// copied and its bytes, which the walk, ahead of them, must not overwrite.
void ShowWalkStatus(const TreeCopy& copy, std::wstring_view item) {
    if (!ListOnly(copy.settings)) return;
    copy.shared.statusItemText.Set(item);
    copy.shared.statusProgressText.Clear();
}

void CopyTreeFile(Walk& walk, const std::wstring& sourcePath, const std::wstring& relative,
                  const WIN32_FIND_DATAW& data, Destination destination) {
    TreeCopy& copy = walk.copy;
    const Settings& s = copy.settings;
    if (!Selected(copy.conditions, data)) return;
    ShowWalkStatus(copy, data.cFileName);
    if (copy.packed) {
        if (!ListOnly(s)) {
            copy.packed->push_back({sourcePath, relative, data});
            if (copy.packing) copy.packing->AddFile(copy.packed->back());
        }
    } else if (!ListOnly(s)) {
        walk.files.Add([&copy, sourcePath, to = copy.destinationRoot + relative, data, destination] {
            CopyQueuedFile(copy, sourcePath, to, data, destination);
        });
    }
    if (copy.record && WalkRecordsEntries(s)) copy.record(relative, false, data);
}

void WalkFolder(Walk& walk, const std::wstring& sourceFolder);

void CopyTreeFolder(Walk& walk, const std::wstring& sourcePath, const std::wstring& relative,
                    const WIN32_FIND_DATAW& data) {
    TreeCopy& copy = walk.copy;
    const Settings& s = copy.settings;
    // A junction or symbolic link names another place: its content is not
    // part of this folder (and may be this folder itself).
    if (!EntersFolder(data)) return;
    ShowWalkStatus(copy, data.cFileName);
    // A folder this run made (the copy itself, when it lies in the source)
    // holds copies, not source files.
    if (copy.created.Contains(sourcePath)) return;
    if (PrecheckEmptyFolders(s) && !copy.copyable.InFolder(sourcePath)) return;
    if (copy.record && WalkRecordsEntries(s)) copy.record(relative + L"\\", true, data);
    if (copy.packed) {
        if (!ListOnly(s)) {
            copy.packed->push_back({sourcePath, relative + L"\\", data});
            if (copy.packing) copy.packing->EnterFolder(copy.packed->back());
        }
    } else if (!ListOnly(s)) {
        const std::wstring destination = copy.destinationRoot + relative;
        if (const int code = CreateTrackedFolder(copy, destination); code != 0) {
            if (!copy.shared.copyCancelRequested.exchange(true))
                ShowMessage(nullptr, MB_ICONWARNING, kCreateFolderFailed,
                            {DirectoryErrorText(code), DisplayPath(destination)});
            return;
        }
        copy.shared.somethingCopied = true;
    }
    WalkFolder(walk, sourcePath);
    if (copy.packing) copy.packing->LeaveFolder();
}

// Lists a folder for a walk whose entries are packed as it goes: sorted into
// archive order first, so that they reach the archive in its order.
DWORD ListInArchiveOrder(FileSystem& files, const std::wstring& folder, const FileSystem::Visit& visit) {
    std::vector<WIN32_FIND_DATAW> entries;
    const DWORD error = files.List(folder, [&entries](const WIN32_FIND_DATAW& data) {
        entries.push_back(data);
        return true;
    });
    std::sort(entries.begin(), entries.end(), [](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
        return NameComesFirst(a.cFileName, b.cFileName);
    });
    for (const WIN32_FIND_DATAW& data : entries) {
        if (!visit(data)) break;
    }
    return error;
}

void WalkFolder(Walk& walk, const std::wstring& sourceFolder) {
    TreeCopy& copy = walk.copy;
    ShowWalkStatus(copy, {});
    if (copy.shared.copyCancelRequested.load()) return;
    // In a folder this run made, every file is one of this run's copies.
    const std::wstring destinationFolder = copy.destinationRoot + RelativeTo(copy.sourceRoot, sourceFolder);
    const Destination destination =
        copy.packed || copy.created.Contains(destinationFolder) ? Destination::IsNew : Destination::MayExist;
    const auto visit = [&](const WIN32_FIND_DATAW& data) {
        if (copy.shared.copyCancelRequested.load()) return false;
        const std::wstring path = JoinPath(sourceFolder, data.cFileName);
        const std::wstring relative = RelativeTo(copy.sourceRoot, path);
        if (IsFolderEntry(data))
            CopyTreeFolder(walk, path, relative, data);
        else if (copy.settings.Select == 1)
            CopyTreeFile(walk, path, relative, data, destination);
        return true;
    };
    const DWORD error =
        copy.packing ? ListInArchiveOrder(copy.files, sourceFolder, visit) : copy.files.List(sourceFolder, visit);
    if (error != 0 && !copy.shared.copyCancelRequested.load())
        copy.unreadableFolders.push_back(DisplayPath(sourceFolder));
}

bool IsPackedFolder(const PackedEntry& entry) {
    return entry.relativePath.back() == L'\\';
}

// The folders (relative, with their "\\") that hold a packed file at some depth.
std::unordered_set<std::wstring> FoldersHoldingFiles(const std::vector<PackedEntry>& entries) {
    std::unordered_set<std::wstring> holding;
    for (const PackedEntry& entry : entries) {
        if (IsPackedFolder(entry)) continue;
        for (std::size_t slash = entry.relativePath.find(L'\\'); slash != std::wstring::npos;
             slash = entry.relativePath.find(L'\\', slash + 1))
            holding.insert(entry.relativePath.substr(0, slash + 1));
    }
    return holding;
}

}  // namespace

bool Selected(const SelectionConditions& conditions, const WIN32_FIND_DATAW& data) {
    return SelectsEverything(conditions) || IsFileSelected(conditions, data.cFileName, data.ftLastWriteTime);
}

void CheckFindings::Differs(const std::wstring& copy) {
    std::lock_guard guard(lock_);
    differing_.push_back(copy);
}

void CheckFindings::SourceChanged(const std::wstring& source) {
    std::lock_guard guard(lock_);
    changed_.push_back(source);
}

std::vector<std::wstring> CheckFindings::differing() const {
    std::lock_guard guard(lock_);
    return differing_;
}

std::vector<std::wstring> CheckFindings::changed() const {
    std::lock_guard guard(lock_);
    return changed_;
}

bool CheckFindings::empty() const {
    std::lock_guard guard(lock_);
    return differing_.empty() && changed_.empty();
}

bool CopyableFiles::InFolder(const std::wstring& folder) {
    if (const auto known = known_.find(folder); known != known_.end()) return known->second;
    bool found = false;
    bool cancelled = false;
    const DWORD error = files_.List(folder, [&](const WIN32_FIND_DATAW& data) {
        if (cancel_.load()) {
            cancelled = true;
            return false;
        }
        if (IsFolderEntry(data))
            found = EntersFolder(data) && InFolder(JoinPath(folder, data.cFileName));
        else
            found = settings_.Select != 1 || Selected(conditions_, data);
        return !found;
    });
    if (cancelled || cancel_.load()) return true;
    const bool holds = found || error != 0;
    known_.emplace(folder, holds);
    return holds;
}

int CreateTrackedFolder(TreeCopy& copy, const std::wstring& folder) {
    return static_cast<int>(MakeFolders(copy.files, ExtendedLengthPath(folder),
                                        [&copy](const std::wstring& made) { copy.created.Add(made); }));
}

void CopyFolderTree(TreeCopy& copy, const std::wstring& sourceFolder) {
    CopyQueue files(copy.copyWorkers,
                    [&copy](const std::wstring& what) { StopRunOnUnexpectedFailure(copy.shared, what); });
    Walk walk{copy, files};
    try {
        WalkFolder(walk, sourceFolder);
    } catch (...) {
        // The copies still waiting end at once; the run's barrier reports it.
        copy.shared.copyCancelRequested = true;
        throw;
    }
    files.Finish();
}

void RemoveEmptyFolders(TreeCopy& copy, const std::wstring& destinationFolder) {
    if (copy.shared.copyCancelRequested.load()) return;
    copy.shared.statusItemText.Clear();
    copy.shared.statusProgressText.Clear();
    const Settings& s = copy.settings;
    const std::wstring folder = StripTrailingBackslash(destinationFolder);
    const std::wstring relative = RelativeTo(copy.destinationRoot, folder);
    (void)copy.files.List(folder, [&](const WIN32_FIND_DATAW& data) {
        const std::wstring path = folder + L"\\" + data.cFileName;
        if (IsFolderEntry(data))
            RemoveEmptyFolders(copy, path);
        else if (copy.record && s.Select == 1 && WritesList(s))
            copy.record(RelativeTo(copy.destinationRoot, path), false, data);
        return true;
    });
    copy.shared.statusItemText.Set(FormatText(L"Check folder: %s", {relative}));
    if (copy.created.RemoveEmptyFolder(copy.files, folder)) {
        copy.shared.statusItemText.Set(FormatText(L"Delete empty folder: %s", {relative}));
        if (relative.empty()) copy.shared.somethingCopied = false;
        return;
    }
    if (copy.record && WritesList(s) && !relative.empty()) {
        WIN32_FIND_DATAW data{};
        data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
        copy.record(relative + L"\\", true, data);
    }
}

void DropEmptyPackedFolders(TreeCopy& copy) {
    std::vector<PackedEntry>& entries = *copy.packed;
    const std::unordered_set<std::wstring> holding = FoldersHoldingFiles(entries);
    std::erase_if(entries, [&holding](const PackedEntry& entry) {
        return IsPackedFolder(entry) && holding.count(entry.relativePath) == 0;
    });
    if (!copy.record || !WritesList(copy.settings)) return;
    for (const PackedEntry& entry : entries) {
        const bool isFolder = IsPackedFolder(entry);
        if (isFolder || copy.settings.Select == 1) copy.record(entry.relativePath, isFolder, entry.data);
    }
}
