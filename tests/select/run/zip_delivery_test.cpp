#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive_writer.h"
#include "archiver_api.h"
#include "message_capture.h"
#include "run/copy_rules.h"
#include "run/zip_delivery.h"
#include "test_files.h"
#include "zip_reader.h"

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

// Packs the tree at root into archive while walking it, as a Zip delivery
// does; dropEmpty leaves out folders without a file below them.
bool PackWhileWalking(const std::wstring& root, const std::wstring& archive, bool dropEmpty) {
    Settings settings = DefaultSettings(false, std::nullopt);
    SelectionConditions conditions;
    SharedRunState shared;
    CreatedEntries created;
    TreeCopy tree(settings, conditions, shared, SystemFileSystem(), created);
    tree.sourceRoot = root;
    WIN32_FIND_DATAW rootData;
    if (SystemFileSystem().Find(root, rootData) != 0) return false;
    TreePack pack(root, rootData, L"top", dropEmpty);
    std::vector<PackedEntry> packed;
    tree.packed = &packed;
    tree.packing = &pack;
    pack.Start(archive, DeliveryOptions{});
    CopyFolderTree(tree, root);
    return pack.Finish(true);
}

}  // namespace

// The walk lists each folder in the file system's order; the entries it
// hands over while it goes make, byte for byte, the archive the archiver's
// own scan makes of a folder of that name.
TEST(ZipDelivery, PackingWhileWalkingMakesTheArchiveOfTheCommandLine) {
    TempDir dir;
    const std::wstring root = ExtendedLengthPath(dir / L"top");
    MakeMixedTree(dir / L"top");
    MakeFolder(dir / L"out");
    // Reading sets access times, which the archive records: read once first.
    ArchiveRequest request{dir / L"command.zip", root, true, 2};
    ASSERT_EQ(CreateArchive(request, nullptr).code, kArchiverOk);
    ASSERT_TRUE(PackWhileWalking(root, dir / L"out\\top.zip", false));
    ASSERT_EQ(CreateArchive(request, nullptr).code, kArchiverOk);
    EXPECT_TRUE(ReadBytes(dir / L"out\\top.zip") == ReadBytes(dir / L"command.zip"));

    const auto all = ReadZip(dir / L"command.zip");
    ASSERT_TRUE(all);
    std::vector<std::string> withFiles = all->order;
    std::erase(withFiles, "top/空/");
    ASSERT_EQ(withFiles.size() + 1, all->order.size());
    ASSERT_TRUE(PackWhileWalking(root, dir / L"out\\dropped.zip", true));
    const auto dropped = ReadZip(dir / L"out\\dropped.zip");
    ASSERT_TRUE(dropped);
    EXPECT_EQ(dropped->order, withFiles);
}

// A name without a UTF-8 form is named once the walk has ended, and no
// archive is left, however far the writer had come.
TEST(ZipDelivery, ANameWithoutUtf8FormIsNamedAndLeavesNoArchive) {
    TempDir dir;
    MessageCapture messages;
    MakeFolder(dir / L"out");
    WIN32_FIND_DATAW rootData{};
    rootData.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    WriteText(dir / L"good.txt", "good");
    WIN32_FIND_DATAW good{};
    ASSERT_EQ(SystemFileSystem().Find(dir / L"good.txt", good), 0u);
    PackedEntry bad{L"", std::wstring(L"bad") + wchar_t(0xD800) + L".txt", good};
    bad.sourcePath = L"C:\\src\\" + bad.relativePath;
    TreePack pack(dir.path(), rootData, L"src", false);
    pack.Start(dir / L"out\\src.zip", DeliveryOptions{});
    pack.AddFile({dir / L"good.txt", L"good.txt", good});
    pack.AddFile(bad);
    EXPECT_TRUE(pack.Failed());
    EXPECT_FALSE(pack.Finish(true));
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find(bad.sourcePath), std::wstring::npos) << messages.texts[0];
    bool anything = false;
    (void)SystemFileSystem().List(dir / L"out", [&anything](const WIN32_FIND_DATAW&) { return !(anything = true); });
    EXPECT_FALSE(anything);
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
