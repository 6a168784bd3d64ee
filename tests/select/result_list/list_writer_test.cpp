#include <gtest/gtest.h>

#include <functional>

#include "language.h"
#include "result_list/list_writer.h"
#include "result_list_support.h"
#include "test_files.h"

namespace {

// The example tree: Docs with a.txt, b.txt, an empty New and Old\c.txt.
void RecordDocs(ResultEntryTable& table) {
    RecordFile(table, L"b.txt", 120 * 1024, 2018, 10, 1, 8, 0);
    RecordFolder(table, L"Old");
    RecordFile(table, L"Old\\c.txt", 1024 * 1024, 2018, 10, 1, 9, 30);
    RecordFolder(table, L"New");
    RecordFile(table, L"a.txt", 300, 2018, 9, 30, 10, 15);
}

class ListWriter : public ::testing::Test {
protected:
    void SetUp() override { SetJapanese(false); }
    void TearDown() override { SetJapanese(false); }

    std::wstring Write(ResultEntryTable& table, const ListHeader& header, const std::wstring& destination) {
        WriteCopyResultList(list_, destination, table, header, shared_);
        return list_;
    }

    TempDir dir_;
    std::wstring list_ = dir_ / L"list.txt";
    SharedRunState shared_;
};

// The conditions of the Japanese example: names and a date seven days back,
// empty folders left out, a Zip archive.
void JapaneseExampleSettings(Settings& settings, SelectionConditions& conditions) {
    settings.Select = 1;
    settings.SelectMode = 0;
    settings.TargetFile = L"  *.txt : *.doc ";
    conditions.lists[kTargetList].patterns = {L"*.txt", L"*.doc"};
    settings.ExNoTargetFile = L" : ";
    settings.UpdateDateType = 2;
    settings.UpdateDateVal = 7;
    conditions.bounds.start = 20180925;
    conditions.bounds.startText = L"2018/9/25";
    conditions.bounds.todayText = L"2018/10/2";
    settings.EmptyDirNoCopy = 1;
    settings.DirTree = 1;
    settings.CompressMode = 1;
}

struct HeaderCase {
    const wchar_t* name;
    std::function<void(Settings&, SelectionConditions&)> setup;
};

void DateCase(Settings& s, SelectionConditions& c, int type, int count, const wchar_t* start) {
    s.Select = 1;
    s.SelectMode = 7;
    s.UpdateDateType = type;
    s.UpdateDateVal = count;
    c.bounds.todayText = L"2024/3/31";
    c.bounds.startText = start;
}

void RangeCase(Settings& s, SelectionConditions& c, bool start, bool end) {
    DateCase(s, c, 1, 0, L"");
    if (start) {
        c.bounds.rangeStart = 20240110;
        c.bounds.rangeStartText = L"2024/1/10";
    }
    if (end) {
        c.bounds.rangeEnd = 20240120;
        c.bounds.rangeEndText = L"2024/1/20";
    }
}

const std::vector<HeaderCase>& HeaderCases() {
    static const std::vector<HeaderCase> cases = {
        {L"select_mode_0",
         [](Settings& s, SelectionConditions& c) {
             s.SelectMode = 0;
             s.TargetFile = L"  *.txt:*.csv  ";
             c.lists[kTargetList].patterns = {L"*.txt", L"*.csv"};
             s.ExNoTargetFile = L" tmp* ";
             c.lists[kExNoTargetList].patterns = {L"tmp*"};
         }},
        {L"select_mode_1",
         [](Settings& s, SelectionConditions& c) {
             s.SelectMode = 1;
             s.NoTargetFile = L"*.bak";
             c.lists[kNoTargetList].patterns = {L"*.bak"};
             s.ExTargetFile = L" : ";  // holds no pattern: an empty line
         }},
        {L"select_mode_2", [](Settings& s, SelectionConditions&) { s.SelectMode = 2; }},
        {L"select_mode_5", [](Settings& s, SelectionConditions&) { s.SelectMode = 5; }},
        {L"range", [](Settings& s, SelectionConditions& c) { RangeCase(s, c, true, true); }},
        {L"range_start", [](Settings& s, SelectionConditions& c) { RangeCase(s, c, true, false); }},
        {L"range_end", [](Settings& s, SelectionConditions& c) { RangeCase(s, c, false, true); }},
        {L"range_open", [](Settings& s, SelectionConditions& c) { RangeCase(s, c, false, false); }},
        {L"days_0", [](Settings& s, SelectionConditions& c) { DateCase(s, c, 2, 0, L"2024/3/31"); }},
        {L"days_1", [](Settings& s, SelectionConditions& c) { DateCase(s, c, 2, 1, L"2024/3/30"); }},
        {L"days_10", [](Settings& s, SelectionConditions& c) { DateCase(s, c, 2, 10, L"2024/3/21"); }},
        {L"months_1", [](Settings& s, SelectionConditions& c) { DateCase(s, c, 3, 1, L"2024/2/29"); }},
        {L"months_14", [](Settings& s, SelectionConditions& c) { DateCase(s, c, 3, 14, L"2023/1/31"); }},
        {L"years_1", [](Settings& s, SelectionConditions& c) { DateCase(s, c, 4, 1, L"2023/3/31"); }},
        {L"years_3", [](Settings& s, SelectionConditions& c) { DateCase(s, c, 4, 3, L"2021/3/31"); }},
        {L"date_type_7", [](Settings& s, SelectionConditions& c) { DateCase(s, c, 7, 3, L""); }},
        {L"empty_dir_select_1",
         [](Settings& s, SelectionConditions&) {
             s.SelectMode = 7;
             s.EmptyDirNoCopy = 1;
         }},
        {L"empty_dir_select_0",
         [](Settings& s, SelectionConditions&) {
             s.Select = 0;
             s.EmptyDirNoCopy = 1;
         }},
        {L"zip",
         [](Settings& s, SelectionConditions&) {
             s.SelectMode = 7;
             s.CompressMode = 1;
         }},
        {L"zip_list_only",
         [](Settings& s, SelectionConditions&) {
             s.SelectMode = 7;
             s.CompressMode = 1;
             s.DirTree = 2;
         }},
        {L"zip_select_0",
         [](Settings& s, SelectionConditions&) {
             s.Select = 0;
             s.CompressMode = 1;
         }},
        {L"select_0_hides_conditions",
         [](Settings& s, SelectionConditions& c) {
             DateCase(s, c, 2, 1, L"2024/3/30");
             s.SelectMode = 2;
             s.Select = 0;
         }},
    };
    return cases;
}

// Every head variant, each as its own list without entries, gathered in one
// file under one byte-order mark.
void WriteHeaderVariants(const std::wstring& list) {
    const std::wstring part = list + L".part";
    std::vector<std::uint8_t> all;
    for (const HeaderCase& variant : HeaderCases()) {
        Settings settings;
        settings.Select = 1;
        settings.DirTree = 1;
        SelectionConditions conditions;
        variant.setup(settings, conditions);
        ResultEntryTable table;
        SharedRunState shared;
        WriteCopyResultList(part, std::wstring(L"C:\\v\\") + variant.name, table, MakeListHeader(settings, conditions),
                            shared);
        const std::vector<std::uint8_t> bytes = ReadBytes(part);
        all.insert(all.end(), bytes.begin() + (all.empty() ? 0 : 2), bytes.end());
    }
    WriteBytes(list, all);
}

}  // namespace

TEST_F(ListWriter, ReproducesTheExampleTreeInEnglish) {
    ResultEntryTable table;
    RecordDocs(table);
    Write(table, PlainHeader(), L"D:\\Backup\\Docs_20181002_123456\\");
    ExpectListMatchesGolden(list_, "example_en.txt");
    EXPECT_FALSE(shared_.listFailed);
    EXPECT_TRUE(shared_.listWriting);
}

TEST_F(ListWriter, ReproducesTheExampleTreeWithAJapaneseHead) {
    SetJapanese(true);
    Settings settings;
    SelectionConditions conditions;
    JapaneseExampleSettings(settings, conditions);
    ResultEntryTable table;
    RecordDocs(table);
    Write(table, MakeListHeader(settings, conditions), L"D:\\Backup\\Docs_20181002_123456.zip");
    ExpectListMatchesGolden(list_, "example_ja.txt");
}

TEST_F(ListWriter, DrawsBarsBelowFoldersThatHaveMoreAfterThemAndBlanksBelowLastOnes) {
    ResultEntryTable table;
    RecordFolder(table, L"zeta");
    RecordFolder(table, L"zeta\\inner");
    RecordFolder(table, L"zeta\\inner\\deep");
    RecordFile(table, L"zeta\\inner\\deep\\leaf.txt", 6ull * 1024 * 1024 * 1024);
    RecordFolder(table, L"src");
    RecordFile(table, L"src\\main.cpp", 1);
    RecordFolder(table, L"src\\lib");
    RecordFile(table, L"src\\lib\\util.h", 10240000);
    RecordFile(table, L"src\\lib\\util.cpp", 1024);
    RecordFolder(table, L"src\\test");
    RecordFolder(table, L"src\\test\\a");
    RecordFolder(table, L"docs");
    RecordFile(table, L"docs\\guide.txt", 0, 2023, 12, 31, 23, 59);
    RecordFolder(table, L"docs\\img");
    RecordFile(table, L"docs\\img\\logo.png", 1025);
    RecordFile(table, L"readme.md", 2048, 2024, 1, 5, 9, 7);
    Write(table, PlainHeader(), L"C:\\Data\\Proj_copy\\");
    ExpectListMatchesGolden(list_, "deep_tree.txt");
}

TEST_F(ListWriter, TreatsFolderNamesThatDifferOnlyInCaseAsOneFolder) {
    // Names such as these meet in a folder with case-sensitive names; the
    // list keeps the file system's usual view: one folder.
    ResultEntryTable table;
    RecordFolder(table, L"other");
    RecordFile(table, L"Data\\y.txt", 10);
    RecordFolder(table, L"Data");
    RecordFile(table, L"data\\x.txt", 10);
    RecordFolder(table, L"data");
    Write(table, PlainHeader(), L"C:\\Mixed\\");
    ExpectListMatchesGolden(list_, "case_folders.txt");
}

TEST_F(ListWriter, AlignsColumnsAfterJapaneseAndHalfWidthNames) {
    ResultEntryTable table;
    RecordFolder(table, L"資料");
    RecordFolder(table, L"資料\\２０２４");
    RecordFile(table, L"資料\\２０２４\\報告書（最終）.docx", 12345, 2024, 1, 5, 10, 0);
    RecordFile(table, L"資料\\会議メモ.txt", 2048, 2024, 1, 5, 10, 0);
    RecordFolder(table, L"写真");
    RecordFile(table, L"写真\\海.jpg", 3000000, 2024, 1, 5, 10, 0);
    RecordFile(table, L"ﾃｽﾄ.txt", 500, 2024, 1, 5, 10, 0);
    RecordFile(table, L"readme.txt", 100, 2024, 1, 5, 10, 0);
    Write(table, PlainHeader(), L"E:\\バックアップ\\資料集_20240105\\");
    ExpectListMatchesGolden(list_, "japanese_names.txt");
}

TEST_F(ListWriter, WritesEveryHeadVariantInEnglish) {
    WriteHeaderVariants(list_);
    ExpectListMatchesGolden(list_, "headers_en.txt");
}

TEST_F(ListWriter, WritesEveryHeadVariantInJapanese) {
    SetJapanese(true);
    WriteHeaderVariants(list_);
    ExpectListMatchesGolden(list_, "headers_ja.txt");
}

TEST_F(ListWriter, ListOnlyModeShowsTheSourceAsRootAndNoCompressionNote) {
    Settings settings;
    settings.Select = 1;
    settings.SelectMode = 2;
    settings.DirTree = 2;
    settings.CompressMode = 1;
    ResultEntryTable table;
    RecordFile(table, L"a.jpg", 2048);
    Write(table, MakeListHeader(settings, {}), L"C:\\Source\\Photos\\");
    ExpectListMatchesGolden(list_, "list_only.txt");
}

// Regression: a second list of the same name was appended to the first.
TEST_F(ListWriter, ReplacesAnExistingListWhole) {
    ResultEntryTable first;
    RecordFile(first, L"one.txt", 1000);
    Write(first, PlainHeader(), L"C:\\Out\\first");
    ResultEntryTable second;
    Write(second, PlainHeader(), L"C:\\Out\\second\\");
    const std::wstring alone = dir_ / L"alone.txt";
    WriteCopyResultList(alone, L"C:\\Out\\second\\", second, PlainHeader(), shared_);
    EXPECT_EQ(ReadBytes(list_), ReadBytes(alone));
    EXPECT_FALSE(shared_.listFailed);
    // Nothing but the two lists is left in the folder.
    WIN32_FIND_DATAW data;
    int files = 0;
    HANDLE find = ::FindFirstFileW((dir_ / L"*.*").c_str(), &data);
    do files += (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
    while (::FindNextFileW(find, &data));
    ::FindClose(find);
    EXPECT_EQ(files, 2);
}

TEST_F(ListWriter, CancelBeforeWritingEndsTheListWithTheAbortLine) {
    Settings settings;
    settings.Select = 1;
    settings.SelectMode = 2;
    ResultEntryTable table;
    RecordDocs(table);
    shared_.listAbortRequested = true;
    Write(table, MakeListHeader(settings, {}), L"D:\\Backup\\Docs\\");
    ExpectListMatchesGolden(list_, "cancel_before.txt");
    EXPECT_TRUE(shared_.listFailed);
}

TEST_F(ListWriter, ListThatCannotBeOpenedIsReportedAsFailed) {
    // Regression: a list that was never written must not count as made.
    ResultEntryTable table;
    RecordDocs(table);
    const std::wstring list = dir_ / L"missing\\list.txt";
    WriteCopyResultList(list, L"D:\\Backup\\Docs\\", table, PlainHeader(), shared_);
    EXPECT_FALSE(Exists(list));
    EXPECT_TRUE(shared_.listFailed);
    EXPECT_TRUE(shared_.listWriting);
}

TEST_F(ListWriter, AnEmptyExistingFileGetsTheByteOrderMark) {
    WriteBytes(list_, {});
    ResultEntryTable table;
    Write(table, PlainHeader(), L"C:\\Out\\second\\");
    EXPECT_EQ(ReadBytes(list_), Utf16Bytes(L"C:\\Out\\second\r\nCopy result list is no data.\r\n", true));
}
