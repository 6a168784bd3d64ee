#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "archive_order.h"
#include "archive_trees.h"
#include "archive_writer.h"
#include "archiver_api.h"
#include "file_system.h"
#include "handles.h"
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
