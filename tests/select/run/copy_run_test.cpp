#include <gtest/gtest.h>

#include <deque>
#include <algorithm>
#include <atomic>
#include <regex>
#include <thread>

#include "run/copy_run.h"
#include "run/run_failure.h"
#include "handles.h"
#include "message_capture.h"
#include "paths.h"
#include "forwarding_files.h"
#include "zip_reader.h"
#include "test_files.h"

namespace {

// A copy run against real folders, with message boxes and the folder
// browser answered by the test.
class CopyRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.AddStringsAft = 4;  // serial numbers: names that do not depend on the clock
        MakeFolder(dir / L"src");
        MakeFolder(dir / L"out");
    }
    int Copy(const std::wstring& source) { return CopyOneSource(Run(), source); }
    RunContext& Run() {
        if (!run) {
            run = std::make_unique<RunContext>(settings, conditions, shared);
            run->services.browse = [this](const std::wstring& initial) {
                browsedFrom.push_back(initial);
                if (answers.empty()) return BrowseAnswer{};
                BrowseAnswer answer = answers.front();
                answers.pop_front();
                return answer;
            };
        }
        return *run;
    }

    // No fixed texts and no generated parts: copies keep the source's name.
    void KeepSourceNames() {
        settings.AddStringsAft = 0;
        settings.PrefixAft1 = L"";
    }

    void CopyToOut() {
        settings.CopyMode = 1;
        settings.Path = dir / L"out\\";
    }

    TempDir dir;
    Settings settings = DefaultSettings(false, std::nullopt);
    SelectionConditions conditions;
    SharedRunState shared;
    std::unique_ptr<RunContext> run;
    MessageCapture messages;
    std::vector<std::wstring>& boxes = messages.texts;
    std::vector<std::wstring> browsedFrom;
    std::deque<BrowseAnswer> answers;
};

std::vector<std::uint8_t> Content(std::size_t size, int seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 31 + seed) & 0xFF);
    return bytes;
}

}  // namespace

TEST_F(CopyRunTest, DefaultNamingPutsDateAndTimeAfterTheName) {
    settings.AddStringsAft = 1;
    WriteBytes(dir / L"src\\report.xlsx", Content(5000, 1));
    ASSERT_EQ(Copy(dir / L"src\\report.xlsx"), 0);
    EXPECT_TRUE(boxes.empty());
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((dir / L"src\\report_*").c_str(), &data));
    ASSERT_TRUE(find.valid());
    names.push_back(data.cFileName);
    EXPECT_TRUE(std::regex_match(names[0], std::wregex(L"report_\\d{8}_\\d{6}\\.xlsx"))) << names[0];
    EXPECT_EQ(ReadBytes(dir / (L"src\\" + names[0])), Content(5000, 1));
    EXPECT_TRUE(shared.somethingCopied.load());
}

TEST_F(CopyRunTest, FolderTreeIsCopiedIntoTheConfiguredFolder) {
    CopyToOut();
    settings.Path = dir / L"out\\new\\deeper\\";  // created on the way
    MakeFolder(dir / L"src\\Docs\\Old\\Older");
    MakeFolder(dir / L"src\\Docs\\Empty");
    WriteBytes(dir / L"src\\Docs\\a.txt", Content(10, 2));
    WriteBytes(dir / L"src\\Docs\\Old\\c.txt", Content(70000, 3));
    WriteBytes(dir / L"src\\Docs\\Old\\Older\\日本語.txt", Content(0, 4));
    ASSERT_EQ(Copy(dir / L"src\\Docs\\"), 0);
    const std::wstring copy = dir / L"out\\new\\deeper\\Docs_1\\";
    EXPECT_EQ(ReadBytes(copy + L"a.txt"), Content(10, 2));
    EXPECT_EQ(ReadBytes(copy + L"Old\\c.txt"), Content(70000, 3));
    EXPECT_TRUE(Exists(copy + L"Old\\Older\\日本語.txt"));
    EXPECT_TRUE(IsFolder(copy + L"Empty"));
    EXPECT_EQ(run->lastDestinationPath, copy);
}

TEST_F(CopyRunTest, SerialsContinueAfterExistingCopies) {
    CopyToOut();
    settings.ZeroSuppress = 3;
    WriteText(dir / L"src\\a.txt", "new");
    WriteText(dir / L"out\\a_001.txt", "old");
    WriteText(dir / L"out\\a_007.txt", "old");
    ASSERT_EQ(Copy(dir / L"src\\a.txt"), 0);
    ASSERT_EQ(Copy(dir / L"src\\a.txt"), 0);
    EXPECT_TRUE(Exists(dir / L"out\\a_008.txt"));
    EXPECT_TRUE(Exists(dir / L"out\\a_009.txt"));
}

TEST_F(CopyRunTest, ConditionsSkipFilesAndEmptyFoldersDisappear) {
    CopyToOut();
    settings.EmptyDirNoCopy = 1;
    conditions.selectMode = 0;
    conditions.lists[kTargetList].patterns = {L"*.txt"};
    MakeFolder(dir / L"src\\D\\pictures");
    MakeFolder(dir / L"src\\D\\notes");
    WriteText(dir / L"src\\D\\pictures\\p.jpg", "x");
    WriteText(dir / L"src\\D\\notes\\n.txt", "x");
    WriteText(dir / L"src\\D\\top.doc", "x");
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(Exists(dir / L"out\\D_1\\notes\\n.txt"));
    EXPECT_FALSE(Exists(dir / L"out\\D_1\\pictures"));
    EXPECT_FALSE(Exists(dir / L"out\\D_1\\top.doc"));
    EXPECT_TRUE(shared.somethingCopied.load());
}

TEST_F(CopyRunTest, NothingSelectedLeavesNothingBehind) {
    CopyToOut();
    settings.EmptyDirNoCopy = 1;
    conditions.selectMode = 0;  // an empty target list selects nothing
    MakeFolder(dir / L"src\\D\\sub");
    WriteText(dir / L"src\\D\\sub\\a.doc", "x");
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_FALSE(Exists(dir / L"out\\D_1"));
    EXPECT_FALSE(shared.somethingCopied.load());
}

TEST_F(CopyRunTest, FileCopyDisabledCopiesFoldersOnly) {
    CopyToOut();
    settings.Select = 0;
    MakeFolder(dir / L"src\\D\\sub\\deep");
    WriteText(dir / L"src\\D\\sub\\a.txt", "x");
    WriteText(dir / L"src\\f.txt", "x");
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(IsFolder(dir / L"out\\D_1\\sub\\deep"));
    EXPECT_FALSE(Exists(dir / L"out\\D_1\\sub\\a.txt"));
    EXPECT_EQ(Copy(dir / L"src\\f.txt"), -1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].substr(0, 35), L"File copy function is not enabled.P");
}

TEST_F(CopyRunTest, MissingSourcesAreReported) {
    EXPECT_EQ(Copy(dir / L"src\\gone.txt"), -1);
    EXPECT_EQ(Copy(L""), -1);
    EXPECT_EQ(Copy(dir / L"src\\*"), -1);  // a wildcard never stands for some other file
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], L"Please select a folder or file.\n\n" + (dir / L"src\\gone.txt"));
    EXPECT_EQ(boxes[1], L"Please select a folder or file.\n\n");
}

TEST_F(CopyRunTest, DestinationLengthLimits) {
    // A folder copy may be 247 characters long (with its "\"), a file 259.
    CopyToOut();
    const std::size_t base = settings.Path.size();
    const std::wstring folderName(247 - base - 3, L'f');  // + "_1\"
    MakeFolder(dir / (L"src\\" + folderName));
    EXPECT_EQ(Copy(dir / (L"src\\" + folderName)), 0);
    EXPECT_TRUE(boxes.empty());

    const std::wstring longer(folderName + L"g");
    MakeFolder(dir / (L"src\\" + longer));
    EXPECT_EQ(Copy(dir / (L"src\\" + longer)), -1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].substr(0, 71),
              L"The path of the output file exceeds maximum value(247 characters).\n\n" + settings.Path.substr(0, 3));
}

TEST_F(CopyRunTest, CopyOntoItselfIsRefusedAfterSixtyRetries) {
    settings.AddStringsAft = 0;  // no generated part, same folder: the copy would be the source
    settings.PrefixAft1 = L"";
    WriteText(dir / L"src\\a.txt", "keep");
    EXPECT_EQ(Copy(dir / L"src\\a.txt"), -1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0],
              L"The same name of the file to the copy destination already exists.\n\n" + (dir / L"src\\a.txt"));
    EXPECT_EQ(ReadBytes(dir / L"src\\a.txt"), std::vector<std::uint8_t>({'k', 'e', 'e', 'p'}));
}

TEST_F(CopyRunTest, WithoutGeneratedPartsAnExistingFileIsReplaced) {
    CopyToOut();
    KeepSourceNames();
    WriteText(dir / L"src\\a.txt", "new");
    WriteText(dir / L"out\\a.txt", "old content");
    ASSERT_EQ(Copy(dir / L"src\\a.txt"), 0);
    EXPECT_EQ(ReadBytes(dir / L"out\\a.txt"), std::vector<std::uint8_t>({'n', 'e', 'w'}));
}

// Guards against the write probe truncating the user's file before the copy
// has even started.
TEST_F(CopyRunTest, TheWriteProbeNeverDestroysAnExistingFile) {
    CopyToOut();
    KeepSourceNames();
    WriteText(dir / L"src\\a.txt", "new");
    WriteText(dir / L"out\\a.txt", "precious");
    // The source cannot be read, so the copy fails after the probe.
    UniqueKernelHandle lock(::CreateFileW((dir / L"src\\a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock.valid());
    EXPECT_EQ(Copy(dir / L"src\\a.txt"), -1);
    lock.reset();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].substr(0, 16), L"Failed to copy.\n");
    EXPECT_EQ(ReadBytes(dir / L"out\\a.txt"), std::vector<std::uint8_t>({'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
}

// Guards against removing empty folders that were already in a destination
// the copy merged into.
TEST_F(CopyRunTest, MergingKeepsTheUsersOwnEmptyFolders) {
    CopyToOut();
    KeepSourceNames();
    settings.EmptyDirNoCopy = 1;
    conditions.selectMode = 0;
    conditions.lists[kTargetList].patterns = {L"*.txt"};
    MakeFolder(dir / L"out\\D\\mine");
    MakeFolder(dir / L"src\\D\\skipped");
    MakeFolder(dir / L"src\\D\\kept");
    WriteText(dir / L"src\\D\\skipped\\x.jpg", "x");
    WriteText(dir / L"src\\D\\kept\\y.txt", "y");
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(IsFolder(dir / L"out\\D\\mine"));
    EXPECT_FALSE(Exists(dir / L"out\\D\\skipped"));
    EXPECT_TRUE(Exists(dir / L"out\\D\\kept\\y.txt"));
}

TEST_F(CopyRunTest, UnwritableDestinationAsksForAnotherFolder) {
    CopyToOut();
    KeepSourceNames();
    WriteText(dir / L"src\\a.txt", "x");
    MakeFolder(dir / L"out\\a.txt");  // a folder where the file should go
    MakeFolder(dir / L"other");
    answers.push_back({dir / L"other", false});
    ASSERT_EQ(Copy(dir / L"src\\a.txt"), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].substr(0, 15), L"Can not copy.\n\n");
    EXPECT_NE(boxes[0].find(L"Please Select in which to copy."), std::wstring::npos);
    EXPECT_TRUE(Exists(dir / L"other\\a.txt"));
    EXPECT_EQ(run->chosenFolder, dir / L"other\\");
    // Later sources go to the chosen folder without asking again.
    WriteText(dir / L"src\\b.txt", "x");
    ASSERT_EQ(Copy(dir / L"src\\b.txt"), 0);
    EXPECT_TRUE(Exists(dir / L"other\\b.txt"));
    EXPECT_EQ(browsedFrom.size(), 1u);
}

TEST_F(CopyRunTest, CancelledBrowserFailsTheSource) {
    CopyToOut();
    KeepSourceNames();
    WriteText(dir / L"src\\a.txt", "x");
    MakeFolder(dir / L"out\\a.txt");
    EXPECT_EQ(Copy(dir / L"src\\a.txt"), -1);
    EXPECT_EQ(browsedFrom.size(), 1u);
}

TEST_F(CopyRunTest, SelDirAsksOnceAndInvalidNamesAskAgain) {
    settings.SelDir = 1;
    WriteText(dir / L"src\\a.txt", "x");
    WriteText(dir / L"src\\b.txt", "x");
    MakeFolder(dir / L"picked");
    answers.push_back({L"", true});
    answers.push_back({dir / L"picked", false});
    ASSERT_EQ(Copy(dir / L"src\\a.txt"), 0);
    ASSERT_EQ(Copy(dir / L"src\\b.txt"), 0);
    EXPECT_TRUE(Exists(dir / L"picked\\a_1.txt"));
    EXPECT_TRUE(Exists(dir / L"picked\\b_1.txt"));
    ASSERT_EQ(browsedFrom.size(), 2u);
    EXPECT_EQ(browsedFrom[0], dir / L"src\\");  // CopyMode 0 starts at the source's folder
}

TEST_F(CopyRunTest, MissingConfiguredFolderThatCannotBeMadeOpensTheBrowser) {
    CopyToOut();
    WriteText(dir / L"blocker", "a file where a folder should be");
    settings.Path = dir / L"blocker\\sub\\";
    WriteText(dir / L"src\\a.txt", "x");
    answers.push_back({dir / L"out", false});
    ASSERT_EQ(Copy(dir / L"src\\a.txt"), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].substr(0, 43), L"Could not create copy destination folder.\n\n");
    ASSERT_EQ(browsedFrom.size(), 1u);
    EXPECT_EQ(browsedFrom[0], settings.Path);
    EXPECT_TRUE(Exists(dir / L"out\\a_1.txt"));
}

TEST_F(CopyRunTest, CancelDuringALargeFileLeavesNoPartFileAndNoMessage) {
    CopyToOut();
    const std::wstring big = dir / L"src\\big.bin";
    {
        UniqueKernelHandle file(
            ::CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size;
        size.QuadPart = 1LL << 30;
        ::SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN);
        ::SetEndOfFile(file.get());
    }
    std::atomic<bool> copyEnded{false};
    std::thread canceller([&] {
        while (shared.statusProgressText.Get().empty() && !copyEnded.load()) ::Sleep(1);
        shared.copyCancelRequested = true;
    });
    EXPECT_EQ(Copy(big), 0);
    copyEnded = true;
    canceller.join();
    EXPECT_TRUE(boxes.empty());
    if (RunningUnderWine()) {
        // Wine's CopyFileExW never calls the progress routine, so a copy
        // cannot be stopped halfway there: the file is copied whole.
        EXPECT_TRUE(Exists(dir / L"out\\big_1.bin"));
        return;
    }
    EXPECT_FALSE(Exists(dir / L"out\\big_1.bin"));
    EXPECT_FALSE(shared.somethingCopied.load());
}

TEST_F(CopyRunTest, ResultListLiesBesideTheCopyAndSharesItsSerial) {
    CopyToOut();
    settings.DirTree = 1;
    WriteText(dir / L"out\\D_005.txt", "an older list");  // a list counts for the serial too
    settings.ZeroSuppress = 3;
    MakeFolder(dir / L"src\\D\\sub");
    WriteText(dir / L"src\\D\\sub\\a.txt", "a");
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(Exists(dir / L"out\\D_006\\sub\\a.txt"));
    const std::wstring list = ReadUtf16File(dir / L"out\\D_006.txt");
    EXPECT_NE(list.find(L"\r\n" + (dir / L"out\\D_006") + L"\r\n"), std::wstring::npos) << list;
    EXPECT_NE(list.find(L"└─sub\r\n        a.txt"), std::wstring::npos) << list;
    EXPECT_EQ(ReadBytes(dir / L"out\\D_006.txt")[0], 0xFF);
}

TEST_F(CopyRunTest, ListOnlyWritesNothingButTheList) {
    CopyToOut();
    settings.DirTree = 2;
    MakeFolder(dir / L"src\\D\\sub");
    WriteText(dir / L"src\\D\\sub\\a.txt", "a");
    WriteText(dir / L"src\\f.txt", "f");
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    ASSERT_EQ(Copy(dir / L"src\\f.txt"), 0);
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((dir / L"out\\*").c_str(), &data));
    std::vector<std::wstring> names;
    do {
        if (data.cFileName[0] != L'.') names.push_back(data.cFileName);
    } while (::FindNextFileW(find.get(), &data));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"D_1.txt", L"f_1.txt.txt"}));
    const std::wstring list = ReadUtf16File(dir / L"out\\D_1.txt");
    EXPECT_NE(list.find(L"\r\n" + (dir / L"src\\D") + L"\r\n"), std::wstring::npos) << list;  // the source is the root
    EXPECT_NE(list.find(L"a.txt"), std::wstring::npos);
    EXPECT_FALSE(shared.somethingCopied.load());
}

TEST_F(CopyRunTest, RemovedEmptyFoldersDoNotAppearInTheList) {
    CopyToOut();
    settings.DirTree = 1;
    settings.EmptyDirNoCopy = 1;
    conditions.selectMode = 0;
    conditions.lists[kTargetList].patterns = {L"*.txt"};
    MakeFolder(dir / L"src\\D\\pics");
    MakeFolder(dir / L"src\\D\\docs");
    WriteText(dir / L"src\\D\\pics\\p.jpg", "p");
    WriteText(dir / L"src\\D\\docs\\d.txt", "d");
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    const std::wstring list = ReadUtf16File(dir / L"out\\D_1.txt");
    EXPECT_NE(list.find(L"docs"), std::wstring::npos) << list;
    EXPECT_EQ(list.find(L"pics"), std::wstring::npos) << list;
}

// Regression: a repeated run without generated parts appended a second list
// to the first under one byte-order mark; the list is now replaced whole.
TEST_F(CopyRunTest, AnExistingListIsReplacedWhole) {
    CopyToOut();
    KeepSourceNames();
    settings.DirTree = 1;
    WriteText(dir / L"src\\a.txt", "a");
    WriteBytes(dir / L"out\\a.txt.txt", Utf16Bytes(L"earlier list\r\n", true));
    ASSERT_EQ(Copy(dir / L"src\\a.txt"), 0);
    ASSERT_EQ(Copy(dir / L"src\\a.txt"), 0);
    const auto bytes = ReadBytes(dir / L"out\\a.txt.txt");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    const std::wstring text = ReadUtf16File(dir / L"out\\a.txt.txt");
    EXPECT_EQ(text.find(L"earlier list"), std::wstring::npos);
    EXPECT_EQ(text.find(L'\xFEFF'), std::wstring::npos);
    const std::wstring root = L"\r\n" + (dir / L"out\\a.txt") + L"\r\n";
    ASSERT_NE(text.find(root), std::wstring::npos) << text;
    EXPECT_EQ(text.find(root, text.find(root) + 1), std::wstring::npos) << text;
}

TEST_F(CopyRunTest, WithoutMemoryForTheListTheCommandInterpreterWritesIt) {
    CopyToOut();
    settings.DirTree = 1;
    WriteText(dir / L"src\\a.txt", "a");
    {
        RunContext context(settings, conditions, shared);
        context.listEntryLimit = 0;
        ASSERT_EQ(CopyOneSource(context, dir / L"src\\a.txt"), 0);
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0],
              L"The memory could not be allocated. And it outputs the copy result list in the Windows command.");
    EXPECT_TRUE(Exists(dir / L"out\\a_1.txt"));
    const auto bytes = ReadBytes(dir / L"out\\a_1.txt.txt");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("a_1.txt"), std::string::npos) << text;
}

namespace {

// Every file made in the destination fails, as on a full disk.
struct FullDisk : ForwardingFiles {
    explicit FullDisk(std::wstring folder) : destination(std::move(folder)) {}
    UniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                            DWORD& error) override {
        if (disposition == CREATE_NEW && DisplayPath(path).starts_with(destination) && !path.ends_with(L".zip")) {
            error = ERROR_DISK_FULL;
            return {};
        }
        return ForwardingFiles::Open(path, access, share, disposition, flags, error);
    }
    std::wstring destination;
};

// The names in a folder, sorted.
std::vector<std::wstring> SnapshotNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    (void)SystemFileSystem().List(folder, [&names](const WIN32_FIND_DATAW& data) {
        names.push_back(data.cFileName);
        return true;
    });
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> EntryNames(const std::wstring& archive) {
    const auto content = ReadZip(archive);
    return content ? content->order : std::vector<std::string>{"(unreadable)"};
}

}  // namespace

TEST_F(CopyRunTest, AFolderIsPackedStraightFromItsSourcesWithNothingBeside) {
    CopyToOut();
    settings.CompressMode = 1;
    settings.DirTree = 1;
    MakeFolder(dir / L"src\\D\\sub");
    MakeFolder(dir / L"src\\D\\empty");
    WriteText(dir / L"src\\D\\sub\\a.txt", "a");
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(EntryNames(dir / L"out\\D_1.zip"),
              (std::vector<std::string>{"D_1/", "D_1/empty/", "D_1/sub/", "D_1/sub/a.txt"}));
    EXPECT_EQ(SnapshotNames(dir / L"out"), (std::vector<std::wstring>{L"D_1.zip", L"D_1.zip.txt"}));
    const std::wstring list = ReadUtf16File(dir / L"out\\D_1.zip.txt");
    EXPECT_NE(list.find(L"*The file size is the size before compression."), std::wstring::npos) << list;
    EXPECT_NE(list.find(L"\r\n" + (dir / L"out\\D_1.zip") + L"\r\n"), std::wstring::npos) << list;
    EXPECT_TRUE(shared.somethingCopied.load());
}

TEST_F(CopyRunTest, ArchiveSerialsCountArchivesAndTheirLists) {
    CopyToOut();
    settings.CompressMode = 1;
    settings.ZeroSuppress = 3;
    WriteText(dir / L"src\\a.txt", "a");
    WriteText(dir / L"out\\a_004.txt.zip", "");
    WriteText(dir / L"out\\a_006.txt.zip.txt", "");
    ASSERT_EQ(Copy(dir / L"src\\a.txt"), 0);
    EXPECT_EQ(EntryNames(dir / L"out\\a_007.txt.zip"), std::vector<std::string>{"a.txt"});
}

TEST_F(CopyRunTest, AnArchiveThatCannotBeWrittenStopsTheRunAndLeavesNothing) {
    CopyToOut();
    settings.CompressMode = 1;
    MakeFolder(dir / L"src\\D");
    WriteText(dir / L"src\\D\\a.txt", "a");
    FullDisk files(dir / L"out\\");
    Run().files = &files;
    EXPECT_EQ(Copy(dir / L"src\\D"), 0);  // the run is stopped, not this source failed
    EXPECT_TRUE(shared.copyCancelRequested.load());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].substr(0, 62), L"Could not be converted to ZIP format.\n7-zip ErrorCD:0x00008003");
    EXPECT_TRUE(SnapshotNames(dir / L"out").empty());
}

TEST_F(CopyRunTest, ASourceFileThatCannotBeReadIsNamedAndNoArchiveIsLeft) {
    CopyToOut();
    settings.CompressMode = 1;
    MakeFolder(dir / L"src\\D");
    WriteText(dir / L"src\\D\\a.txt", "a");
    WriteText(dir / L"src\\D\\locked.txt", "in use");
    UniqueKernelHandle locked(
        ::CreateFileW((dir / L"src\\D\\locked.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    EXPECT_EQ(Copy(dir / L"src\\D"), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].starts_with(L"Could not be converted to ZIP format.\n7-zip ErrorCD:0x00008002")) << boxes[0];
    EXPECT_TRUE(boxes[0].ends_with(dir / L"src\\D\\locked.txt")) << boxes[0];
    EXPECT_TRUE(SnapshotNames(dir / L"out").empty());
}

TEST_F(CopyRunTest, CancelWhilePackingLeavesNoArchiveAndNoMessage) {
    CopyToOut();
    settings.CompressMode = 1;
    MakeFolder(dir / L"src\\D");
    for (int i = 0; i < 20; ++i) WriteBytes(dir / (L"src\\D\\f" + std::to_wstring(i)), Content(70000, i));
    WriteText(dir / L"out\\D_1.zip.keep", "mine");
    struct CancelOnRead : ForwardingFiles {
        SharedRunState* shared = nullptr;
        UniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                                DWORD& error) override {
            if (path.ends_with(L"f7")) shared->copyCancelRequested = true;  // the user presses Cancel
            return ForwardingFiles::Open(path, access, share, disposition, flags, error);
        }
    } files;
    files.shared = &shared;
    Run().files = &files;
    EXPECT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(SnapshotNames(dir / L"out"), std::vector<std::wstring>{L"D_1.zip.keep"});
    EXPECT_FALSE(shared.somethingCopied.load());
}

TEST_F(CopyRunTest, NothingToCopyMeansNothingToCompress) {
    CopyToOut();
    settings.CompressMode = 1;
    settings.EmptyDirNoCopy = 1;
    conditions.selectMode = 0;
    conditions.lists[kTargetList].patterns = {L"*.txt"};
    MakeFolder(dir / L"src\\D");
    WriteText(dir / L"src\\D\\a.jpg", "a");
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(SnapshotNames(dir / L"out").empty());
    EXPECT_FALSE(shared.somethingCopied.load());
}

// Regression: with Zip, both kinds "none", EmptyDirNoCopy and nothing
// selected, the user's folder of the source's name was deleted as if it
// were the run's work folder.
TEST_F(CopyRunTest, AnArchiveWithNothingToPackLeavesTheUsersFolderOfItsName) {
    CopyToOut();
    KeepSourceNames();
    settings.CompressMode = 1;
    settings.EmptyDirNoCopy = 1;
    conditions.selectMode = 0;
    conditions.lists[kTargetList].patterns = {L"*.txt"};
    MakeFolder(dir / L"src\\D");
    WriteText(dir / L"src\\D\\a.jpg", "a");
    MakeFolder(dir / L"out\\D\\inner");
    WriteText(dir / L"out\\D\\mine.doc", "mine");
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ReadBytes(dir / L"out\\D\\mine.doc"), std::vector<std::uint8_t>({'m', 'i', 'n', 'e'}));
    EXPECT_TRUE(IsFolder(dir / L"out\\D\\inner"));
    EXPECT_EQ(SnapshotNames(dir / L"out"), std::vector<std::wstring>{L"D"});
}

TEST_F(CopyRunTest, AnArchiveBesideItsSourceTakesTheSourcesName) {
    KeepSourceNames();
    settings.CompressMode = 1;
    MakeFolder(dir / L"src\\D");
    WriteText(dir / L"src\\D\\a.txt", "a");
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(EntryNames(dir / L"src\\D.zip"), (std::vector<std::string>{"D/", "D/a.txt"}));
}

TEST_F(CopyRunTest, AnArchivePathMayTakeTheFullLength) {
    CopyToOut();
    settings.CompressMode = 1;
    const std::wstring name(259 - settings.Path.size() - 6, L'w');  // + "_1.zip"
    MakeFolder(dir / (L"src\\" + name));
    WriteText(dir / (L"src\\" + name + L"\\a.txt"), "a");
    EXPECT_EQ(Copy(dir / (L"src\\" + name)), 0);
    EXPECT_TRUE(boxes.empty());
    MakeFolder(dir / (L"src\\" + name + L"x"));
    EXPECT_EQ(Copy(dir / (L"src\\" + name + L"x")), -1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].substr(0, 66), L"The path of the output file exceeds maximum value(259 characters).");
}

// Regression: a destination inside the source made the walk enter its own
// output and nest until the path broke.
TEST_F(CopyRunTest, ADestinationInsideTheSourceIsRefusedBeforeAnythingIsMade) {
    MakeFolder(dir / L"src\\p\\q");
    WriteText(dir / L"src\\p\\a.txt", "a");
    WriteText(dir / L"src\\p\\q\\b.txt", "b");
    const std::wstring p = dir / L"src\\p";
    struct Case {
        std::wstring path;
        int kind;
        int compress;
    };
    const Case cases[] = {
        {p + L"\\out\\", 4, 0},    // a folder not made yet
        {p + L"\\q\\", 1, 0},      // an existing subfolder
        {p + L"\\", 4, 0},         // the source itself receives the copy
        {p + L"\\q\\..\\", 4, 1},  // the same, written another way, as an archive
    };
    settings.CopyMode = 1;
    for (const Case& c : cases) {
        boxes.clear();
        run.reset();
        settings.Path = c.path;
        settings.AddStringsAft = c.kind;
        settings.CompressMode = c.compress;
        EXPECT_EQ(Copy(p), -1) << c.path;
        ASSERT_EQ(boxes.size(), 1u) << c.path;
        const std::wstring expected = L"The destination folder is a subfolder of the source folder.\n\nSource : " + p;
        EXPECT_EQ(boxes[0].substr(0, expected.size()), expected);
        EXPECT_FALSE(shared.somethingCopied.load());
    }
    WIN32_FIND_DATAW data;
    int entries = 0;
    UniqueFindHandle find(::FindFirstFileW((p + L"\\*").c_str(), &data));
    do ++entries;
    while (::FindNextFileW(find.get(), &data));
    EXPECT_EQ(entries, 4);  // ".", "..", a.txt and q, nothing new
    EXPECT_FALSE(Exists(p + L"\\q\\b_1"));
}

// The second guard: even a copy made inside its source is never walked into.
TEST_F(CopyRunTest, TheWalkNeverEntersAFolderThisRunMade) {
    MakeFolder(dir / L"src\\p\\q");
    WriteText(dir / L"src\\p\\a.txt", "a");
    WriteText(dir / L"src\\p\\q\\b.txt", "b");
    CreatedEntries created;
    TreeCopy tree(settings, conditions, shared, SystemFileSystem(), created);
    tree.sourceRoot = ExtendedLengthPath(dir / L"src\\p");
    tree.destinationRoot = ExtendedLengthPath(dir / L"src\\p\\p_1\\");
    ASSERT_EQ(CreateTrackedFolder(tree, tree.destinationRoot), 0);
    CopyFolderTree(tree, tree.sourceRoot);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(Exists(dir / L"src\\p\\p_1\\a.txt"));
    EXPECT_TRUE(Exists(dir / L"src\\p\\p_1\\q\\b.txt"));
    EXPECT_FALSE(Exists(dir / L"src\\p\\p_1\\p_1"));
}

// Regression: with both kinds "none" an archive's work folder was the user's
// folder of the same name, which was packed into the archive and deleted.
TEST_F(CopyRunTest, AnArchiveNeverTakesInOrDeletesTheUsersFolderOfItsName) {
    CopyToOut();
    KeepSourceNames();
    settings.CompressMode = 1;
    MakeFolder(dir / L"out\\F2");
    WriteText(dir / L"out\\F2\\mine.txt", "mine");
    WriteText(dir / L"out\\F2.zip", "old archive");
    MakeFolder(dir / L"src\\F2");
    WriteText(dir / L"src\\F2\\new.txt", "new");
    ASSERT_EQ(Copy(dir / L"src\\F2"), 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ReadBytes(dir / L"out\\F2\\mine.txt"), std::vector<std::uint8_t>({'m', 'i', 'n', 'e'}));
    EXPECT_FALSE(Exists(dir / L"out\\F2\\new.txt"));
    EXPECT_GT(ReadBytes(dir / L"out\\F2.zip").size(), 11u);  // replaced by the new archive
    EXPECT_FALSE(Exists(dir / L"out\\~zip1"));
    EXPECT_TRUE(shared.somethingCopied.load());
}

// Regression: "data.." and "data " were looked up as "data" but listed as
// themselves, which failed: an empty "data.._1" and "Success.".
TEST_F(CopyRunTest, SourcePathsAreTakenInTheFormWindowsResolvesThemTo) {
    CopyToOut();
    MakeFolder(dir / L"src\\data\\sub");
    WriteText(dir / L"src\\data\\a.txt", "a");
    WriteText(dir / L"src\\data\\sub\\b.txt", "b");
    ASSERT_EQ(Copy(dir / L"src\\data.."), 0);
    ASSERT_EQ(Copy(dir / L"src\\data. ."), 0);
    ASSERT_EQ(Copy(dir / L"src/data/sub/.."), 0);
    EXPECT_TRUE(boxes.empty());
    for (const wchar_t* copy : {L"out\\data_1", L"out\\data_2", L"out\\data_3"}) {
        EXPECT_TRUE(Exists(dir / (std::wstring(copy) + L"\\a.txt"))) << copy;
        EXPECT_TRUE(Exists(dir / (std::wstring(copy) + L"\\sub\\b.txt"))) << copy;
    }
    // "data\.." is the folder above, copied under its own name.
    ASSERT_EQ(Copy(dir / L"src\\data\\.."), 0);
    EXPECT_TRUE(Exists(dir / L"out\\src_1\\data\\sub\\b.txt"));
}

// Regression: a folder whose listing failed was passed over and the run still
// ended in plain "Success.".
TEST_F(CopyRunTest, FoldersThatCannotBeListedAreNamedAndFailTheSource) {
    CreatedEntries created;
    TreeCopy tree(settings, conditions, shared, SystemFileSystem(), created);
    tree.sourceRoot = ExtendedLengthPath(dir / L"src");
    tree.destinationRoot = ExtendedLengthPath(dir / L"out\\");
    CopyFolderTree(tree, ExtendedLengthPath(dir / L"src\\gone"));
    CopyFolderTree(tree, tree.sourceRoot);
    ASSERT_EQ(tree.unreadableFolders.size(), 1u);
    EXPECT_EQ(tree.unreadableFolders[0], dir / L"src\\gone");
    // A folder whose search fails is not taken for empty by the pre-check.
    EXPECT_TRUE(tree.copyable.InFolder(ExtendedLengthPath(dir / L"src\\gone")));

    CopyToOut();
    MakeFolder(dir / L"src\\D\\locked");
    WriteText(dir / L"src\\D\\a.txt", "a");
    WriteText(dir / L"src\\D\\locked\\x.txt", "x");
    // A name with a trailing dot, which only the long form of a path reaches.
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + (dir / L"src\\D\\odd.")).c_str(), nullptr));
    WriteText(L"\\\\?\\" + (dir / L"src\\D\\odd.\\x.txt"), "x");
    struct DenyingFiles : ForwardingFiles {
        DWORD List(const std::wstring& folder, const Visit& visit) override {
            if (folder.ends_with(L"\\locked")) return ERROR_ACCESS_DENIED;
            return ForwardingFiles::List(folder, visit);
        }
    } files;
    Run().files = &files;
    EXPECT_EQ(Copy(dir / L"src\\D"), -1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0],
              L"Folders that could not be read : 1\nThey have not been copied.\n\n" + (dir / L"src\\D\\locked"));
    EXPECT_TRUE(Exists(dir / L"out\\D_1\\a.txt"));
    EXPECT_TRUE(Exists(L"\\\\?\\" + (dir / L"out\\D_1\\odd.\\x.txt")));
}

// Anything thrown on one of the run's threads (the walk on the worker's
// thread, a copy thread, the archiver's reader) ends the run as failed with
// one message; no file is left cut short or under a temporary name.
TEST_F(CopyRunTest, AFailureThrownOnAnyThreadEndsTheRunWithAMessage) {
    struct Throwing : ForwardingFiles {
        enum class At { Listing, Copying, Reading } at = At::Listing;
        DWORD List(const std::wstring& folder, const Visit& visit) override {
            if (at == At::Listing && folder.ends_with(L"\\sub")) throw std::bad_alloc();
            return ForwardingFiles::List(folder, visit);
        }
        DWORD Copy(const std::wstring& from, const std::wstring& to, LPPROGRESS_ROUTINE progress, void* context,
                   DWORD flags) override {
            if (at == At::Copying && from.ends_with(L"f3")) throw std::bad_alloc();
            return ForwardingFiles::Copy(from, to, progress, context, flags);
        }
        UniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                                DWORD& error) override {
            if (at == At::Reading && access == GENERIC_READ && path.ends_with(L"f3")) throw std::bad_alloc();
            return ForwardingFiles::Open(path, access, share, disposition, flags, error);
        }
    };
    const struct {
        Throwing::At at;
        int compress;
        const wchar_t* message;
    } cases[] = {
        {Throwing::At::Listing, 0, L"The copy was stopped by an unexpected error.\n\nOut of memory."},
        {Throwing::At::Copying, 0, L"The copy was stopped by an unexpected error.\n\nOut of memory."},
        {Throwing::At::Reading, 1, L"Could not be converted to ZIP format.\n7-zip ErrorCD:0x00008005"},
    };
    MakeFolder(dir / L"src\\D\\sub");
    for (int i = 0; i < 8; ++i) WriteBytes(dir / (L"src\\D\\f" + std::to_wstring(i)), Content(50000, i));
    WriteText(dir / L"src\\D\\sub\\s.txt", "s");
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(round);
        const std::wstring out = dir / (L"out" + std::to_wstring(++round) + L"\\");
        settings = DefaultSettings(false, std::nullopt);
        settings.CopyMode = 1;
        settings.Path = out;
        settings.CompressMode = c.compress;
        SharedRunState state;
        RunContext context(settings, conditions, state);
        Throwing files;
        files.at = c.at;
        context.files = &files;
        context.copyWorkers = 4;
        boxes.clear();
        RunWorkerBehindBarrier(state, [&] { CopyOneSource(context, dir / L"src\\D"); }, {});
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].starts_with(c.message)) << boxes[0];
        EXPECT_TRUE(state.copyCancelRequested.load());
        // Whatever was copied before the failure is whole; nothing else is there.
        (void)SystemFileSystem().List(out + L"D_1", [&](const WIN32_FIND_DATAW& data) {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return true;
            EXPECT_EQ(ReadBytes(out + L"D_1\\" + data.cFileName),
                      ReadBytes(dir / (L"src\\D\\" + std::wstring(data.cFileName))));
            return true;
        });
        if (c.compress == 1) {
            EXPECT_TRUE(SnapshotNames(out).empty());
        }
    }
}
