#include "run/folder_tree.h"

#include "run/copy_rules.h"
#include "error_texts.h"
#include "run/file_copy.h"
#include "format.h"
#include "handles.h"
#include "message_box.h"
#include "paths.h"
#include "text.h"

namespace {

constexpr MessagePair kCopyFileFailed = {L"ファイルのコピーに失敗しました。\n%s\n\n%s",
                                         L"Failed to copy a file.\n%s\n\n%s"};
constexpr MessagePair kCreateFolderFailed = {L"フォルダの作成に失敗しました。\n%s\n\n%s",
                                             L"Failed to create a folder.\n%s\n\n%s"};

bool IsDots(const wchar_t* name) {
    return std::wstring_view(name) == L"." || std::wstring_view(name) == L"..";
}

bool IsFolderEntry(const WIN32_FIND_DATAW& data) {
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The per-file test, skipped when the conditions select every file anyway.
bool Selected(const SelectionConditions& conditions, const WIN32_FIND_DATAW& data) {
    return SelectsEverything(conditions) || IsFileSelected(conditions, data.cFileName, data.ftLastWriteTime);
}

// One walk over a source tree and the queue its file copies go to.
struct Walk {
    TreeCopy& copy;
    CopyQueue& files;
};

std::wstring FolderKey(const std::wstring& folder) {
    return ToLowerText(StripTrailingBackslash(folder));
}

// Calls visit for every entry of a folder but "." and ".."; stops when visit
// answers false. Returns false when the folder could not be listed, or the
// listing broke off before its end.
template <typename Visit>
bool ForEachEntry(const std::wstring& folder, Visit visit) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((AddTrailingBackslash(folder) + L"*").c_str(), &data));
    // A drive root without entries has no "." either: nothing found is empty.
    if (!find) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (!IsDots(data.cFileName) && !visit(data)) return true;
    } while (::FindNextFileW(find.get(), &data));
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}

std::wstring RelativeTo(const std::wstring& root, const std::wstring& path) {
    const std::wstring base = AddTrailingBackslash(root);
    return path.size() > base.size() ? path.substr(base.size()) : std::wstring();
}

// Runs on a copy thread (or on the walk's, with one worker). Only the first
// failure of the run is shown: copies that fail after it, or after Cancel,
// fail because of it.
void CopyQueuedFile(TreeCopy& copy, const std::wstring& from, const std::wstring& to, const std::wstring& name,
                    Destination destination) {
    SharedRunState& shared = copy.shared;
    if (shared.copyCancelRequested.load()) return;
    shared.statusItemText.Set(name);
    shared.statusProgressText.Clear();
    const DWORD error = copy.copyFile(from, to, shared, destination);
    if (error == 0) {
        shared.somethingCopied = true;
        return;
    }
    if (!shared.copyCancelRequested.exchange(true))
        ShowMessage(nullptr, MB_ICONWARNING, kCopyFileFailed, {SystemErrorText(error), to});
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
    if (!ListOnly(s)) {
        walk.files.Add([&copy, sourcePath, to = copy.destinationRoot + relative, name = std::wstring(data.cFileName),
                        destination] { CopyQueuedFile(copy, sourcePath, to, name, destination); });
    }
    if (copy.record && WalkRecordsEntries(s)) copy.record(relative, false, data);
}

void WalkFolder(Walk& walk, const std::wstring& sourceFolder);

void CopyTreeFolder(Walk& walk, const std::wstring& sourcePath, const std::wstring& relative,
                    const WIN32_FIND_DATAW& data) {
    TreeCopy& copy = walk.copy;
    const Settings& s = copy.settings;
    ShowWalkStatus(copy, data.cFileName);
    // A folder this run made (the copy itself, when it lies in the source)
    // holds copies, not source files.
    if (copy.createdFolders.count(FolderKey(sourcePath)) != 0) return;
    if (PrecheckEmptyFolders(s) && !FolderHasCopyableFile(s, copy.conditions, sourcePath)) return;
    if (copy.record && WalkRecordsEntries(s)) copy.record(relative + L"\\", true, data);
    if (!ListOnly(s)) {
        const std::wstring destination = copy.destinationRoot + relative;
        if (const int code = CreateTrackedFolder(copy, destination); code != 0) {
            if (!copy.shared.copyCancelRequested.exchange(true))
                ShowMessage(nullptr, MB_ICONWARNING, kCreateFolderFailed, {DirectoryErrorText(code), destination});
            return;
        }
        copy.shared.somethingCopied = true;
    }
    WalkFolder(walk, sourcePath);
}

void WalkFolder(Walk& walk, const std::wstring& sourceFolder) {
    TreeCopy& copy = walk.copy;
    ShowWalkStatus(copy, {});
    if (copy.shared.copyCancelRequested.load()) return;
    // In a folder this run made, every file is one of this run's copies.
    const std::wstring destinationFolder = copy.destinationRoot + RelativeTo(copy.sourceRoot, sourceFolder);
    const Destination destination =
        copy.createdFolders.count(FolderKey(destinationFolder)) != 0 ? Destination::IsNew : Destination::MayExist;
    const bool listed = ForEachEntry(sourceFolder, [&](const WIN32_FIND_DATAW& data) {
        if (copy.shared.copyCancelRequested.load()) return false;
        const std::wstring path = AddTrailingBackslash(sourceFolder) + data.cFileName;
        const std::wstring relative = RelativeTo(copy.sourceRoot, path);
        if (IsFolderEntry(data))
            CopyTreeFolder(walk, path, relative, data);
        else if (copy.settings.Select == 1)
            CopyTreeFile(walk, path, relative, data, destination);
        return true;
    });
    if (!listed && !copy.shared.copyCancelRequested.load()) copy.unreadableFolders.push_back(sourceFolder);
}

}  // namespace

int CreateTrackedFolder(TreeCopy& copy, const std::wstring& folder) {
    if (IsFolder(folder)) return 0;
    const int code = CreateFolderTree(folder);
    if (code == 0) copy.createdFolders.insert(FolderKey(folder));
    return code;
}

void CopyFolderTree(TreeCopy& copy, const std::wstring& sourceFolder) {
    CopyQueue files(copy.copyWorkers);
    Walk walk{copy, files};
    WalkFolder(walk, sourceFolder);
    files.Finish();
}

bool FolderHasCopyableFile(const Settings& settings, const SelectionConditions& conditions,
                           const std::wstring& sourceFolder) {
    bool found = false;
    const bool listed = ForEachEntry(sourceFolder, [&](const WIN32_FIND_DATAW& data) {
        if (IsFolderEntry(data))
            found = FolderHasCopyableFile(settings, conditions, AddTrailingBackslash(sourceFolder) + data.cFileName);
        else
            found = settings.Select != 1 || Selected(conditions, data);
        return !found;
    });
    return found || !listed;
}

void RemoveEmptyFolders(TreeCopy& copy, const std::wstring& destinationFolder) {
    if (copy.shared.copyCancelRequested.load()) return;
    copy.shared.statusItemText.Clear();
    copy.shared.statusProgressText.Clear();
    const Settings& s = copy.settings;
    const std::wstring folder = StripTrailingBackslash(destinationFolder);
    const std::wstring relative = RelativeTo(copy.destinationRoot, folder);
    (void)ForEachEntry(folder, [&](const WIN32_FIND_DATAW& data) {
        const std::wstring path = folder + L"\\" + data.cFileName;
        if (IsFolderEntry(data))
            RemoveEmptyFolders(copy, path);
        else if (copy.record && s.Select == 1 && WritesList(s))
            copy.record(RelativeTo(copy.destinationRoot, path), false, data);
        return true;
    });
    copy.shared.statusItemText.Set(FormatText(L"Check folder: %s", {relative}));
    const bool ours = copy.createdFolders.count(FolderKey(folder)) != 0;
    if (ours && ::RemoveDirectoryW(folder.c_str())) {
        copy.createdFolders.erase(FolderKey(folder));
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
