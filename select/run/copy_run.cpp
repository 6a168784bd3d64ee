#include "run/copy_run.h"

#include <optional>

#include "run/copy_rules.h"
#include "error_texts.h"
#include "find_data.h"
#include "run/file_copy.h"
#include "format.h"
#include "handles.h"
#include "result_list/list_fallback.h"
#include "result_list/list_header.h"
#include "result_list/list_writer.h"
#include "message_box.h"
#include "run/naming.h"
#include "run/output_path.h"
#include "paths.h"
#include "program_names.h"
#include "run/source_paths.h"
#include "text.h"
#include "run/zip_delivery.h"
#include "archiver_api.h"

namespace {

constexpr MessagePair kSelectFolderOrFile = {L"フォルダ又はファイルを選択してください。\n\n%s",
                                             L"Please select a folder or file.\n\n%s"};
constexpr MessagePair kFileCopyDisabled = {
    L"ファイルコピー機能が有効になっていません。%sを起動して｢ファイルコピーを有効する｣をオンにしてください。\n\n%s",
    L"File copy function is not enabled.Please enable 'To enable the file copy' to start the %s.\n\n%s"};
constexpr MessagePair kCreateDestinationFailed = {L"コピー先のフォルダを作成できませんでした。\n\n%s\n\n%s",
                                                  L"Could not create copy destination folder.\n\n%s\n\n%s"};
constexpr MessagePair kCreateChosenFailed = {
    L"コピー先のフォルダを作成できませんでした。\nフォルダを選択し直してください。\n\n%s\n\n%s",
    L"Could not create copy destination folder.\nPlease select a folder again.\n\n%s\n\n%s"};
constexpr MessagePair kSerialExceeded = {L"連番が最大値(%I64d)を超えました。",
                                         L"The serial number has exceeded the maximum value(%I64d)."};
constexpr MessagePair kSameName = {L"コピー先に同名のファイルが存在しています。%s\n\n%s",
                                   L"The same name of the file to the copy destination already exists.%s\n\n%s"};
constexpr MessagePair kCannotCreateList = {
    L"コピー結果リストを作成できません。\n\n%s\n%s\n\n作成先のフォルダを選択して下さい。",
    L"Can't create a copy result list.\n\n%s\n%s\n\nPlease choose to create destination folder."};
constexpr MessagePair kCannotCopy = {L"コピーできません。\n\n%s\n%s\n\nコピー先のフォルダを選択して下さい。",
                                     L"Can not copy.\n\n%s\n%s\n\nPlease Select in which to copy."};
constexpr MessagePair kCopyFailed = {L"コピーに失敗しました。\n%s\n\n%s", L"Failed to copy.\n%s\n\n%s"};
constexpr MessagePair kInsideSource = {
    L"コピー先のフォルダがコピー元のフォルダの中にあります。\n\nコピー元 : %s\nコピー先 : %s",
    L"The destination folder is a subfolder of the source folder.\n\nSource : %s\nDestination : %s"};
constexpr MessagePair kCopiesDiffer = {
    L"読み戻したコピーが元のファイルと一致しませんでした : "
    L"%d個\nもう一度コピーしても一致しなかったため、これらのコピーは残していません。\n\n%s",
    L"Copies that did not match their source when read back : %d\nThey did not match after a second copy either and "
    L"have not been kept.\n\n%s"};
constexpr MessagePair kSourcesChanged = {
    L"コピー中に変更されたファイル : %d個\nこれらのコピーは照合できていません。\n\n%s",
    L"Files that changed while they were copied : %d\nTheir copies could not be verified.\n\n%s"};
constexpr MessagePair kUnreadableFolders = {
    L"読み込めなかったフォルダ : %d個\nこれらのフォルダはコピーされていません。\n\n%s",
    L"Folders that could not be read : %d\nThey have not been copied.\n\n%s"};

constexpr int kMaxSameNameRetries = 60;
constexpr std::size_t kMaxFolderDestinationChars = 247;
constexpr std::size_t kSourceNamesLabelChars = 64;
constexpr std::size_t kErrorTextChars = 256;
// A message about several paths names this many of them.
constexpr std::size_t kPathsShown = 5;
// Fresh names tried for the file that probes a folder.
constexpr int kProbeNameAttempts = 100;

// How one step of an attempt ends.
enum class Step { Next, Restart, Fail };

// One source and its current attempt.
struct SourceJob {
    std::wstring copySource;  // without a trailing "\"
    std::wstring name;        // name and extension
    WIN32_FIND_DATAW find{};
    bool isFile = false;
    bool treatAsFile = false;  // the destination is a single file (file, list only, or archive)
    int attempts = 0;          // same-name retries, kept across restarts

    // Per attempt.
    SYSTEMTIME now{};
    std::wstring destinationFolder;
    std::wstring destinationPath;
    std::wstring resultListPath;
    std::wstring errorText;
    bool selected = true;
    bool skipped = false;  // a folder with nothing to copy under EmptyDirNoCopy
};

bool HasWildcard(std::wstring_view path) {
    return path.find_first_of(L"*?") != std::wstring_view::npos;
}

bool Exists(const RunContext& run, std::wstring_view path) {
    return run.files->GetAttributes(ExtendedLengthPath(StripTrailingBackslash(path))) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolderIn(const RunContext& run, std::wstring_view path) {
    const DWORD attributes = run.files->GetAttributes(ExtendedLengthPath(StripTrailingBackslash(path)));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates a folder with its missing parents, each recorded as made by this run.
int MakeTrackedFolder(RunContext& run, std::wstring_view folder) {
    return static_cast<int>(MakeFolders(*run.files, ExtendedLengthPath(folder),
                                        [&run](const std::wstring& made) { run.created.Add(made); }));
}

void SetErrorText(SourceJob& job, std::wstring text) {
    if (text.size() > kErrorTextChars) text.resize(kErrorTextChars);
    job.errorText = std::move(text);
}

void DecorateProgressWindow(RunContext& run, const SourceJob& job) {
    ++run.sourcesSeen;
    if (run.sourcesSeen == 1) {
        run.firstSource = job.copySource;
        run.shared.sourceTipText.Set(job.copySource);
    } else if (run.sourcesSeen == 2) {
        run.shared.sourceTipText.Set(FormatText(L"%s ...", {run.firstSource}));
    }
    if (run.sourceNames.size() <= kSourceNamesLabelChars) {
        run.sourceNames += run.sourceNames.empty() ? job.name : L" " + job.name;
        run.shared.sourceNamesText.Set(FormatText(L"[%s]", {run.sourceNames}));
    }
    if (run.services.sourcesChanged) run.services.sourcesChanged();
}

// Shows the browser until the answer is a folder or Cancel.
std::wstring BrowseUntilAnswered(RunContext& run, const std::wstring& initialFolder) {
    for (;;) {
        const BrowseAnswer answer = run.services.browse(initialFolder);
        if (!answer.nameInvalid) return answer.folder;
    }
}

// After a failed probe: asks for another folder, which the next attempt uses.
Step AskForAnotherFolder(RunContext& run, const MessagePair& message, const std::wstring& errorText,
                         const std::wstring& path) {
    ShowMessage(nullptr, MB_ICONWARNING, message, {errorText, path});
    const std::wstring folder = BrowseUntilAnswered(run, InitialBrowseFolder(run));
    if (folder.empty()) return Step::Fail;
    run.chosenFolder = AddTrailingBackslash(folder);
    return Step::Restart;
}

// A copy of a folder into itself would walk into its own output without
// end, so a destination in the source (or the source itself as the folder
// that receives the copy) is refused before anything is made there. Only a
// folder source is walked, and only when the run writes more than a list.
bool DestinationInsideSource(const RunContext& run, const SourceJob& job, const std::wstring& destinationFolder) {
    if (job.isFile || ListOnly(run.settings)) return false;
    const std::wstring folder = NormalizeSourcePath(destinationFolder);
    return EqualsNoCase(StripTrailingBackslash(folder), job.copySource) || IsInsideFolder(folder, job.copySource);
}

Step RefuseInsideSource(const SourceJob& job, const std::wstring& destination) {
    ShowMessage(nullptr, MB_ICONERROR, kInsideSource, {job.copySource, destination});
    return Step::Fail;
}

Step ChooseDestinationFolder(RunContext& run, const SourceJob& job) {
    if (!run.chosenFolder.empty()) return Step::Next;
    const Settings& s = run.settings;
    std::wstring initial;
    if (s.SelDir == 1) {
        initial = s.CopyMode == 0 ? FolderOf(job.copySource) : InitialBrowseFolder(run);
    } else if (s.CopyMode == 1 && s.Path.empty()) {
        initial = InitialBrowseFolder(run);
    } else if (s.CopyMode == 1 && !IsFolderIn(run, s.Path)) {
        if (DestinationInsideSource(run, job, s.Path)) return RefuseInsideSource(job, s.Path);
        const int code = MakeTrackedFolder(run, s.Path);
        if (code == 0) return Step::Next;
        ShowMessage(nullptr, MB_ICONERROR, kCreateDestinationFailed, {DirectoryErrorText(code), s.Path});
        initial = s.Path;
    } else {
        return Step::Next;
    }
    const BrowseAnswer answer = run.services.browse(initial);
    if (answer.nameInvalid) return Step::Restart;
    if (answer.folder.empty()) return Step::Fail;
    run.chosenFolder = AddTrailingBackslash(answer.folder);
    if (IsFolderIn(run, run.chosenFolder)) return Step::Next;
    if (const int code = MakeTrackedFolder(run, run.chosenFolder); code != 0) {
        ShowMessage(nullptr, MB_ICONERROR, kCreateChosenFailed, {DirectoryErrorText(code), run.chosenFolder});
        run.chosenFolder.clear();
        return Step::Restart;
    }
    return Step::Next;
}

Step BuildNames(RunContext& run, SourceJob& job) {
    const Settings& s = run.settings;
    if (!run.chosenFolder.empty())
        job.destinationFolder = run.chosenFolder;
    else if (s.CopyMode == 1 && !s.Path.empty())
        job.destinationFolder = s.Path;
    else
        job.destinationFolder = FolderOf(job.copySource);
    job.destinationFolder = AddTrailingBackslash(NormalizeSourcePath(job.destinationFolder));

    const auto name = BuildDestinationName(s, job.destinationFolder, job.isFile, job.name, job.now);
    if (!name) {
        ShowMessage(nullptr, MB_ICONERROR, kSerialExceeded, {kMaxSerial});
        return Step::Fail;
    }
    const std::wstring built = name->Joined();
    job.resultListPath = MakeListFilePath(built);
    if (ListOnly(s)) {
        job.destinationPath = job.copySource;
        return Step::Next;
    }
    job.destinationPath = built;
    if (!job.treatAsFile) job.destinationPath = AddTrailingBackslash(job.destinationPath);
    return Step::Next;
}

Step CheckLengths(const RunContext& run, const SourceJob& job) {
    const Settings& s = run.settings;
    if (WritesList(s) && !OutputPathFits(job.resultListPath, kMaxPathLength)) return Step::Fail;
    if (ListOnly(s)) return Step::Next;
    if (!OutputPathFits(job.destinationPath, job.treatAsFile ? kMaxPathLength : kMaxFolderDestinationChars))
        return Step::Fail;
    return Step::Next;
}

// Pauses before a retry; a Cancel meanwhile ends the pause early.
void PauseBeforeRetry(const RunContext& run) {
    for (int waited = 0; waited < 1000 && !run.shared.copyCancelRequested.load(); waited += 50) ::Sleep(50);
}

Step CheckSameName(RunContext& run, SourceJob& job) {
    const Settings& s = run.settings;
    bool destinationTaken = false;
    bool listTaken = false;
    if (!BothKindsNone(s)) {
        destinationTaken = !ListOnly(s) && Exists(run, job.destinationPath);
        listTaken = WritesList(s) && Exists(run, job.resultListPath);
    }
    // The copy must never land on its own source. In list-only mode nothing
    // is written there, so only the list's own name counts.
    if (!ListOnly(s) && EqualsNoCase(StripTrailingBackslash(job.destinationPath), job.copySource))
        destinationTaken = true;
    if (!destinationTaken && !listTaken) return Step::Next;

    if (++job.attempts <= kMaxSameNameRetries) {
        if (UsesDateTime(s)) PauseBeforeRetry(run);
        return Step::Restart;
    }
    std::wstring taken;
    for (const auto& [isTaken, path] :
         {std::pair{destinationTaken, job.destinationPath}, std::pair{listTaken, job.resultListPath}}) {
        if (!isTaken) continue;
        if (!taken.empty()) taken += L"\n";
        taken += path;
    }
    ShowMessage(nullptr, MB_ICONERROR, kSameName, {std::wstring_view(), taken});
    return Step::Fail;
}

// Creates a file and deletes it again; 0 or the error number.
DWORD ProbeNewFile(FileSystem& files, const std::wstring& path) {
    DWORD error = 0;
    UniqueKernelHandle file = files.Open(path, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, error);
    if (!file) return error;
    file.reset();
    (void)files.RemoveFile(path);
    return 0;
}

// Tests that a file can be written at `path` without harming anything there.
// A file that is already there is not opened (the copy will replace it in
// one step, whatever its attributes): a fresh file beside it tests the folder.
DWORD ProbeWritableFile(FileSystem& files, const std::wstring& path) {
    const std::wstring target = ExtendedLengthPath(path);
    const DWORD existing = files.GetAttributes(target);
    if (existing == INVALID_FILE_ATTRIBUTES) return ProbeNewFile(files, target);
    // A folder of that name cannot become the file (opening it to write is refused alike).
    if (existing & FILE_ATTRIBUTE_DIRECTORY) return ERROR_ACCESS_DENIED;
    const std::wstring folder = FolderOf(target);
    for (int attempt = 0; attempt < kProbeNameAttempts; ++attempt) {
        const DWORD error = ProbeNewFile(files, folder + FormatText(L"~vp%08x.tmp", {::GetTickCount() + attempt}));
        if (error != ERROR_FILE_EXISTS) return error;
    }
    return ERROR_FILE_EXISTS;
}

// Creates the folder, then probes the file in it; the error text says which failed.
bool ProbeFileIn(RunContext& run, SourceJob& job, const std::wstring& file) {
    if (const int code = MakeTrackedFolder(run, job.destinationFolder); code != 0) {
        SetErrorText(job, DirectoryErrorText(code));
        return false;
    }
    if (const DWORD error = ProbeWritableFile(*run.files, file); error != 0) {
        SetErrorText(job, SystemErrorText(error));
        return false;
    }
    return true;
}

Step ProbeResultList(RunContext& run, SourceJob& job) {
    if (!WritesList(run.settings) || ProbeFileIn(run, job, job.resultListPath)) return Step::Next;
    return AskForAnotherFolder(run, kCannotCreateList, job.errorText, job.resultListPath);
}

// A folder source: with Zip the archive is probed (nothing else is made
// before the walk), else the folder of the copy is made.
bool ProbeFolderCopy(RunContext& run, SourceJob& job, TreeCopy& tree) {
    const Settings& s = run.settings;
    if (s.EmptyDirNoCopy == 1 && !tree.copyable.InFolder(tree.sourceRoot)) {
        job.skipped = true;
        return true;
    }
    if (DeliversZip(s)) return ProbeFileIn(run, job, job.destinationPath);
    if (const int code = CreateTrackedFolder(tree, job.destinationPath); code != 0) {
        SetErrorText(job, DirectoryErrorText(code));
        return false;
    }
    run.shared.somethingCopied = true;
    return true;
}

Step ProbeDestination(RunContext& run, SourceJob& job, TreeCopy& tree) {
    if (ListOnly(run.settings)) return Step::Next;
    bool ok = true;
    if (job.isFile)
        ok = !job.selected || ProbeFileIn(run, job, job.destinationPath);
    else
        ok = ProbeFolderCopy(run, job, tree);
    if (ok) return Step::Next;
    return AskForAnotherFolder(run, kCannotCopy, job.errorText, job.destinationPath);
}

// Runs the steps of one attempt in order; Restart begins a new attempt.
Step RunAttempt(RunContext& run, SourceJob& job, TreeCopy& tree) {
    job.destinationFolder.clear();
    job.destinationPath.clear();
    job.resultListPath.clear();
    job.errorText.clear();
    job.skipped = false;
    ::GetLocalTime(&job.now);

    if (const Step result = ChooseDestinationFolder(run, job); result != Step::Next) return result;
    if (const Step result = BuildNames(run, job); result != Step::Next) return result;
    if (const Step result = CheckLengths(run, job); result != Step::Next) return result;
    if (DestinationInsideSource(run, job, job.destinationFolder)) return RefuseInsideSource(job, job.destinationPath);
    if (const Step result = CheckSameName(run, job); result != Step::Next) return result;
    if (const Step result = ProbeResultList(run, job); result != Step::Next) return result;
    if (job.isFile) job.selected = IsFileSelected(run.conditions, job.name, job.find.ftLastWriteTime);
    if (!DeliversZip(run.settings)) tree.destinationRoot = ExtendedLengthPath(job.destinationPath);
    return ProbeDestination(run, job, tree);
}

void NoteVirtualStoreRedirect(RunContext& run, const std::wstring& path) {
    const auto localAppData = GetSpecialFolderPath(kCsidlLocalAppData);
    if (!localAppData) return;
    run.virtualStoreFolder = AddTrailingBackslash(*localAppData) + L"VirtualStore";
    if (PathExists(AddTrailingBackslash(run.virtualStoreFolder) + FileNameOf(path))) run.virtualStoreFound = true;
}

DeliveryOptions DeliveryFor(RunContext& run) {
    run.shared.statusItemText.Set(L"Compression processing...");
    run.shared.statusProgressText.Clear();
    DeliveryOptions delivery;
    delivery.files = run.files;
    delivery.cancel = &run.shared.copyCancelRequested;
    delivery.progress = &run.packProgress;
    delivery.verify = run.settings.Verify == 1;
    delivery.onChecking = [&run] { run.shared.statusProgressText.Set(L"Verifying..."); };
    return delivery;
}

void Delivered(RunContext& run, const SourceJob& job) {
    run.shared.somethingCopied = true;
    NoteVirtualStoreRedirect(run, job.destinationPath);
}

// Packs the entries into the archive. A failure has been reported and stops
// the whole run.
bool Pack(RunContext& run, const std::vector<SourceItem>& items, const SourceJob& job) {
    if (DeliverArchive(items, job.destinationPath, DeliveryFor(run))) {
        Delivered(run, job);
        return true;
    }
    run.shared.copyCancelRequested = true;
    return false;
}

bool PackFileSource(RunContext& run, const SourceJob& job) {
    std::vector<SourceItem> items;
    std::wstring badPath;
    if (FileArchiveItems(ExtendedLengthPath(job.copySource), job.find, items, badPath) != kArchiverOk) {
        ReportNameWithoutUtf8(badPath);
        run.shared.copyCancelRequested = true;
        return false;
    }
    return Pack(run, items, job);
}

// A walk whose entries are collected in packed and handed to sink while it
// goes; the tree forgets both when it ends, however it ends.
class PackingWalk {
public:
    PackingWalk(TreeCopy& tree, std::vector<PackedEntry>& packed, PackedEntrySink& sink) : tree_(tree) {
        tree_.packed = &packed;
        tree_.packing = &sink;
    }
    ~PackingWalk() {
        tree_.packed = nullptr;
        tree_.packing = nullptr;
    }
    PackingWalk(const PackingWalk&) = delete;
    PackingWalk& operator=(const PackingWalk&) = delete;

private:
    TreeCopy& tree_;
};

// The tree's entries go into the archive, under a folder named like it,
// while the walk selects them. Under EmptyDirNoCopy a tree with no file to
// pack makes no archive, as it would make no folder.
bool PackFolderSource(RunContext& run, const SourceJob& job, TreeCopy& tree) {
    const bool dropEmpty = RemoveEmptyFoldersAfterwards(run.settings);
    TreePack pack(tree.sourceRoot, job.find, SplitExtension(FileNameOf(job.destinationPath)).base, dropEmpty);
    std::vector<PackedEntry> packed;
    bool cancelled = false;
    {
        const PackingWalk walk(tree, packed, pack);
        pack.Start(job.destinationPath, DeliveryFor(run));
        CopyFolderTree(tree, tree.sourceRoot);
        cancelled = run.shared.copyCancelRequested.load();
        if (!cancelled && dropEmpty) DropEmptyPackedFolders(tree);
    }
    const bool wanted = run.settings.EmptyDirNoCopy != 1 || run.settings.Select != 1 || pack.HoldsFile();
    const bool finished = pack.Finish(wanted && !cancelled);
    if (cancelled) return false;
    if (!finished) {
        run.shared.copyCancelRequested = true;
        return false;
    }
    if (wanted) Delivered(run, job);
    return true;
}

EntryRecorder RecorderFor(ResultEntryTable* table) {
    if (!table) return {};
    return [table](const std::wstring& relativePath, bool isFolder, const WIN32_FIND_DATAW& data) {
        AddResultEntry(*table, MarkEntryPath(relativePath, !isFolder), data);
    };
}

// Copies a file source; false when the copy failed.
bool CopyFileSource(RunContext& run, SourceJob& job, const EntryRecorder& record, CheckFindings& findings) {
    if (!job.selected) return true;
    run.shared.statusItemText.Set(job.name);
    if (!ListOnly(run.settings)) {
        run.shared.statusProgressText.Clear();
        if (DeliversZip(run.settings)) {
            if (!PackFileSource(run, job)) return false;
        } else {
            const WIN32_FIND_DATAW* verifyAgainst = run.settings.Verify == 1 ? &job.find : nullptr;
            FileCopyProgress progress(run.shared.progress, FileSizeOf(job.find));
            const CopyResult result = CopyOneFile(*run.files, job.copySource, job.destinationPath, run.shared,
                                                  Destination::MayExist, verifyAgainst);
            if (result.error != 0) {
                SetErrorText(job, SystemErrorText(result.error));
                return false;
            }
            if (result.sourceChanged) findings.SourceChanged(job.copySource);
            if (result.differs) {
                findings.Differs(job.destinationPath);
                return true;
            }
            progress.Copied();
        }
        run.shared.somethingCopied = true;
        NoteVirtualStoreRedirect(run, job.destinationPath);
    }
    if (record) record(job.name, false, job.find);
    return true;
}

bool CopyFolderSource(RunContext& run, SourceJob& job, TreeCopy& tree) {
    if (job.skipped) return true;
    if (DeliversZip(run.settings) && !ListOnly(run.settings)) return PackFolderSource(run, job, tree);
    CopyFolderTree(tree, tree.sourceRoot);
    if (RemoveEmptyFoldersAfterwards(run.settings)) RemoveEmptyFolders(tree, tree.destinationRoot);
    return !run.shared.copyCancelRequested.load();
}

// Paths the user must know of (folders that could not be read, copies that
// could not be verified): the first few and how many.
void ReportPaths(const MessagePair& message, const std::vector<std::wstring>& paths) {
    std::wstring shown;
    for (std::size_t i = 0; i < paths.size() && i < kPathsShown; ++i) {
        if (!shown.empty()) shown += L"\n";
        shown += paths[i];
    }
    if (paths.size() > kPathsShown) shown += L"\n...";
    ShowMessage(nullptr, MB_ICONWARNING, message, {paths.size(), shown});
}

// The list of a source that was copied; false when the list could not be
// made at all (the fallback's command failed or no folder was given).
bool WriteResultList(RunContext& run, const SourceJob& job, ResultEntryTable& table, bool verified) {
    if (table.MemoryOk()) {
        run.shared.listWriting = false;
        run.shared.listAbortRequested = false;
        ListHeader header = MakeListHeader(run.settings, run.conditions);
        header.verified = verified;
        WriteCopyResultList(job.resultListPath, job.destinationPath, table, header, run.shared, *run.files);
        NoteVirtualStoreRedirect(run, job.resultListPath);
        return true;
    }
    CommandListRequest request;
    request.destinationPath = job.destinationPath;
    request.listPath = job.resultListPath;
    request.sourcePath = job.copySource;
    request.sourceIsFile = job.isFile;
    request.dirTree = run.settings.DirTree;
    request.select = run.settings.Select;
    request.timeStamp = DateTimeStamp(job.now);
    request.browseFolder = InitialBrowseFolder(run);
    const auto browse = [&run](std::wstring_view initialFolder) {
        return BrowseUntilAnswered(run, std::wstring(initialFolder));
    };
    return WriteResultListWithCommand(request, browse) == 0;
}

}  // namespace

bool FindSource(FileSystem& files, std::wstring_view sourcePath, std::wstring& copySource, WIN32_FIND_DATAW& data) {
    // The path as Windows resolves it ("data.." and "data " are "data"), so
    // the folder is listed under the name it really has.
    copySource = StripTrailingBackslash(NormalizeSourcePath(StripTrailingBackslash(sourcePath)));
    // A wildcard would find some other entry, so such a path does not exist.
    if (copySource.empty() || HasWildcard(copySource)) return false;
    return files.Find(copySource, data) == 0;
}

std::wstring InitialBrowseFolder(const RunContext& run) {
    if (!run.chosenFolder.empty()) return run.chosenFolder;
    if (!run.settings.Path.empty() && PathExists(run.settings.Path)) return run.settings.Path;
    return GetSpecialFolderPath(kCsidlDocuments).value_or(L"");
}

int CopyOneSource(RunContext& run, std::wstring_view sourcePath) {
    const Settings& s = run.settings;
    SourceJob job;
    if (!FindSource(*run.files, sourcePath, job.copySource, job.find)) {
        ShowMessage(nullptr, MB_ICONERROR, kSelectFolderOrFile, {job.copySource});
        return -1;
    }
    job.isFile = (job.find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    job.treatAsFile = job.isFile || ListOnly(s) || DeliversZip(s);
    job.name = FileNameOf(job.copySource);
    if (s.Select != 1 && job.isFile) {
        ShowMessage(nullptr, MB_ICONERROR, kFileCopyDisabled, {kSettingProgramFile, job.copySource});
        return -1;
    }
    DecorateProgressWindow(run, job);

    TreeCopy tree(s, run.conditions, run.shared, *run.files, run.created);
    tree.sourceRoot = ExtendedLengthPath(job.copySource);
    tree.copyWorkers = run.copyWorkers;
    tree.verify = s.Verify == 1;
    CheckFindings findings;
    tree.findings = &findings;
    for (;;) {
        const Step step = RunAttempt(run, job, tree);
        if (step == Step::Fail) return -1;
        if (step == Step::Next) break;
        if (run.shared.copyCancelRequested.load()) return 0;
    }
    run.lastDestinationFolder = job.destinationFolder;
    run.lastDestinationPath = job.destinationPath;
    run.lastListPath = WritesList(s) ? job.resultListPath : std::wstring();

    std::optional<ResultEntryTable> table;
    if (WritesList(s)) table.emplace(run.listEntryLimit);
    tree.record = RecorderFor(table ? &*table : nullptr);
    const bool ok = job.isFile ? CopyFileSource(run, job, tree.record, findings) : CopyFolderSource(run, job, tree);
    run.shared.listWriting = false;
    if (!ok) {
        if (run.shared.copyCancelRequested.load()) return 0;
        ShowMessage(nullptr, MB_ICONWARNING, kCopyFailed, {job.errorText, job.destinationPath});
        return -1;
    }
    run.shared.statusItemText.Clear();
    run.shared.statusProgressText.Clear();
    // What this source delivered was read back and matched, all of it.
    const bool verified = s.Verify == 1 && !ListOnly(s) && findings.empty();
    if (!verified) run.allVerified = false;
    const bool listed = !table || WriteResultList(run, job, *table, verified);
    run.shared.listWriting = false;
    bool failed = !listed;
    if (const auto differing = findings.differing(); !differing.empty()) {
        ReportPaths(kCopiesDiffer, differing);
        failed = true;
    }
    if (const auto changed = findings.changed(); !changed.empty()) ReportPaths(kSourcesChanged, changed);
    if (!tree.unreadableFolders.empty()) {
        ReportPaths(kUnreadableFolders, tree.unreadableFolders);
        failed = true;
    }
    return failed ? -1 : 0;
}
