#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include "handles.h"
#include "result_list/result_entries.h"
#include "result_list_support.h"
#include "test_files.h"
#include "result_list/thousands.h"

TEST(MarkEntryPath, MarksFoldersBeforeEveryComponentAndFileNames) {
    EXPECT_EQ(MarkEntryPath(L"A\\", false), L">A\\");
    EXPECT_EQ(MarkEntryPath(L"A\\B\\", false), L">A\\>B\\");
    EXPECT_EQ(MarkEntryPath(L"x.txt", true), L"<x.txt");
    EXPECT_EQ(MarkEntryPath(L"A\\B\\x.txt", true), L">A\\>B\\<x.txt");
    EXPECT_EQ(MarkEntryPath(L"資料\\会議\\メモ.txt", true), L">資料\\>会議\\<メモ.txt");
    EXPECT_EQ(MarkEntryPath(L"", true), L"");
}

TEST(MarkEntryPath, FollowsTheMarkerRuleForPathsWithoutTheFinalBackslash) {
    // A folder must be passed with its trailing "\": without it the rule
    // marks its name like a file name.
    EXPECT_EQ(MarkEntryPath(L"A", false), L"<A");
    EXPECT_EQ(MarkEntryPath(L"A\\B", false), L">A\\B");
    EXPECT_EQ(MarkEntryPath(L"A\\B", true), L">A\\<B");
}

TEST(FormatThousands, GroupsDigitsFromTheRight) {
    EXPECT_EQ(FormatThousands(L""), L"");
    EXPECT_EQ(FormatThousands(L"1"), L"1");
    EXPECT_EQ(FormatThousands(L"123"), L"123");
    EXPECT_EQ(FormatThousands(L"1234"), L"1,234");
    EXPECT_EQ(FormatThousands(L"123456"), L"123,456");
    EXPECT_EQ(FormatThousands(L"1234567"), L"1,234,567");
    EXPECT_EQ(FormatThousands(L"18446744073709551615"), L"18,446,744,073,709,551,615");
}

TEST(EntrySizeText, RoundsKilobytesUp) {
    EXPECT_EQ(EntrySizeText(0), L"0 KB");
    EXPECT_EQ(EntrySizeText(1), L"1 KB");
    EXPECT_EQ(EntrySizeText(1024), L"1 KB");
    EXPECT_EQ(EntrySizeText(1025), L"2 KB");
    EXPECT_EQ(EntrySizeText(5ull * 1024 * 1024 * 1024 + 1), L"5,242,881 KB");
    // Guards against an overflow when rounding the largest size up.
    EXPECT_EQ(EntrySizeText(0xFFFFFFFFFFFFFFFFull), L"18,014,398,509,481,984 KB");
}

TEST(AddResultEntry, FileGetsLocalDateAndSizeFolderOnlyItsPath) {
    ResultEntryTable table;
    AddResultEntry(table, L">A\\<x.txt", FileFindData(3ull * 1024 * 1024 * 1024 + 100, 2024, 2, 29, 7, 5));
    AddResultEntry(table, L">A\\", FolderFindData());
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table.entries()[0].path, L">A\\<x.txt");
    EXPECT_EQ(table.entries()[0].date, L"2024/02/29 07:05");
    EXPECT_EQ(table.entries()[0].size, L"3,145,729 KB");
    EXPECT_EQ(table.entries()[1].path, L">A\\");
    EXPECT_TRUE(table.entries()[1].date.empty());
    EXPECT_TRUE(table.entries()[1].size.empty());
}

TEST(AddResultEntry, TakesTheSizeOfARealFileOfSeveralGigabytes) {
    TempDir dir;
    const std::wstring path = dir / L"big.bin";
    const std::uint64_t bytes = 5ull * 1024 * 1024 * 1024 + 1;
    {
        UniqueKernelHandle file(
            ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.valid());
        DWORD returned = 0;
        // Sparse where the file system allows it, so no disk space is used.
        ::DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(bytes);
        ASSERT_TRUE(::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(file.get()));
    }
    SetLastWriteTime(path, 2023, 12, 31, 23, 59);
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW(path.c_str(), &data));
    ASSERT_TRUE(find.valid());
    ResultEntryTable table;
    AddResultEntry(table, MarkEntryPath(L"big.bin", true), data);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table.entries()[0].size, L"5,242,881 KB");
    EXPECT_EQ(table.entries()[0].date, L"2023/12/31 23:59");
}

TEST(ResultEntryTable, GrowsBlockByBlockWhileMemoryLasts) {
    ResultEntryTable table;
    for (int i = 0; i < 5000; ++i) RecordFile(table, L"f" + std::to_wstring(i), 1);
    EXPECT_TRUE(table.MemoryOk());
    EXPECT_EQ(table.size(), 5000u);
}

TEST(ResultEntryTable, MemoryOkTurnsFalseForGoodWhenTheNextBlockCannotBeHad) {
    ResultEntryTable table(2 * ResultEntryTable::kBlockEntries);
    for (std::size_t i = 0; i + 1 < 2 * ResultEntryTable::kBlockEntries; ++i) RecordFolder(table, L"d");
    EXPECT_TRUE(table.MemoryOk());
    // Filling the last free entry asks for the next block at once.
    RecordFolder(table, L"d");
    EXPECT_FALSE(table.MemoryOk());
    EXPECT_EQ(table.size(), 2 * ResultEntryTable::kBlockEntries);
    RecordFile(table, L"late.txt", 1);
    EXPECT_EQ(table.size(), 2 * ResultEntryTable::kBlockEntries);
    EXPECT_FALSE(table.MemoryOk());
}

TEST(ResultEntryTable, RecordsNothingWhenTheFirstBlockCannotBeHad) {
    ResultEntryTable table(ResultEntryTable::kBlockEntries - 1);
    EXPECT_FALSE(table.MemoryOk());
    RecordFile(table, L"a.txt", 1);
    EXPECT_EQ(table.size(), 0u);
}
