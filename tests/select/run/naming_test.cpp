#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>

#include "run/naming.h"
#include "test_files.h"

namespace {

const SYSTEMTIME kNow = LocalTime(2024, 1, 15, 9, 30, 5);

// Kind 4 after the name with "_" before it: a.txt becomes a_<serial>.txt.
Settings SerialAfter(int zeroSuppress) {
    Settings s;
    s.AddStringsAft = kAddSerial;
    s.ZeroSuppress = zeroSuppress;
    return s;
}

class SerialSearch : public ::testing::Test {
protected:
    void Files(std::initializer_list<const wchar_t*> names) {
        for (const wchar_t* name : names) WriteText(dir / name, "");
    }
    // The name of the next copy of `source` (a file), without the folder.
    std::wstring Next(const Settings& s, std::wstring_view source = L"a.txt") {
        const auto name = BuildDestinationName(s, dir.path(), true, source, kNow);
        if (!name) return L"(none)";
        const std::wstring joined = name->Joined();
        EXPECT_EQ(joined.substr(0, dir.path().size()), dir.path());
        return joined.substr(dir.path().size());
    }
    TempDir dir;
};

}  // namespace

TEST(NameLayout, DefaultsAppendDateAndTime) {
    const auto name = BuildDestinationName(Settings{}, L"C:\\dest\\", true, L"report.xlsx", kNow);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->Joined(), L"C:\\dest\\report_20240115_093005.xlsx");
    EXPECT_EQ(name->folder, L"C:\\dest\\");
    EXPECT_EQ(name->base, L"report");
    EXPECT_EQ(name->after, L"20240115_093005");
    EXPECT_EQ(name->suffix, L".xlsx");
}

TEST(NameLayout, SevenPartsInOrder) {
    Settings s;
    s.PrefixBef1 = L"A-";
    s.AddStringsBef = kAddDate;
    s.PrefixBef2 = L"-B-";
    s.PrefixAft1 = L"-C-";
    s.AddStringsAft = kAddNone;
    s.PrefixAft2 = L"-D";
    s.CompressMode = 1;
    const auto name = BuildDestinationName(s, L"C:\\d\\", true, L"re.port.xlsx", kNow);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->Joined(), L"C:\\d\\A-20240115-B-re.port-C--D.xlsx.zip");
    EXPECT_EQ(name->folderAndPrefix, L"C:\\d\\A-");
}

TEST(NameLayout, FolderKeepsItsDotsAndGetsNoExtension) {
    Settings s;
    s.PrefixAft2 = L"!";
    EXPECT_EQ(BuildDestinationName(s, L"C:\\d\\", false, L"my.dir", kNow)->Joined(), L"C:\\d\\my.dir_20240115_093005!");
    s.CompressMode = 1;
    EXPECT_EQ(BuildDestinationName(s, L"C:\\d\\", false, L"my.dir", kNow)->Joined(),
              L"C:\\d\\my.dir_20240115_093005!.zip");
}

TEST(NameLayout, FileWithoutExtension) {
    EXPECT_EQ(BuildDestinationName(Settings{}, L"C:\\d\\", true, L"Makefile", kNow)->Joined(),
              L"C:\\d\\Makefile_20240115_093005");
}

TEST(NameLayout, NoneAndUnknownKindsGenerateNothing) {
    Settings s;
    s.AddStringsBef = 7;
    s.AddStringsAft = kAddNone;
    s.PrefixAft1 = L"";
    EXPECT_EQ(BuildDestinationName(s, L"C:\\d\\", true, L"a.txt", kNow)->Joined(), L"C:\\d\\a.txt");
    s.AddStringsAft = -1;
    EXPECT_EQ(BuildDestinationName(s, L"C:\\d\\", true, L"a.txt", kNow)->Joined(), L"C:\\d\\a.txt");
}

TEST(NameLayout, DateBeforeTheName) {
    Settings s;
    s.AddStringsBef = kAddDateTime;
    s.PrefixBef2 = L"_";
    s.AddStringsAft = kAddNone;
    s.PrefixAft1 = L"";
    EXPECT_EQ(BuildDestinationName(s, L"C:\\d\\", true, L"a.txt", kNow)->Joined(), L"C:\\d\\20240115_093005_a.txt");
}

TEST(ListFilePath, OneTrailingBackslashGoesThenTxt) {
    EXPECT_EQ(MakeListFilePath(L"C:\\d\\x.xlsx"), L"C:\\d\\x.xlsx.txt");
    EXPECT_EQ(MakeListFilePath(L"C:\\d\\dir\\"), L"C:\\d\\dir.txt");
    EXPECT_EQ(MakeListFilePath(L"C:\\d\\x.zip"), L"C:\\d\\x.zip.txt");
    EXPECT_EQ(MakeListFilePath(L"C:\\d\\dir\\\\"), L"C:\\d\\dir\\.txt");
}

TEST_F(SerialSearch, StartsAtOne) {
    EXPECT_EQ(Next(SerialAfter(1)), L"a_1.txt");
    EXPECT_EQ(Next(SerialAfter(3)), L"a_001.txt");
}

TEST_F(SerialSearch, FewerDigitsThanZeroSuppressDoNotCount) {
    Files({L"a_001.txt", L"a_007.txt", L"a_7.txt"});
    EXPECT_EQ(Next(SerialAfter(3)), L"a_008.txt");
}

TEST_F(SerialSearch, MoreDigitsCountOnlyWithoutLeadingZero) {
    Files({L"a_1000.txt"});
    EXPECT_EQ(Next(SerialAfter(3)), L"a_1001.txt");
}

TEST_F(SerialSearch, LongerNumberWithLeadingZeroDoesNotCount) {
    Files({L"a_0999.txt", L"a_002.txt"});
    EXPECT_EQ(Next(SerialAfter(3)), L"a_003.txt");
}

TEST_F(SerialSearch, SharesCountWithListAndArchiveNames) {
    Files({L"a_005.txt.txt"});
    EXPECT_EQ(Next(SerialAfter(3)), L"a_006.txt");
    Files({L"a_006.txt.zip"});
    EXPECT_EQ(Next(SerialAfter(3)), L"a_007.txt");
    Files({L"a_007.txt.zip.txt"});
    Settings zipped = SerialAfter(3);
    zipped.CompressMode = 1;
    EXPECT_EQ(Next(zipped), L"a_008.txt.zip");
    Files({L"a_009.txt"});
    EXPECT_EQ(Next(zipped), L"a_010.txt.zip");
}

TEST_F(SerialSearch, FoldersCountAsWellAsFiles) {
    MakeFolder(dir / L"a_004.txt");
    MakeFolder(dir / L"d_006");
    EXPECT_EQ(Next(SerialAfter(3)), L"a_005.txt");
    const auto folder = BuildDestinationName(SerialAfter(3), dir.path(), false, L"d", kNow);
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->Joined(), dir / L"d_007");
}

TEST_F(SerialSearch, NamesAreComparedWithoutCase) {
    Files({L"A_003.TXT"});
    EXPECT_EQ(Next(SerialAfter(3)), L"a_004.txt");
}

TEST_F(SerialSearch, GapsAreNotFilled) {
    Files({L"a_001.txt", L"a_005.txt"});
    EXPECT_EQ(Next(SerialAfter(3)), L"a_006.txt");
}

TEST_F(SerialSearch, OtherNamesDoNotCount) {
    Files({L"a_00x.txt", L"b_009.txt", L"a_009.txt.bak", L"xa_009.txt", L"a_009.doc", L"a_.txt", L"a_+09.txt"});
    EXPECT_EQ(Next(SerialAfter(3)), L"a_001.txt");
}

TEST_F(SerialSearch, LargestSerialCanBeUsedOnce) {
    Files({L"a_9223372036854775806.txt"});
    EXPECT_EQ(Next(SerialAfter(1)), L"a_9223372036854775807.txt");
}

TEST_F(SerialSearch, PresentMaximumMakesEveryFurtherCopyFail) {
    Files({L"a_9223372036854775807.txt"});
    EXPECT_FALSE(BuildDestinationName(SerialAfter(1), dir.path(), true, L"a.txt", kNow));
    EXPECT_FALSE(BuildDestinationName(SerialAfter(3), dir.path(), true, L"a.txt", kNow));
}

// Guards against a number too large for 64 bits wrapping round to a small serial.
TEST_F(SerialSearch, NumbersPastTheMaximumFailToo) {
    Files({L"a_18446744073709551617.txt"});
    EXPECT_FALSE(BuildDestinationName(SerialAfter(1), dir.path(), true, L"a.txt", kNow));
}

TEST_F(SerialSearch, FolderThatCannotBeListedFails) {
    EXPECT_FALSE(BuildDestinationName(SerialAfter(1), dir / L"missing\\", true, L"a.txt", kNow));
}

// Guards against a stored ZeroSuppress that no width can hold.
TEST_F(SerialSearch, ZeroSuppressOutsideOneToNineteenIsBroughtIntoRange) {
    EXPECT_EQ(Next(SerialAfter(0)), L"a_1.txt");
    EXPECT_EQ(Next(SerialAfter(-5)), L"a_1.txt");
    EXPECT_EQ(Next(SerialAfter(25)), L"a_0000000000000000001.txt");
    EXPECT_EQ(Next(SerialAfter(INT_MAX)), L"a_0000000000000000001.txt");
    Files({L"a_0000000000000000041.txt"});
    EXPECT_EQ(Next(SerialAfter(INT_MIN)), L"a_1.txt");
    EXPECT_EQ(Next(SerialAfter(40)), L"a_0000000000000000042.txt");
}

TEST_F(SerialSearch, DateAndSerialBeforeTheNameRestartsDaily) {
    Settings s;
    s.AddStringsBef = kAddDateSerial;
    s.PrefixBef2 = L"_";
    s.AddStringsAft = kAddNone;
    s.PrefixAft1 = L"";
    s.ZeroSuppress = 3;
    EXPECT_EQ(Next(s), L"20240115_001_a.txt");
    Files({L"20240114_007_a.txt"});
    EXPECT_EQ(Next(s), L"20240115_001_a.txt");
    Files({L"20240115_002_a.txt"});
    EXPECT_EQ(Next(s), L"20240115_003_a.txt");
}

TEST_F(SerialSearch, DateAndSerialAfterTheName) {
    Settings s;
    s.AddStringsAft = kAddDateSerial;
    Files({L"a_20240115_4.txt", L"a_20240114_9.txt"});
    EXPECT_EQ(Next(s), L"a_20240115_5.txt");
}

TEST_F(SerialSearch, SerialBeforeWithDateAfterRestartsDaily) {
    Settings s;
    s.AddStringsBef = kAddSerial;
    s.PrefixBef2 = L"_";
    s.AddStringsAft = kAddDate;
    s.ZeroSuppress = 3;
    Files({L"007_a_20240114.txt"});
    EXPECT_EQ(Next(s), L"001_a_20240115.txt");
    Files({L"002_a_20240115.txt", L"002_b_20240115.txt"});
    EXPECT_EQ(Next(s), L"003_a_20240115.txt");
}

// Regression: a date-and-serial before the name searched without the date
// after it, always found 1, and a second copy of the day failed as taken.
TEST_F(SerialSearch, DateAndSerialBeforeWithDateAfterCountsOnThatDay) {
    Settings s;
    s.AddStringsBef = kAddDateSerial;
    s.PrefixBef2 = L"_";
    s.AddStringsAft = kAddDate;
    Files({L"20240115_1_a_20240115.txt", L"20240115_2_a_20240115.txt.zip.txt"});
    EXPECT_EQ(Next(s), L"20240115_3_a_20240115.txt");
}

TEST_F(SerialSearch, DateBeforeWithSerialAfter) {
    Settings s;
    s.AddStringsBef = kAddDate;
    s.PrefixBef2 = L"_";
    s.AddStringsAft = kAddSerial;
    Files({L"20240115_a_3.txt", L"20240114_a_8.txt"});
    EXPECT_EQ(Next(s), L"20240115_a_4.txt");
}

TEST_F(SerialSearch, PrefixesAroundTheSerialBelongToTheName) {
    Settings s = SerialAfter(2);
    s.PrefixBef1 = L"Top ";
    s.PrefixAft2 = L" end";
    Files({L"top a_41 end.txt", L"a_50 end.txt", L"top a_60.txt"});
    EXPECT_EQ(Next(s), L"Top a_42 end.txt");
}

TEST_F(SerialSearch, FindNextSerialSplitsTheNameAtItsSlot) {
    Files({L"x5_a_.txt", L"x5_a_12.txt"});
    DestinationName name;
    name.folder = dir.path();
    name.folderAndPrefix = dir.path() + L"x";
    name.prefixBef2 = L"_";
    name.base = L"a";
    name.prefixAft1 = L"_";
    name.suffix = L".txt";
    EXPECT_EQ(FindNextSerial(SerialAfter(1), name, 0), 6u);
    name.before = L"5";
    EXPECT_EQ(FindNextSerial(SerialAfter(1), name, 1), 13u);
}
