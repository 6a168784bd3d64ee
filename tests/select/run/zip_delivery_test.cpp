#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archiver_api.h"
#include "message_capture.h"
#include "run/copy_rules.h"
#include "run/zip_delivery.h"
#include "test_files.h"

namespace {

// A tree with what the order rules meet: names that differ only after the
// case is ignored, a folder that sorts before a file of a longer name, an
// empty folder, a 0-byte file and Japanese names.
void MakeMixedTree(const std::wstring& root) {
    MakeFolder(root + L"\\b\\deep\\er");
    MakeFolder(root + L"\\B-side");
    MakeFolder(root + L"\\空");
    WriteText(root + L"\\a.txt", "alpha");
    WriteText(root + L"\\A b.txt", "");
    WriteText(root + L"\\b.txt", "bee");
    WriteText(root + L"\\b\\deep\\er\\日本語.txt", "深い");
    WriteText(root + L"\\B-side\\z", "z");
}

}  // namespace

// The entries the walk hands over make, entry for entry, the archive the
// archiver's own scan of the same tree made when the copy was packed from a
// folder of that name.
TEST(ZipDelivery, WalkedEntriesMatchTheScanOfTheSameTree) {
    TempDir dir;
    const std::wstring root = ExtendedLengthPath(dir / L"top");
    MakeMixedTree(dir / L"top");
    Settings settings = DefaultSettings(false, std::nullopt);
    SelectionConditions conditions;
    SharedRunState shared;
    CreatedEntries created;
    TreeCopy tree(settings, conditions, shared, SystemFileSystem(), created);
    tree.sourceRoot = root;
    std::vector<PackedEntry> packed;
    tree.packed = &packed;
    CopyFolderTree(tree, root);

    WIN32_FIND_DATAW rootData;
    ASSERT_EQ(SystemFileSystem().Find(root, rootData), 0u);
    std::vector<SourceItem> items;
    std::wstring badPath;
    ASSERT_EQ(TreeArchiveItems(root, rootData, L"top", packed, items, badPath), kArchiverOk);
    const SourceScan scan = ScanSource(root, nullptr);
    ASSERT_EQ(scan.code, kArchiverOk);
    ASSERT_EQ(items.size(), scan.items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(scan.items[i].name);
        EXPECT_EQ(items[i].name, scan.items[i].name);
        EXPECT_EQ(items[i].isFolder, scan.items[i].isFolder);
        EXPECT_EQ(items[i].size, scan.items[i].size);
        EXPECT_EQ(items[i].attributes, scan.items[i].attributes);
        EXPECT_EQ(::CompareFileTime(&items[i].writeTime, &scan.items[i].writeTime), 0);
    }
}

TEST(ZipDelivery, ANameWithoutUtf8FormIsNamedAndPacksNothing) {
    std::vector<PackedEntry> packed(1);
    packed[0].relativePath = std::wstring(L"bad") + wchar_t(0xD800) + L".txt";
    packed[0].sourcePath = L"C:\\src\\" + packed[0].relativePath;
    WIN32_FIND_DATAW rootData{};
    rootData.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    std::vector<SourceItem> items;
    std::wstring badPath;
    EXPECT_EQ(TreeArchiveItems(L"C:\\src", rootData, L"src", packed, items, badPath), kArchiverBadName);
    EXPECT_EQ(badPath, packed[0].sourcePath);
}

TEST(ZipDelivery, FailuresAreShownInBothLanguagesAndLeaveNoArchive) {
    TempDir dir;
    MessageCapture messages;
    WIN32_FIND_DATAW data{};
    data.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    data.nFileSizeLow = 5;
    wcscpy_s(data.cFileName, L"gone.txt");
    std::vector<SourceItem> items;
    std::wstring badPath;
    ASSERT_EQ(FileArchiveItems(dir / L"gone.txt", data, items, badPath), kArchiverOk);
    for (const bool japanese : {false, true}) {
        SetJapanese(japanese);
        EXPECT_FALSE(DeliverArchive(items, dir / L"a.zip", DeliveryOptions{}));
    }
    ASSERT_EQ(messages.texts.size(), 2u);
    EXPECT_EQ(messages.texts[0],
              L"Could not be converted to ZIP format.\n7-zip ErrorCD:0x00008002\n\n" + (dir / L"gone.txt"));
    EXPECT_EQ(messages.texts[1],
              L"ZIP形式に圧縮できませんでした。\n7-zip ErrorCD:0x00008002\n\n" + (dir / L"gone.txt"));
    EXPECT_FALSE(Exists(dir / L"a.zip"));
}
