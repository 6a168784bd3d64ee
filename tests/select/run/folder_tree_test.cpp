#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>

#include "forwarding_files.h"
#include "handles.h"
#include "message_capture.h"
#include "run/copy_run.h"
#include "test_files.h"

namespace {

constexpr unsigned kSeveralWorkers = 4;

std::vector<std::uint8_t> Content(std::size_t size, int seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 7 + seed) & 0xFF);
    return bytes;
}

// Every folder (as "name\") and file below root with its bytes.
using Snapshot = std::map<std::wstring, std::vector<std::uint8_t>>;
void TakeSnapshot(const std::wstring& root, const std::wstring& relative, Snapshot& snapshot) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((root + relative + L"*").c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            snapshot[relative + name + L"\\"] = {};
            TakeSnapshot(root, relative + name + L"\\", snapshot);
        } else {
            snapshot[relative + name] = ReadBytes(root + relative + name);
        }
    } while (::FindNextFileW(find.get(), &data));
}
Snapshot SnapshotOf(const std::wstring& root) {
    Snapshot snapshot;
    TakeSnapshot(root, L"", snapshot);
    return snapshot;
}

std::wstring Replaced(std::wstring text, const std::wstring& from, const std::wstring& to) {
    for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Holds copies until the test lets them go: a manual-reset event.
class Gate {
public:
    void Open() { ::SetEvent(event_.get()); }
    void Wait() const { ::WaitForSingleObject(event_.get(), INFINITE); }

private:
    UniqueKernelHandle event_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

class FolderTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeFolder(dir / L"src\\D\\sub\\deeper");
        MakeFolder(dir / L"src\\D\\only_pictures");
        MakeFolder(dir / L"src\\D\\empty");
        MakeFolder(dir / L"out");
        for (int i = 0; i < 40; ++i) {
            const std::wstring name = L"f" + std::to_wstring(i) + (i % 5 == 0 ? L".jpg" : L".txt");
            WriteBytes(dir / (L"src\\D\\" + name), Content(100 + i * 997, i));
            WriteBytes(dir / (L"src\\D\\sub\\" + name), Content(3000 + i, i + 1));
        }
        WriteBytes(dir / L"src\\D\\sub\\deeper\\日本語.txt", Content(70000, 3));
        WriteBytes(dir / L"src\\D\\only_pictures\\p.jpg", Content(10, 4));
    }

    // A tree copy of src\D into out\<name>\, made by the shipped walk.
    std::unique_ptr<TreeCopy> TreeInto(const std::wstring& name, unsigned workers) {
        auto tree = std::make_unique<TreeCopy>(settings, conditions, shared, SystemFileSystem(), created);
        tree->sourceRoot = ExtendedLengthPath(dir / L"src\\D");
        tree->destinationRoot = ExtendedLengthPath(dir / (L"out\\" + name + L"\\"));
        tree->copyWorkers = workers;
        EXPECT_EQ(CreateTrackedFolder(*tree, tree->destinationRoot), 0);
        return tree;
    }

    // Every file in out\<name>\ is whole: the same bytes as its source.
    void ExpectOnlyWholeCopies(const std::wstring& name) {
        for (const auto& [path, bytes] : SnapshotOf(dir / (L"out\\" + name + L"\\"))) {
            if (path.back() == L'\\') continue;
            EXPECT_EQ(bytes, ReadBytes(dir / (L"src\\D\\" + path))) << path;
        }
    }

    TempDir dir;
    Settings settings = DefaultSettings(false, std::nullopt);
    SelectionConditions conditions;
    SharedRunState shared;
    CreatedEntries created;
    MessageCapture messages;
};

}  // namespace

TEST_F(FolderTreeTest, OneAndSeveralWorkersMakeTheSameCopyAndTheSameList) {
    struct Case {
        bool keepNames;
        int emptyDirNoCopy;
    };
    // Empty folders removed after the walk, tested before it, or kept.
    for (const Case c : {Case{false, 1}, Case{true, 1}, Case{false, 0}}) {
        SCOPED_TRACE(testing::Message() << c.keepNames << " " << c.emptyDirNoCopy);
        settings = DefaultSettings(false, std::nullopt);
        settings.AddStringsAft = c.keepNames ? 0 : 4;
        if (c.keepNames) settings.PrefixAft1 = L"";
        settings.EmptyDirNoCopy = c.emptyDirNoCopy;
        settings.DirTree = 1;
        settings.CopyMode = 1;
        conditions.selectMode = 0;
        conditions.lists[kTargetList].patterns = {L"*.txt"};
        std::map<unsigned, std::wstring> lists;
        std::map<unsigned, Snapshot> copies;
        for (const unsigned workers : {1u, kSeveralWorkers}) {
            const std::wstring folder = dir / (L"out\\" + std::to_wstring(c.emptyDirNoCopy) +
                                               (c.keepNames ? L"k" : L"s") + std::to_wstring(workers) + L"\\");
            MakeFolder(folder);
            settings.Path = folder;
            RunContext run(settings, conditions, shared);
            run.copyWorkers = workers;
            ASSERT_EQ(CopyOneSource(run, dir / L"src\\D"), 0);
            const std::wstring copy = c.keepNames ? L"D" : L"D_1";
            copies[workers] = SnapshotOf(folder + copy + L"\\");
            lists[workers] = Replaced(ReadUtf16File(folder + copy + L".txt"), folder, L"<out>\\");
        }
        EXPECT_TRUE(messages.texts.empty());
        // 65 text files and the two folders that hold some; the two others only when kept.
        EXPECT_EQ(copies[1].size(), 67u + (c.emptyDirNoCopy == 0 ? 2u : 0u));
        EXPECT_EQ(copies[kSeveralWorkers], copies[1]);
        EXPECT_EQ(lists[kSeveralWorkers], lists[1]);
    }
}

// Cancel while copies are under way: the copy in hand ends, no other starts,
// and no file is left cut short.
TEST_F(FolderTreeTest, CancelStopsEveryWorkerAtItsNextFile) {
    std::unique_ptr<TreeCopy> tree = TreeInto(L"c", kSeveralWorkers);
    Gate firstStarted;
    Gate cancelled;
    std::atomic<int> started{0};
    tree->copyFile = [&](FileSystem& files, const std::wstring& from, const std::wstring& to, SharedRunState& run,
                         Destination destination, const WIN32_FIND_DATAW* verifyAgainst) {
        if (started++ == 0) firstStarted.Open();
        cancelled.Wait();
        return CopyOneFile(files, from, to, run, destination, verifyAgainst);
    };
    std::thread user([&] {
        firstStarted.Wait();
        shared.copyCancelRequested = true;
        cancelled.Open();
    });
    CopyFolderTree(*tree, tree->sourceRoot);
    user.join();
    // Each worker had at most one copy in hand when Cancel came.
    EXPECT_LE(started.load(), static_cast<int>(kSeveralWorkers));
    EXPECT_TRUE(messages.texts.empty());
    ExpectOnlyWholeCopies(L"c");
}

// Two copies failing at once (their destination files are in use) stop the
// run once: one message, the user's files untouched, no copy cut short.
TEST_F(FolderTreeTest, AFailingCopyStopsTheOthersWithOneMessage) {
    MakeFolder(dir / L"out\\f\\sub");
    const std::vector<std::wstring> locked = {dir / L"out\\f\\f7.txt", dir / L"out\\f\\sub\\f31.txt"};
    std::vector<UniqueKernelHandle> inUse;
    for (const std::wstring& path : locked) {
        WriteText(path, "mine");
        inUse.emplace_back(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(inUse.back());
    }
    std::unique_ptr<TreeCopy> tree = TreeInto(L"f", kSeveralWorkers);
    std::atomic<int> lockedArrived{0};
    Gate bothArrived;
    std::atomic<int> startedAfterFailure{0};
    tree->copyFile = [&](FileSystem& files, const std::wstring& from, const std::wstring& to, SharedRunState& run,
                         Destination destination, const WIN32_FIND_DATAW* verifyAgainst) {
        if (std::find(locked.begin(), locked.end(), DisplayPath(to)) != locked.end()) {
            if (++lockedArrived == 2) bothArrived.Open();
            bothArrived.Wait();
        } else if (run.copyCancelRequested.load()) {
            ++startedAfterFailure;
        }
        return CopyOneFile(files, from, to, run, destination, verifyAgainst);
    };
    CopyFolderTree(*tree, tree->sourceRoot);
    ASSERT_EQ(messages.texts.size(), 1u);
    const std::wstring& text = messages.texts[0];
    EXPECT_TRUE(text.starts_with(L"Failed to copy a file.\n")) << text;
    EXPECT_TRUE(text.ends_with(locked[0]) || text.ends_with(locked[1])) << text;
    EXPECT_TRUE(shared.copyCancelRequested.load());
    // Only copies already taken when the failure came may follow it.
    EXPECT_LE(startedAfterFailure.load(), static_cast<int>(kSeveralWorkers) - 2);
    inUse.clear();
    for (const std::wstring& path : locked) EXPECT_EQ(ReadBytes(path), std::vector<std::uint8_t>({'m', 'i', 'n', 'e'}));
}

// Regression: a copy that failed at its source (locked) counted the
// destination as its own part file and deleted the user's file of that name.
TEST_F(FolderTreeTest, AFailedCopyKeepsTheUsersFileInAFolderThatWasThere) {
    MakeFolder(dir / L"out\\m");
    WriteText(dir / L"out\\m\\f3.txt", "mine");
    std::unique_ptr<TreeCopy> tree = TreeInto(L"m", kSeveralWorkers);
    UniqueKernelHandle locked(
        ::CreateFileW((dir / L"src\\D\\f3.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    CopyFolderTree(*tree, tree->sourceRoot);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(ReadBytes(dir / L"out\\m\\f3.txt"), std::vector<std::uint8_t>({'m', 'i', 'n', 'e'}));
}

namespace {

// A tree that exists only in answers to listings: a chain of folders `depth`
// deep under "V:\root", each holding `files` files and the next folder "d".
// Counts listings and entries handed out; can hold one listing on a gate.
class VirtualChain : public ForwardingFiles {
public:
    VirtualChain(int depth, int files) : depth_(depth), files_(files) {}

    DWORD List(const std::wstring& folder, const Visit& visit) override {
        if (++listings == holdAtListing) {
            held.Open();
            release.Wait();
        }
        const int level = static_cast<int>(std::count(folder.begin(), folder.end(), L'\\')) - 1;
        WIN32_FIND_DATAW data{};
        data.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
        data.nFileSizeLow = 10;
        for (int i = 0; i < files_; ++i) {
            ++entries;
            wcscpy_s(data.cFileName, (L"f" + std::to_wstring(i) + L".jpg").c_str());
            if (!visit(data)) return 0;
        }
        if (level >= depth_) return 0;
        data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
        wcscpy_s(data.cFileName, L"d");
        ++entries;
        visit(data);
        return 0;
    }

    std::atomic<int> listings{0};
    std::atomic<int> entries{0};
    int holdAtListing = 0;
    Gate held;
    Gate release;

private:
    const int depth_;
    const int files_;
};

}  // namespace

// Regression: every level of the tree rescanned what lay below it, so a deep
// tree cost its size times its depth.
TEST_F(FolderTreeTest, TheEmptyFolderScanListsEachFolderOnce) {
    settings.EmptyDirNoCopy = 1;
    settings.DirTree = 2;  // the list only: the walk tests each folder before entering it
    conditions.selectMode = 0;
    conditions.lists[kTargetList].patterns = {L"*.txt"};  // nothing here is selected
    constexpr int kDepth = 200;
    VirtualChain chain(kDepth, 5);
    TreeCopy tree(settings, conditions, shared, chain, created);
    tree.sourceRoot = L"V:\\root";
    tree.copyWorkers = 1;
    EXPECT_FALSE(tree.copyable.InFolder(tree.sourceRoot));
    CopyFolderTree(tree, tree.sourceRoot);
    EXPECT_LE(chain.listings.load(), kDepth + 2);  // each folder once, and the root once more by the walk
}

// Cancel while the scan goes through a deep tree of 100,000 entries: the
// scan is held inside a listing, Cancel is pressed, and not one entry more
// is looked at.
TEST_F(FolderTreeTest, CancelStopsTheEmptyFolderScanAtTheNextEntry) {
    settings.EmptyDirNoCopy = 1;
    conditions.selectMode = 0;
    conditions.lists[kTargetList].patterns = {L"*.txt"};
    VirtualChain chain(1000, 99);  // 1,000 folders of 100 entries
    chain.holdAtListing = 500;
    TreeCopy tree(settings, conditions, shared, chain, created);
    std::thread user([&] {
        chain.held.Wait();
        shared.copyCancelRequested = true;
        chain.release.Open();
    });
    int entriesAtCancel = 0;
    bool holds = false;
    std::thread scan([&] { holds = tree.copyable.InFolder(L"V:\\root"); });
    chain.held.Wait();
    entriesAtCancel = chain.entries.load();
    user.join();
    scan.join();
    EXPECT_LE(chain.entries.load() - entriesAtCancel, 1);
    EXPECT_EQ(chain.listings.load(), 500);
    EXPECT_TRUE(holds);  // a cancelled scan never declares a folder empty
}
