#include <gtest/gtest.h>

#include "file_system.h"
#include "folder_links.h"
#include "paths.h"
#include "test_files.h"

TEST(FileSystemPaths, ExtendedLengthFormAndBack) {
    const struct {
        const wchar_t* plain;
        const wchar_t* extended;
    } cases[] = {
        {L"C:\\a\\b", L"\\\\?\\C:\\a\\b"},
        {L"C:\\", L"\\\\?\\C:\\"},
        {L"\\\\server\\share\\a", L"\\\\?\\UNC\\server\\share\\a"},
        {L"\\\\?\\C:\\a", L"\\\\?\\C:\\a"},
        {L"relative\\a", L"relative\\a"},  // not full: left alone
        {L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtendedLengthPath(c.plain), c.extended) << c.plain;
        if (std::wstring_view(c.plain).starts_with(L"\\\\?\\")) continue;
        EXPECT_EQ(DisplayPath(ExtendedLengthPath(c.plain)), c.plain) << c.plain;
    }
}

TEST(FileSystemFolders, MakesEveryMissingLevelAndNamesWhatItMade) {
    TempDir dir;
    std::vector<std::wstring> made;
    const auto record = [&made](const std::wstring& folder) { made.push_back(folder); };
    const std::wstring deep = ExtendedLengthPath(dir / L"a\\b\\c");
    ASSERT_EQ(MakeFolders(SystemFileSystem(), deep + L"\\", record), 0u);
    EXPECT_TRUE(IsFolder(dir / L"a\\b\\c"));
    EXPECT_EQ(made,
              (std::vector<std::wstring>{ExtendedLengthPath(dir / L"a"), ExtendedLengthPath(dir / L"a\\b"), deep}));
    made.clear();
    ASSERT_EQ(MakeFolders(SystemFileSystem(), deep, record), 0u);
    EXPECT_TRUE(made.empty());  // nothing new: nothing named
    WriteText(dir / L"file", "x");
    EXPECT_NE(MakeFolders(SystemFileSystem(), dir / L"file\\sub", record), 0u);
    EXPECT_TRUE(made.empty());
}

TEST(FileSystemFolders, PathsPastTheOldLimitWork) {
    TempDir dir;
    // Without the folder's trailing "\": an extended-length path is taken as
    // it is, and "\\" in it is an invalid name.
    std::wstring deep = ExtendedLengthPath(dir / L"long");
    while (deep.size() < 400) deep += L"\\folder_with_a_long_name";
    ASSERT_EQ(MakeFolders(SystemFileSystem(), deep), 0u);
    const std::wstring file = deep + L"\\f.txt";
    DWORD error = 0;
    UniqueKernelHandle handle = SystemFileSystem().Open(file, GENERIC_WRITE, 0, CREATE_NEW, 0, error);
    EXPECT_TRUE(handle.valid());
    EXPECT_EQ(error, 0u);
}

TEST(FileSystemReplace, ReplacesReadOnlyFilesAndKeepsTheOldOneOnFailure) {
    TempDir dir;
    WriteText(dir / L"old.txt", "old");
    ::SetFileAttributesW((dir / L"old.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteText(dir / L"new.tmp", "new");
    ASSERT_EQ(ReplaceWithNewFile(SystemFileSystem(), dir / L"new.tmp", dir / L"old.txt"), 0u);
    EXPECT_EQ(ReadBytes(dir / L"old.txt"), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
    EXPECT_FALSE(Exists(dir / L"new.tmp"));

    ::SetFileAttributesW((dir / L"old.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_NE(ReplaceWithNewFile(SystemFileSystem(), dir / L"missing.tmp", dir / L"old.txt"), 0u);
    EXPECT_EQ(ReadBytes(dir / L"old.txt"), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
    EXPECT_TRUE(::GetFileAttributesW((dir / L"old.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW((dir / L"old.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FolderLinks, OnlyFoldersThatHoldTheirOwnContentAreEntered) {
    constexpr DWORD kReparseFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    const struct {
        DWORD attributes;
        DWORD tag;
        bool entered;
    } cases[] = {
        {FILE_ATTRIBUTE_DIRECTORY, 0, true},
        {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 0, true},
        {kReparseFolder, 0, false},                           // Wine's symbolic links
        {kReparseFolder, IO_REPARSE_TAG_MOUNT_POINT, false},  // junctions
        {kReparseFolder, IO_REPARSE_TAG_SYMLINK, false},
        {kReparseFolder, 0x9000001Au, true},  // a cloud-file placeholder
        {kReparseFolder, IO_REPARSE_TAG_DEDUP, true},
    };
    for (const auto& c : cases) {
        WIN32_FIND_DATAW data{};
        data.dwFileAttributes = c.attributes;
        data.dwReserved0 = c.tag;
        EXPECT_EQ(EntersFolder(data), c.entered) << std::hex << c.attributes << " " << c.tag;
    }
}
