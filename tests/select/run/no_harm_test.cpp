// The no-harm property of a copy run, searched over many generated cases:
// random source trees, random settings of every key that shapes a run, a
// destination that already holds entries with the names the run will want,
// and random faults (a copy that fails, Cancel at some moment, an exception
// on some thread, a destination file in use). Every case runs through the
// shipped copy run over the layer that applies Windows' rules, and after it:
//   1. the sources are unchanged (names, contents, attributes, times);
//   2. every entry the destination held before is unchanged, unless the
//      documented rules replace exactly that entry: with both add-string kinds
//      "none" a copy replaces a file of its own name (file source, or a file
//      at its place in a folder that is merged into), an archive replaces an
//      archive of its name, a list a list of its name; a replaced file holds
//      either its old bytes or, complete, the new ones, never neither; no
//      folder the destination held is ever removed;
//   3. when the run reports success, every selected file is at its computed
//      destination (in the folder copy or in the archive) with identical bytes;
//   4. nothing is left that the run made and did not mean to keep: every new
//      file is a whole copy at its place, the archive or the list; no
//      temporary file, no work folder; after a successful run with empty
//      folders left out, no folder of the copy is empty.
// A failing case prints its seed and what it was, so it replays alone:
//   VARO_NO_HARM_SEED=<seed> VARO_NO_HARM_CASES=1 select_run_tests.exe --gtest_filter=NoHarm.*
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "format.h"
#include "handles.h"
#include "message_capture.h"
#include "paths.h"
#include "run/copy_rules.h"
#include "run/copy_run.h"
#include "run/naming.h"
#include "run/run_failure.h"
#include "test_files.h"
#include "text.h"
#include "windows_rules_files.h"
#include "zip_reader.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint64_t kDefaultFirstSeed = 1;
constexpr int kDefaultCases = 250;

struct Entry {
    bool folder = false;
    Bytes bytes;
    DWORD attributes = 0;
    FILETIME writeTime{};
};
// Full path in lower case (the file system ignores case) -> entry.
using Snapshot = std::map<std::wstring, Entry>;

DWORD KeptAttributes(DWORD attributes) {
    return attributes &
           (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY);
}

void TakeSnapshot(const std::wstring& folder, Snapshot& snapshot) {
    (void)SystemFileSystem().List(ExtendedLengthPath(folder), [&](const WIN32_FIND_DATAW& data) {
        const std::wstring path = folder + L"\\" + data.cFileName;
        Entry entry;
        entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.attributes = KeptAttributes(data.dwFileAttributes);
        if (!entry.folder) {
            entry.bytes = ReadBytes(ExtendedLengthPath(path));
            entry.writeTime = data.ftLastWriteTime;
        }
        const bool folder = entry.folder;
        snapshot[ToLowerText(path)] = std::move(entry);
        if (folder) TakeSnapshot(path, snapshot);
        return true;
    });
}

Snapshot SnapshotOf(const std::wstring& folder) {
    Snapshot snapshot;
    TakeSnapshot(StripTrailingBackslash(folder), snapshot);
    return snapshot;
}

bool SameEntry(const Entry& a, const Entry& b) {
    return a.folder == b.folder && a.bytes == b.bytes && a.attributes == b.attributes &&
           (a.folder || ::CompareFileTime(&a.writeTime, &b.writeTime) == 0);
}

bool IsBelow(const std::wstring& path, const std::wstring& folder) {
    const std::wstring prefix = ToLowerText(AddTrailingBackslash(folder));
    return path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0;
}

class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T>
    const T& Pick(const std::vector<T>& values) {
        return values[static_cast<std::size_t>(Below(static_cast<int>(values.size())))];
    }

private:
    std::mt19937_64 engine_;
};

const std::vector<std::wstring> kFileNames = {L"a.txt",    L"B.doc",      L"日本語.txt", L"x y.bin", L"data.tar.gz",
                                              L"Zeta",     L"read me.md", L"ｶﾅ.txt",     L"e.log",   L"資料.xlsx",
                                              L"cafe.TXT", L"1.txt",      L"~vc1.tmp"};
const std::vector<std::wstring> kFolderNames = {L"sub", L"写真", L"Deep", L"e m p t y", L"2024", L"ＡＢＣ", L"x.y"};
const std::vector<std::wstring> kTexts = {L"", L"", L"_", L"copy-", L"日本", L"(1)", L" v2"};
const std::vector<std::wstring> kPatterns = {L"*.txt", L"*.doc:*.log", L"a*", L"*日本*", L"zeta", L"*.bin:*.gz", L"*"};

Bytes MakeBytes(Random& random) {
    static const std::vector<std::size_t> sizes = {0, 1, 17, 1000, 5000, 70000};
    const std::size_t size = random.Chance(3) ? 300000 : random.Pick(sizes);
    Bytes bytes(size);
    const int seed = random.Below(256);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 131 + seed) ^ (i >> 9));
    return bytes;
}

// Flips the case of ASCII letters: the name the user's entry has, which the
// file system takes for the run's name.
std::wstring OtherCase(std::wstring name) {
    for (wchar_t& c : name) c = ::iswupper(c) ? ::towlower(c) : ::towupper(c);
    return name;
}

enum class FaultKind { None, FailCopy, Cancel, Throw, InUse };

// The rules layer with one fault at the n-th operation.
class FaultyFiles : public WindowsRulesFiles {
public:
    FaultyFiles(FaultKind kind, int at, SharedRunState& shared) : kind_(kind), at_(at), shared_(shared) {}

    DWORD List(const std::wstring& folder, const Visit& visit) override {
        Step();
        return WindowsRulesFiles::List(folder, visit);
    }
    DWORD MakeFolder(const std::wstring& folder) override {
        Step();
        return WindowsRulesFiles::MakeFolder(folder);
    }
    DWORD Copy(const std::wstring& from, const std::wstring& to, LPPROGRESS_ROUTINE progress, void* context,
               DWORD flags) override {
        if (Step() && kind_ == FaultKind::FailCopy) {
            // As a disk running full leaves it: part of the file written.
            if (!(flags & COPY_FILE_FAIL_IF_EXISTS) || GetAttributes(to) == INVALID_FILE_ATTRIBUTES) {
                Bytes part = ReadBytes(from);
                part.resize(part.size() / 2);
                WriteBytes(to, part);
            }
            return ERROR_DISK_FULL;
        }
        return WindowsRulesFiles::Copy(from, to, progress, context, flags);
    }
    DWORD MoveReplacing(const std::wstring& from, const std::wstring& to) override {
        Step();
        return WindowsRulesFiles::MoveReplacing(from, to);
    }
    UniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                            DWORD& error) override {
        Step();
        return WindowsRulesFiles::Open(path, access, share, disposition, flags, error);
    }

private:
    // Counts the operation; true when the fault fires at this one.
    bool Step() {
        if (kind_ == FaultKind::None || kind_ == FaultKind::InUse || ++count_ != at_) return false;
        if (kind_ == FaultKind::Cancel) shared_.copyCancelRequested = true;
        if (kind_ == FaultKind::Throw) throw std::bad_alloc();
        return true;
    }

    const FaultKind kind_;
    const int at_;
    SharedRunState& shared_;
    std::atomic<int> count_{0};
};

// One source of a case and where the run put it.
struct Source {
    std::wstring path;  // root\src\<name>
    bool isFile = false;
    std::wstring destination;  // the copy, the archive, or (list only) the source
    std::wstring list;
    int result = 0;
};

class NoHarmCase {
public:
    NoHarmCase(std::uint64_t seed) : seed_(seed), random_(seed) {}

    // Runs the case; the texts of the invariants it broke.
    std::vector<std::wstring> Run() {
        Generate();
        before_ = SnapshotOf(root_.path());
        if (faultKind_ == FaultKind::InUse) LockOneUserFile();
        for (int round = 0; round < runs_; ++round) RunOnce(round == runs_ - 1);
        inUse_.reset();
        after_ = SnapshotOf(root_.path());
        CheckSources();
        CheckOldEntries();
        CheckNewEntries();
        if (Succeeded()) CheckComplete();
        return problems_;
    }

    std::wstring Description() const { return description_; }

private:
    void Generate() {
        const std::wstring src = root_ / L"src";
        MakeFolder(src);
        const int sourceCount = random_.Chance(20) ? 2 : 1;
        for (int i = 0; i < sourceCount; ++i) {
            Source source;
            source.isFile = random_.Chance(20);
            const std::wstring name = source.isFile ? random_.Pick(kFileNames) : random_.Pick(kFolderNames) + L"_s";
            source.path = src + L"\\" + name + (i == 1 ? L"2" : L"");
            if (source.isFile) {
                WriteBytes(source.path, MakeBytes(random_));
            } else {
                MakeFolder(source.path);
                MakeTree(source.path, 0, random_.Chance(2) ? 6 : 3);
            }
            sources_.push_back(source);
        }
        GenerateSettings();
        destinationFolder_ = settings_.CopyMode == 1 ? StripTrailingBackslash(settings_.Path) : src;
        if (settings_.CopyMode == 1 && random_.Chance(80)) MakeFolder(destinationFolder_);
        for (const Source& source : sources_) FillDestination(source);
        GenerateFault();
        description_ = FormatText(L"seed %s: %d source(s)", {std::to_wstring(seed_), sourceCount});
        for (const Source& source : sources_)
            description_ +=
                L" [" + std::wstring(source.isFile ? L"file " : L"folder ") + FileNameOf(source.path) + L"]";
        description_ += FormatText(
            L"; CopyMode %d SelDir %d Bef %d/'%s'/'%s' Aft '%s'/%d/'%s' Zero %d Zip %d DirTree %d Empty %d Select %d "
            L"mode %d date %d Verify %d; %d run(s), %d worker(s), fault %d at %d",
            {settings_.CopyMode,
             settings_.SelDir,
             settings_.AddStringsBef,
             settings_.PrefixBef1,
             settings_.PrefixBef2,
             settings_.PrefixAft1,
             settings_.AddStringsAft,
             settings_.PrefixAft2,
             settings_.ZeroSuppress,
             settings_.CompressMode,
             settings_.DirTree,
             settings_.EmptyDirNoCopy,
             settings_.Select,
             conditions_.selectMode,
             conditions_.updateDateType,
             settings_.Verify,
             runs_,
             static_cast<int>(workers_),
             static_cast<int>(faultKind_),
             faultAt_});
    }

    void MakeTree(const std::wstring& folder, int depth, int maxDepth) {
        const int files = random_.Below(depth == 0 ? 6 : 5);
        for (int i = 0; i < files; ++i) {
            const std::wstring path = folder + L"\\" + random_.Pick(kFileNames);
            if (Exists(path)) continue;
            WriteBytes(path, MakeBytes(random_));
            SetLastWriteTime(path, 2019 + random_.Below(8), 1 + random_.Below(12), 1 + random_.Below(28));
            if (random_.Chance(10))
                ::SetFileAttributesW(path.c_str(),
                                     random_.Chance(50) ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_HIDDEN);
        }
        if (depth >= maxDepth) return;
        const int folders = random_.Below(depth == 0 ? 4 : 3);
        for (int i = 0; i < folders; ++i) {
            const std::wstring path = folder + L"\\" + random_.Pick(kFolderNames);
            if (Exists(path)) continue;
            MakeFolder(path);
            MakeTree(path, depth + 1, maxDepth);
        }
    }

    void GenerateSettings() {
        settings_ = DefaultSettings(false, std::nullopt);
        settings_.CopyMode = random_.Chance(75) ? 1 : 0;
        settings_.Path = root_ / (random_.Chance(80) ? L"dst\\" : L"dst\\new folder\\");
        settings_.SelDir = random_.Chance(5) ? 1 : 0;
        const bool keepNames = random_.Chance(45);
        settings_.AddStringsBef = keepNames || random_.Chance(70) ? 0 : random_.Below(5);
        settings_.AddStringsAft = keepNames ? 0 : random_.Pick(std::vector<int>{0, 2, 3, 4, 4, 4});
        if (!keepNames && settings_.AddStringsBef == 0 && settings_.AddStringsAft == 0) settings_.AddStringsAft = 4;
        settings_.PrefixBef1 = random_.Pick(kTexts);
        settings_.PrefixBef2 = random_.Pick(kTexts);
        settings_.PrefixAft1 = keepNames ? L"" : random_.Pick(kTexts);
        settings_.PrefixAft2 = random_.Pick(kTexts);
        if (keepNames) settings_.PrefixBef1 = settings_.PrefixBef2 = settings_.PrefixAft2 = L"";
        settings_.ZeroSuppress = 1 + random_.Below(4);
        settings_.CompressMode = random_.Chance(35) ? 1 : 0;
        settings_.DirTree = random_.Pick(std::vector<int>{0, 0, 1, 2});
        settings_.EmptyDirNoCopy = random_.Chance(50) ? 1 : 0;
        settings_.Select = random_.Chance(90) ? 1 : 0;
        settings_.Verify = random_.Chance(20) ? 1 : 0;
        conditions_.selectMode = random_.Pick(std::vector<int>{2, 2, 0, 1});
        for (ConditionList& list : conditions_.lists) {
            std::wstring text = random_.Chance(60) ? random_.Pick(kPatterns) : L"";
            (void)ParseConditionList(text, list);
        }
        if (random_.Chance(15)) {
            settings_.UpdateDateType = 1;
            settings_.UpdateDateStr = FormatText(L"%d/%d/1", {2019 + random_.Below(8), 1 + random_.Below(12)});
            settings_.UpdateDateEnd = random_.Chance(50) ? L"" : L"2026/12/31";
            conditions_.updateDateType = 1;
            conditions_.bounds = ComputeDateBounds(settings_, Date{2026, 12, 9});
        }
        runs_ = random_.Chance(25) ? 2 : 1;
        workers_ = static_cast<unsigned>(1 + random_.Below(4));
    }

    // Entries with the names the run will want: the copy's own name in other
    // case, files at the places of the copy's files (some hidden or read-only),
    // the archive, the list, serial names, and names like our temporary ones.
    void FillDestination(const Source& source) {
        if (!random_.Chance(70)) return;
        const std::wstring folder = destinationFolder_;
        MakeFolder(folder);
        const std::wstring name = FileNameOf(source.path);
        const std::wstring prefix = folder + L"\\" + settings_.PrefixBef1;
        std::vector<std::wstring> files = {
            name + L".zip",     name + L".txt",     name + L".zip.txt",      name + L"_1",
            name + L"_001.zip", L"~vc00000001.tmp", OtherCase(name) + L"_2", L"unrelated.txt"};
        for (int i = 0; i < 4; ++i) {
            const std::wstring path = (random_.Chance(50) ? prefix : folder + L"\\") + random_.Pick(files);
            if (!Exists(path)) WriteBytes(path, MakeBytes(random_));
        }
        if (random_.Chance(20)) MakeFolder(folder + L"\\~zip1");
        if (source.isFile) {
            const std::wstring same = folder + L"\\" + (random_.Chance(50) ? name : OtherCase(name));
            if (!Exists(same)) WriteUserFile(same);
            return;
        }
        // The user's folder of the copy's name, with files at the copy's places.
        const std::wstring mine = folder + L"\\" + (random_.Chance(70) ? name : OtherCase(name));
        MakeFolder(mine);
        WriteUserFile(mine + L"\\mine.txt");
        if (random_.Chance(30)) MakeFolder(mine + L"\\empty of mine");
        Snapshot tree = SnapshotOf(source.path);
        for (const auto& [path, entry] : tree) {
            if (!random_.Chance(40)) continue;
            const std::wstring relative = path.substr(source.path.size() + 1);
            const std::wstring target = mine + L"\\" + (random_.Chance(50) ? relative : OtherCase(relative));
            if (entry.folder)
                MakeFolder(target);
            else if (!Exists(target))
                WriteUserFile(target);
        }
    }

    void WriteUserFile(const std::wstring& path) {
        MakeFolder(FolderOf(path));
        WriteBytes(path, MakeBytes(random_));
        if (random_.Chance(25))
            ::SetFileAttributesW(path.c_str(), random_.Chance(50) ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_HIDDEN);
        userFiles_.push_back(path);
    }

    void GenerateFault() {
        const int roll = random_.Below(100);
        if (roll < 55) return;
        faultKind_ = roll < 70   ? FaultKind::FailCopy
                     : roll < 85 ? FaultKind::Cancel
                     : roll < 93 ? FaultKind::Throw
                                 : FaultKind::InUse;
        faultAt_ = 1 + random_.Below(40);
        if (faultKind_ == FaultKind::InUse && userFiles_.empty()) faultKind_ = FaultKind::None;
    }

    // Another program has one of the user's files open, sharing nothing.
    void LockOneUserFile() {
        const std::wstring& path = userFiles_[static_cast<std::size_t>(faultAt_) % userFiles_.size()];
        inUse_.reset(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    }

    void RunOnce(bool last) {
        SharedRunState shared;
        FaultyFiles files(last ? faultKind_ : FaultKind::None, faultAt_, shared);
        RunContext run(settings_, conditions_, shared);
        run.files = &files;
        run.copyWorkers = workers_;
        run.services.browse = [this](const std::wstring&) { return BrowseAnswer{destinationFolder_, false}; };
        const std::size_t boxesBefore = messages_.texts.size();
        RunWorkerBehindBarrier(shared,
                               [&] {
                                   for (Source& source : sources_) {
                                       run.lastDestinationPath.clear();
                                       run.lastListPath.clear();
                                       const auto noteOutput = [&] {
                                           source.destination = run.lastDestinationPath;
                                           source.list = run.lastListPath;
                                           outputs_.push_back(source);
                                       };
                                       try {
                                           source.result = CopyOneSource(run, source.path);
                                       } catch (...) {
                                           // Where the run had got to, before the barrier takes the failure.
                                           source.result = -1;
                                           noteOutput();
                                           throw;
                                       }
                                       noteOutput();
                                       if (shared.copyCancelRequested.load()) break;
                                   }
                               },
                               {});
        if (!last) return;
        cancelled_ = shared.copyCancelRequested.load();
        boxes_ = messages_.texts.size() - boxesBefore;
    }

    bool Succeeded() const {
        if (cancelled_ || boxes_ != 0) return false;
        return std::all_of(sources_.begin(), sources_.end(), [](const Source& s) { return s.result == 0; });
    }

    bool ExpectsSuccess() const {
        if (faultKind_ != FaultKind::None || settings_.CopyMode != 1 || settings_.SelDir != 0) return false;
        // A name with only the date in it is taken by the first of two runs on one day.
        const auto repeats = [](int kind) { return kind == kAddNone || kind == kAddDate; };
        if (runs_ == 2 && !BothKindsNone(settings_) && repeats(settings_.AddStringsBef) &&
            repeats(settings_.AddStringsAft))
            return false;
        return settings_.Select == 1 ||
               std::none_of(sources_.begin(), sources_.end(), [](const Source& s) { return s.isFile; });
    }

    void Problem(const std::wstring& text) { problems_.push_back(text); }

    bool IsSourcePath(const std::wstring& path) const {
        return std::any_of(sources_.begin(), sources_.end(),
                           [&path](const Source& s) { return path == ToLowerText(s.path) || IsBelow(path, s.path); });
    }

    void CheckSources() {
        for (const auto& [path, entry] : before_) {
            if (!IsSourcePath(path)) continue;
            const auto found = after_.find(path);
            if (found == after_.end() || !SameEntry(entry, found->second)) Problem(L"source changed: " + path);
        }
        for (const auto& [path, entry] : after_)
            if (IsSourcePath(path) && before_.count(path) == 0) Problem(L"new entry in a source: " + path);
    }

    // What each selected file of a source becomes, when both kinds are
    // "none" and the copy may replace: destination path (lower case) -> bytes.
    std::map<std::wstring, Bytes> Replacements() const {
        std::map<std::wstring, Bytes> replaced;
        if (!BothKindsNone(settings_) || ListOnly(settings_)) return replaced;
        for (const Source& source : sources_) {
            const std::wstring target = ToLowerText(destinationFolder_ + L"\\" + FileNameOf(source.path));
            if (DeliversZip(settings_) || source.isFile) continue;
            for (const auto& [path, entry] : before_) {
                if (entry.folder || !IsBelow(path, source.path) || settings_.Select != 1) continue;
                replaced[target + path.substr(source.path.size())] = entry.bytes;
            }
        }
        for (const Source& source : sources_) {
            if (!source.isFile || DeliversZip(settings_)) continue;
            replaced[ToLowerText(destinationFolder_ + L"\\" + FileNameOf(source.path))] =
                before_.at(ToLowerText(source.path)).bytes;
        }
        return replaced;
    }

    bool IsArchive(const std::wstring& path) const {
        return DeliversZip(settings_) && !ListOnly(settings_) &&
               std::any_of(outputs_.begin(), outputs_.end(), [&path](const Source& s) {
                   return !s.destination.empty() && path == ToLowerText(s.destination);
               });
    }

    bool IsList(const std::wstring& path) const {
        return std::any_of(outputs_.begin(), outputs_.end(),
                           [&path](const Source& s) { return !s.list.empty() && path == ToLowerText(s.list); });
    }

    // A folder the copy of a folder source made: its root or one below it.
    bool IsCopyFolder(const std::wstring& path) const {
        return std::any_of(outputs_.begin(), outputs_.end(), [&](const Source& s) {
            if (s.isFile || s.destination.empty() || DeliversZip(settings_) || ListOnly(settings_)) return false;
            const std::wstring root = StripTrailingBackslash(s.destination);
            return path == ToLowerText(root) || IsBelow(path, root);
        });
    }

    void CheckOldEntries() {
        const auto replaced = Replacements();
        for (const auto& [path, entry] : before_) {
            if (IsSourcePath(path)) continue;
            const auto found = after_.find(path);
            if (found == after_.end()) {
                Problem(std::wstring(entry.folder ? L"user's folder removed: " : L"user's file removed: ") + path);
                continue;
            }
            if (SameEntry(entry, found->second)) continue;
            if (entry.folder) continue;  // its content is checked entry by entry
            const auto replacement = replaced.find(path);
            if (replacement != replaced.end()) {
                if (found->second.bytes != replacement->second) Problem(L"user's file half replaced: " + path);
                continue;
            }
            // An archive or a list of the same name is replaced whole.
            if (BothKindsNone(settings_) && (IsArchive(path) || IsList(path))) continue;
            Problem(L"user's file changed: " + path);
        }
    }

    // The source file a new file at `path` is the copy of, if any.
    const Entry* CopiedFrom(const std::wstring& path) const {
        for (const Source& source : outputs_) {
            if (source.destination.empty() || DeliversZip(settings_) || ListOnly(settings_)) continue;
            const std::wstring destination = ToLowerText(StripTrailingBackslash(source.destination));
            std::wstring from;
            if (source.isFile && path == destination)
                from = ToLowerText(source.path);
            else if (!source.isFile && IsBelow(path, destination))
                from = ToLowerText(source.path) + path.substr(destination.size());
            if (from.empty()) continue;
            const auto found = before_.find(from);
            if (found != before_.end()) return &found->second;
        }
        return nullptr;
    }

    void CheckNewEntries() {
        const std::wstring destinationFolder = ToLowerText(StripTrailingBackslash(settings_.Path));
        for (const auto& [path, entry] : after_) {
            if (before_.count(path) != 0 || IsSourcePath(path)) continue;
            if (entry.folder) {
                // The configured folder (and its parents) may be made for the copy.
                const bool madeForPath = destinationFolder == path || IsBelow(destinationFolder, path);
                if (!madeForPath && !IsCopyFolder(path)) Problem(L"unexpected new folder: " + path);
                continue;
            }
            if (IsList(path)) {
                if (entry.bytes.size() < 2 || entry.bytes[0] != 0xFF || entry.bytes[1] != 0xFE)
                    Problem(L"list not whole: " + path);
            } else if (IsArchive(path)) {
                if (!ReadZip(ExtendedLengthPath(path))) Problem(L"archive not whole: " + path);
            } else if (const Entry* source = CopiedFrom(path)) {
                if (source->bytes != entry.bytes) Problem(L"copy not whole: " + path);
            } else {
                Problem(L"left behind: " + path);
            }
        }
    }

    bool SelectedFile(const std::wstring& name, const Entry& entry) const {
        return settings_.Select == 1 && IsFileSelected(conditions_, name, entry.writeTime);
    }

    void CheckComplete() {
        for (const Source& source : sources_) {
            if (ListOnly(settings_)) {
                if (source.list.empty() || !Exists(ExtendedLengthPath(source.list)))
                    Problem(L"list missing: " + source.path);
                continue;
            }
            std::map<std::wstring, const Entry*> selected;  // relative path (lower case) -> entry
            for (const auto& [path, entry] : before_) {
                if (entry.folder) continue;
                if (source.isFile ? path != ToLowerText(source.path) : !IsBelow(path, source.path)) continue;
                if (SelectedFile(FileNameOf(path), entry))
                    selected[source.isFile ? L"" : path.substr(source.path.size() + 1)] = &entry;
            }
            if (DeliversZip(settings_))
                CheckArchive(source, selected);
            else
                CheckCopy(source, selected);
        }
        CheckNoEmptyFolders();
    }

    void CheckCopy(const Source& source, const std::map<std::wstring, const Entry*>& selected) {
        const std::wstring root = ToLowerText(StripTrailingBackslash(source.destination));
        for (const auto& [relative, entry] : selected) {
            const auto found = after_.find(relative.empty() ? root : root + L"\\" + relative);
            if (found == after_.end() || found->second.bytes != entry->bytes)
                Problem(L"selected file not copied: " + source.path + L" " + relative);
        }
    }

    void CheckArchive(const Source& source, const std::map<std::wstring, const Entry*>& selected) {
        if (selected.empty()) return;
        const auto archive = ReadZip(ExtendedLengthPath(source.destination));
        if (!archive) {
            Problem(L"archive unreadable: " + source.destination);
            return;
        }
        std::map<std::wstring, const Bytes*> packed;
        for (const auto& [name, bytes] : archive->entries) packed[ToLowerText(Utf8ToWide(name))] = &bytes;
        const std::wstring top = ToLowerText(SplitExtension(FileNameOf(source.destination)).base);
        for (const auto& [relative, entry] : selected) {
            std::wstring name = relative.empty() ? FileNameOf(ToLowerText(source.path)) : top + L"/" + relative;
            std::replace(name.begin(), name.end(), L'\\', L'/');
            const auto found = packed.find(name);
            if (found == packed.end() || *found->second != entry->bytes)
                Problem(L"selected file not in the archive: " + name);
        }
    }

    void CheckNoEmptyFolders() {
        if (settings_.EmptyDirNoCopy != 1 || settings_.Select != 1 || ListOnly(settings_)) return;
        for (const auto& [path, entry] : after_) {
            if (!entry.folder || before_.count(path) != 0 || IsSourcePath(path)) continue;
            const bool holdsFile = std::any_of(after_.begin(), after_.end(), [&path](const auto& other) {
                return !other.second.folder && IsBelow(other.first, path);
            });
            const bool isDestinationFolder = ToLowerText(settings_.Path).starts_with(path);
            if (!holdsFile && !isDestinationFolder) Problem(L"empty folder left: " + path);
        }
    }

public:
    bool expectsSuccess() const { return ExpectsSuccess(); }
    bool succeeded() const { return Succeeded(); }
    const std::vector<std::wstring>& texts() const { return messages_.texts; }

private:
    const std::uint64_t seed_;
    Random random_;
    TempDir root_;
    MessageCapture messages_;
    Settings settings_;
    SelectionConditions conditions_;
    std::vector<Source> sources_;
    std::vector<Source> outputs_;  // every source of every run, with where it went
    std::wstring destinationFolder_;
    std::vector<std::wstring> userFiles_;
    int runs_ = 1;
    unsigned workers_ = 1;
    FaultKind faultKind_ = FaultKind::None;
    int faultAt_ = 0;
    UniqueKernelHandle inUse_;
    Snapshot before_;
    Snapshot after_;
    bool cancelled_ = false;
    std::size_t boxes_ = 0;
    std::wstring description_;
    std::vector<std::wstring> problems_;
};

std::uint64_t EnvironmentNumber(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

}  // namespace

TEST(NoHarm, GeneratedCasesKeepTheUsersFilesAndDeliverWhatTheyReport) {
    const std::uint64_t first = EnvironmentNumber("VARO_NO_HARM_SEED", kDefaultFirstSeed);
    const std::uint64_t cases = EnvironmentNumber("VARO_NO_HARM_CASES", kDefaultCases);
    std::uint64_t failures = 0;
    for (std::uint64_t seed = first; seed < first + cases; ++seed) {
        NoHarmCase test(seed);
        std::vector<std::wstring> problems = test.Run();
        if (test.expectsSuccess() && !test.succeeded()) {
            std::wstring shown = L"a run without faults did not succeed";
            for (const std::wstring& text : test.texts()) shown += L" | " + text;
            problems.push_back(shown);
        }
        if (problems.empty()) continue;
        ++failures;
        std::wstring report = test.Description();
        for (const std::wstring& problem : problems) report += L"\n    " + problem;
        ADD_FAILURE() << WideToUtf8(report);
    }
    std::printf("%llu cases, %llu failures\n", static_cast<unsigned long long>(cases),
                static_cast<unsigned long long>(failures));
}
