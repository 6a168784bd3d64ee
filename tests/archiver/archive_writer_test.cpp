#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "archive_order.h"
#include "archive_trees.h"
#include "archive_writer.h"
#include "archiver_api.h"
#include "file_system.h"
#include "handles.h"
#include "piece_compressor.h"
#include "forwarding_files.h"
#include "test_files.h"

namespace {

WIN32_FIND_DATAW FindDataOf(const std::wstring& path) {
    WIN32_FIND_DATAW data{};
    UniqueFindHandle find(FindFirstFileW(path.c_str(), &data));
    return data;
}

// Collects a tree the way another walk would: in the file system's order,
// each name given with "\" between parts, files before the folder that
// holds them.
void WalkTree(const std::wstring& folder, const std::wstring& name, std::vector<SourceItem>& items) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    ASSERT_TRUE(find.valid());
    do {
        const std::wstring child = data.cFileName;
        if (child == L"." || child == L"..") continue;
        const std::wstring path = ExtendedLengthPath(folder + L"\\" + child);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) WalkTree(path, name + L"\\" + child, items);
        SourceItem item;
        ASSERT_EQ(MakeSourceItem(path, name + L"\\" + child, data, item), kArchiverOk);
        items.push_back(std::move(item));
    } while (FindNextFileW(find.get(), &data));
}

std::vector<SourceItem> WalkedItems(const std::wstring& source, const std::wstring& top) {
    std::vector<SourceItem> items;
    std::wstring root = source;
    if (root.back() == L'\\') root.pop_back();
    WalkTree(root, top, items);
    SourceItem item;
    EXPECT_EQ(MakeSourceItem(ExtendedLengthPath(root), top + L"\\", FindDataOf(root), item), kArchiverOk);
    items.push_back(std::move(item));
    return items;
}

std::vector<std::string> NamesOf(const std::vector<SourceItem>& items) {
    std::vector<std::string> names;
    for (const SourceItem& item : items) names.push_back(item.name);
    return names;
}

}  // namespace

TEST(ArchiveEntries, MakesNamesFromEitherSeparatorAndRefusesNamesWithoutUtf8) {
    WIN32_FIND_DATAW file{};
    file.dwFileAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;
    file.nFileSizeHigh = 1;
    file.nFileSizeLow = 5;
    WIN32_FIND_DATAW folder{};
    folder.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    const struct {
        const wchar_t* name;
        bool isFolder;
        int code;
        const char* expected;
    } cases[] = {
        {L"top\\sub\\a.txt", false, kArchiverOk, "top/sub/a.txt"},
        {L"top/sub/a.txt", false, kArchiverOk, "top/sub/a.txt"},
        {L"top\\sub", true, kArchiverOk, "top/sub/"},
        {L"top\\sub\\", true, kArchiverOk, "top/sub/"},
        {L"コピー\\日本語.txt", false, kArchiverOk,
         "\xE3\x82\xB3\xE3\x83\x94\xE3\x83\xBC/\xE6\x97\xA5\xE6\x9C\xAC"
         "\xE8\xAA\x9E.txt"},
        {L"top\\bad\xD800.txt", false, kArchiverBadName, ""},
        {L"", true, kArchiverBadName, ""},
        {L"\\", true, kArchiverBadName, ""},
    };
    for (const auto& c : cases) {
        SourceItem item;
        item.name = "untouched";
        EXPECT_EQ(MakeSourceItem(L"\\\\?\\C:\\x", c.name, c.isFolder ? folder : file, item), c.code) << c.name;
        if (c.code != kArchiverOk) {
            EXPECT_EQ(item.name, "untouched");
            continue;
        }
        EXPECT_EQ(item.name, c.expected);
        EXPECT_EQ(item.path, L"\\\\?\\C:\\x");
        EXPECT_EQ(item.isFolder, c.isFolder);
        EXPECT_EQ(item.size, c.isFolder ? 0u : (1ull << 32) + 5);
        // Hidden stays behind; read-only goes with a file.
        EXPECT_EQ(item.attributes,
                  c.isFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
    }
    SourceItem item;
    EXPECT_EQ(MakeSourceItem(L"C:\\x", std::wstring(70000, L'a'), file, item), kArchiverBadName);
}

TEST(ArchiveEntries, OrderIsDepthFirstWithNamesSortedWithoutRegardToCase) {
    // Given in the order expected, then shuffled with fixed seeds.
    const std::vector<std::string> expected = {
        "top/",
        "top/a/",
        "top/a/z",
        "top/a-b",
        "top/A.txt",
        "top/a.txt",
        "top/B/",
        "top/B/x",
        "top/b.txt",
        "top/c/",
        "top/c/d/",
        "top/c/d/e",
        "top/c/D.txt",
        "top/\xE7\xA9\xBA/",  // a Japanese folder name sorts after the Latin ones
    };
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::vector<SourceItem> items;
        for (const std::string& name : expected) items.push_back(SourceItem{L"", name});
        std::shuffle(items.begin(), items.end(), std::mt19937(seed));
        SortIntoArchiveOrder(items);
        EXPECT_EQ(NamesOf(items), expected) << "seed " << seed;
    }
}

TEST(ArchiveEntries, AWalkSortedIntoArchiveOrderMakesTheArchiveOfTheCommandLine) {
    TempDir dir;
    const std::wstring source = MakeMixedSource(dir);
    // Reading sets access times, which the archive records: read once first.
    ArchiveRequest request{dir / L"command.zip", source, true, 2};
    ASSERT_EQ(CreateArchive(request, nullptr).code, kArchiverOk);
    std::vector<SourceItem> walked = WalkedItems(source, L"mixed");
    std::reverse(walked.begin(), walked.end());
    SortIntoArchiveOrder(walked);
    const SourceScan scan = ScanSource(source, nullptr);
    ASSERT_EQ(scan.code, kArchiverOk);
    EXPECT_EQ(NamesOf(walked), NamesOf(scan.items));

    ASSERT_EQ(CreateArchive(request, nullptr).code, kArchiverOk);
    for (unsigned threads : {1u, 2u, 0u}) {
        ArchiveProgress progress;
        ArchiveOptions options;
        options.threads = threads;
        options.progress = &progress;
        const ArchiveOutcome outcome = WriteArchive(walked, dir / L"entries.zip", options);
        ASSERT_EQ(outcome.code, kArchiverOk);
        EXPECT_TRUE(ReadBytes(dir / L"entries.zip") == ReadBytes(dir / L"command.zip")) << threads;
        std::uint64_t bytes = 0;
        for (const SourceItem& item : walked) bytes += item.size;
        EXPECT_EQ(progress.entriesTotal, walked.size());
        EXPECT_EQ(progress.entriesDone, walked.size());
        EXPECT_EQ(progress.bytesTotal, bytes);
        EXPECT_EQ(progress.bytesDone, bytes);
    }
}

TEST(ArchiveEntries, ArchivePathsPastTheOldLimitGetTheirArchiveAndNoTemporaryFile) {
    TempDir dir;
    const std::wstring source = MakeSource(dir);
    std::wstring deep = dir / L"out";
    while (deep.size() < 300) deep += L"\\folder_with_a_long_name";
    ASSERT_EQ(MakeFolders(SystemFileSystem(), ExtendedLengthPath(deep)), 0u);
    const std::wstring archive = deep + L"\\archive.zip";
    const SourceScan scan = ScanSource(source, nullptr);
    ASSERT_EQ(WriteArchive(scan.items, archive, ArchiveOptions{}).code, kArchiverOk);
    EXPECT_EQ(NamesIn(ExtendedLengthPath(deep) + L"\\"), (std::vector<std::wstring>{L"archive.zip"}));
    const auto bytes = ReadBytes(ExtendedLengthPath(archive));
    ASSERT_GT(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 'P');
}

namespace {

// The system's file operations, with the find data of chosen folders
// changed into reparse points of a given tag (Wine makes none but its own
// tag-0 links), and opening a chosen file made to throw.
class StandInFiles final : public ForwardingFiles {
public:
    std::vector<std::pair<std::wstring, DWORD>> reparseTags;  // folder name -> tag
    std::wstring throwingFile;                                // a name whose opening for reading throws
    std::function<void()> beforeRead;                         // called before each file is opened for reading
    std::function<DWORD(const std::wstring&)> beforeList;     // called before each listing; nonzero fails it

    DWORD List(const std::wstring& folder, const Visit& visit) override {
        if (beforeList) {
            if (const DWORD error = beforeList(folder); error != 0) return error;
        }
        return ForwardingFiles::List(folder, [&](const WIN32_FIND_DATAW& data) {
            WIN32_FIND_DATAW changed = data;
            for (const auto& [name, tag] : reparseTags) {
                if (name != data.cFileName) continue;
                changed.dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
                changed.dwReserved0 = tag;
            }
            return visit(changed);
        });
    }
    UniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                            DWORD& error) override {
        if (access == GENERIC_READ && beforeRead) beforeRead();
        if (!throwingFile.empty() && access == GENERIC_READ && path.ends_with(L"\\" + throwingFile)) {
            throw std::bad_alloc();
        }
        return ForwardingFiles::Open(path, access, share, disposition, flags, error);
    }
};

// Compresses as the archiver does until the given piece, then fails in the
// given way.
class FailingCompressor final : public PieceCompressor {
public:
    enum class Failure { kThrows, kReportsFailure };
    FailingCompressor(std::atomic<int>& piecesLeft, Failure failure) : piecesLeft_(piecesLeft), failure_(failure) {}

    bool Compress(const PieceToCompress& piece, std::vector<std::uint8_t>& out, bool& storeAsIs) override {
        if (piecesLeft_-- > 0) return real_->Compress(piece, out, storeAsIs);
        if (failure_ == Failure::kThrows) throw std::bad_alloc();
        return false;
    }

private:
    std::atomic<int>& piecesLeft_;
    const Failure failure_;
    std::unique_ptr<PieceCompressor> real_ = MakeDeflateCompressor();
};

}  // namespace

TEST(ArchiveEntries, CloudFoldersAreArchivedWithTheirContentAndLinksToFoldersAreLeftOut) {
    TempDir dir;
    const std::wstring source = dir / L"work\\";
    for (const wchar_t* folder : {L"cloud", L"junction", L"symlink", L"wine link", L"plain"}) {
        MakeFolder(source + folder);
        WriteText(source + folder + L"\\inside.txt", "x");
    }
    StandInFiles files;
    files.reparseTags = {{L"cloud", 0x9000601A},  // IO_REPARSE_TAG_CLOUD_6
                         {L"junction", IO_REPARSE_TAG_MOUNT_POINT},
                         {L"symlink", IO_REPARSE_TAG_SYMLINK},
                         {L"wine link", 0}};
    const SourceScan scan = ScanSource(source, nullptr, files);
    ASSERT_EQ(scan.code, kArchiverOk);
    EXPECT_EQ(NamesOf(scan.items), (std::vector<std::string>{"work/", "work/cloud/", "work/cloud/inside.txt",
                                                             "work/plain/", "work/plain/inside.txt"}));
}

TEST(ArchiveEntries, ATreeDeeperThanTheOldLimitIsScannedAndReadWhole) {
    TempDir dir;
    std::wstring deep = dir / L"work";
    while (deep.size() < 320) deep += L"\\a_folder_name_of_some_length";
    ASSERT_EQ(MakeFolders(SystemFileSystem(), ExtendedLengthPath(deep)), 0u);
    WriteBytes(ExtendedLengthPath(deep + L"\\deep.txt"), std::vector<std::uint8_t>(5000, 'd'));
    const SourceScan scan = ScanSource(dir / L"work\\", nullptr);
    ASSERT_EQ(scan.code, kArchiverOk);
    ASSERT_FALSE(scan.items.empty());
    EXPECT_TRUE(scan.items.back().name.ends_with("/deep.txt"));
    EXPECT_EQ(scan.items.back().size, 5000u);
    EXPECT_EQ(WriteArchive(scan.items, dir / L"out.zip", ArchiveOptions{}).code, kArchiverOk);
}

// Regression: an exception in a reader or a compressor thread ended the
// process; it must fail the archive and leave nothing behind.
TEST(ArchiveThreads, AnythingThrownOrFailingInAThreadFailsTheArchiveAndLeavesNoFile) {
    TempDir dir;
    const std::wstring source = MakeMixedSource(dir);
    const SourceScan scan = ScanSource(source, nullptr);
    ASSERT_EQ(scan.code, kArchiverOk);
    for (unsigned threads : {1u, 2u, 4u}) {
        SCOPED_TRACE(threads);
        StandInFiles files;
        files.throwingFile = L"13.txt";
        ArchiveOptions options;
        options.threads = threads;
        options.files = &files;
        EXPECT_EQ(WriteArchive(scan.items, dir / L"out.zip", options).code, kArchiverInternalError);

        for (auto failure : {FailingCompressor::Failure::kThrows, FailingCompressor::Failure::kReportsFailure}) {
            std::atomic<int> piecesLeft{30};
            ArchiveOptions failing;
            failing.threads = threads;
            failing.makeCompressor = [&] { return std::make_unique<FailingCompressor>(piecesLeft, failure); };
            EXPECT_EQ(WriteArchive(scan.items, dir / L"out.zip", failing).code, kArchiverInternalError);
        }
        ArchiveOptions noCompressor;
        noCompressor.threads = threads;
        noCompressor.makeCompressor = []() -> std::unique_ptr<PieceCompressor> { throw std::bad_alloc(); };
        EXPECT_EQ(WriteArchive(scan.items, dir / L"out.zip", noCompressor).code, kArchiverInternalError);
        EXPECT_EQ(NamesIn(dir.path()), (std::vector<std::wstring>{L"mixed"}));
    }
}

TEST(ArchiveEntries, CancelWhileFilesAreReadStopsTheRunAndLeavesNoFile) {
    TempDir dir;
    const std::wstring source = MakeMixedSource(dir);
    const SourceScan scan = ScanSource(source, nullptr);
    ASSERT_EQ(scan.code, kArchiverOk);
    for (unsigned threads : {1u, 2u}) {
        SCOPED_TRACE(threads);
        std::atomic<bool> cancel{false};
        std::atomic<int> reads{0};
        StandInFiles files;
        // The run is under way: Cancel comes at the 40th file.
        files.beforeRead = [&] {
            if (++reads == 40) cancel = true;
        };
        ArchiveProgress progress;
        ArchiveOptions options;
        options.threads = threads;
        options.cancel = &cancel;
        options.files = &files;
        options.progress = &progress;
        EXPECT_EQ(WriteArchive(scan.items, dir / L"out.zip", options).code, kArchiverStopped);
        EXPECT_LT(progress.entriesDone, progress.entriesTotal);
        EXPECT_EQ(NamesIn(dir.path()), (std::vector<std::wstring>{L"mixed"}));
    }
}

// Entries handed in by another thread while the archive is being written, a
// few at a time, make byte for byte the archive of the complete list.
TEST(ArchiveEntries, AListHandedInWhileWritingMakesTheArchiveOfTheWholeList) {
    TempDir dir;
    const std::wstring source = MakeMixedSource(dir);
    // Reading sets access times, which the archive records: read once first.
    ArchiveRequest request{dir / L"command.zip", source, true, 2};
    ASSERT_EQ(CreateArchive(request, nullptr).code, kArchiverOk);
    const SourceScan scan = ScanSource(source, nullptr);
    ASSERT_EQ(scan.code, kArchiverOk);
    ASSERT_EQ(CreateArchive(request, nullptr).code, kArchiverOk);
    for (unsigned threads : {1u, 2u, 0u}) {
        SCOPED_TRACE(threads);
        ArchiveItems list;
        std::thread feeder([&] {
            for (std::size_t i = 0; i < scan.items.size(); i += 5) {
                const std::size_t end = std::min(i + 5, scan.items.size());
                list.Add({scan.items.begin() + i, scan.items.begin() + end});
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            list.Close();
        });
        ArchiveOptions options;
        options.threads = threads;
        const ArchiveOutcome outcome = WriteArchive(list, dir / L"fed.zip", options);
        feeder.join();
        ASSERT_EQ(outcome.code, kArchiverOk);
        EXPECT_TRUE(ReadBytes(dir / L"fed.zip") == ReadBytes(dir / L"command.zip"));
    }
}

// Whoever lists the entries may give the archive up at any time: the run
// stops and leaves no file, whether it was waiting for more entries or
// reading files.
TEST(ArchiveEntries, AnAbandonedListStopsTheRunAndLeavesNoFile) {
    TempDir dir;
    const std::wstring source = MakeMixedSource(dir);
    const SourceScan scan = ScanSource(source, nullptr);
    ASSERT_EQ(scan.code, kArchiverOk);
    struct Case {
        const char* when;
        std::size_t handedIn;  // entries added before the list is given up
        int abandonAtRead;     // 0: once the run waits for more
    };
    const Case cases[] = {
        {"waiting for more entries", scan.items.size() / 2, 0},
        {"while files are read", scan.items.size(), 40},
    };
    for (const Case& c : cases) {
        for (unsigned threads : {1u, 2u}) {
            SCOPED_TRACE(std::string(c.when) + ", threads " + std::to_string(threads));
            ArchiveItems list;
            list.Add({scan.items.begin(), scan.items.begin() + c.handedIn});
            std::atomic<int> reads{0};
            StandInFiles files;
            files.beforeRead = [&] {
                if (++reads == c.abandonAtRead) list.Abandon();
            };
            std::thread giver([&] {
                if (c.abandonAtRead != 0) return;
                for (int i = 0; i < 2000 && reads == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                list.Abandon();
            });
            ArchiveOptions options;
            options.threads = threads;
            options.files = &files;
            const ArchiveOutcome outcome = WriteArchive(list, dir / L"out.zip", options);
            giver.join();
            EXPECT_EQ(outcome.code, kArchiverStopped);
            EXPECT_EQ(NamesIn(dir.path()), (std::vector<std::wstring>{L"mixed"}));
        }
    }
}

TEST(ArchiveEntries, ASourceThatFailsWhilePackingIsReportedAndLeavesTheEarlierFile) {
    TempDir dir;
    const std::wstring source = MakeMixedSource(dir);
    WriteText(dir / L"out.zip", "earlier");
    struct Case {
        const char* what;
        bool throws;  // the listing throws instead of failing
        int code;
        std::wstring path;
    };
    const Case cases[] = {
        {"a folder that cannot be listed", false, kArchiverCannotRead, source + L"f3"},
        {"a listing that throws", true, kArchiverInternalError, source},
    };
    for (const Case& c : cases) {
        for (unsigned threads : {1u, 2u}) {
            SCOPED_TRACE(std::string(c.what) + ", threads " + std::to_string(threads));
            std::atomic<int> reads{0};
            bool packing = false;
            StandInFiles files;
            files.beforeRead = [&] { ++reads; };
            // The listing of f3 waits until the writer reads the files found
            // before it, so the failure comes while the archive is written.
            files.beforeList = [&](const std::wstring& folder) -> DWORD {
                if (!folder.ends_with(L"\\f3")) return 0;
                for (int i = 0; i < 5000 && reads == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                packing = reads > 0;
                if (c.throws) throw std::bad_alloc();
                return ERROR_ACCESS_DENIED;
            };
            const ArchiveOutcome outcome = CreateArchive({dir / L"out.zip", source, true, threads}, nullptr, files);
            EXPECT_TRUE(packing);
            EXPECT_EQ(outcome.code, c.code);
            EXPECT_EQ(outcome.path, c.path);
            EXPECT_EQ(NamesIn(dir.path()), (std::vector<std::wstring>{L"mixed", L"out.zip"}));
            const auto bytes = ReadBytes(dir / L"out.zip");
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "earlier");
        }
    }
}
