#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language.h"
#include "result_list/list_render.h"
#include "result_list_support.h"

namespace {

struct Rendered {
    std::vector<std::wstring> lines;
    std::vector<std::wstring> progressAtLine;  // the progress text when each line came out
    bool complete = false;
};

Rendered Render(ResultEntryTable& table, SharedRunState& shared, std::size_t abortAfterLines = 0) {
    Rendered out;
    out.complete = RenderResultList(table, PlainHeader(), L"C:\\Backup\\Docs_1\\", shared, [&](std::wstring_view line) {
        out.lines.emplace_back(line);
        out.progressAtLine.push_back(shared.statusProgressText.Get());
        if (out.lines.size() == abortAfterLines) {
            shared.listAbortRequested = true;
            shared.listFailed = true;
        }
    });
    return out;
}

// A line without its date and size column.
std::wstring TreePart(const std::wstring& line) {
    std::wstring tree = line.substr(0, line.find(L"2018/"));
    tree.erase(tree.find_last_not_of(L' ') + 1);
    return tree;
}

void RecordFiveFiles(ResultEntryTable& table) {
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"e.txt"}) RecordFile(table, name, 1);
}

}  // namespace

TEST(RenderResultList, ReportsAnalysisThenWritingProgress) {
    SetJapanese(false);
    ResultEntryTable table;
    RecordFiveFiles(table);
    SharedRunState shared;
    const Rendered out = Render(table, shared);
    ASSERT_TRUE(out.complete);
    ASSERT_EQ(out.lines.size(), 7u);  // root, five files, the line after the last file
    EXPECT_EQ(out.progressAtLine[0], L"");
    EXPECT_EQ(out.progressAtLine[1], L"Analyzing a Copy result list ... 100%");
    EXPECT_EQ(out.progressAtLine[2], L"Writing a Copy result list ... 0%");
    EXPECT_EQ(out.progressAtLine[3], L"Writing a Copy result list ... 20%");
    EXPECT_EQ(out.progressAtLine[5], L"Writing a Copy result list ... 60%");
    EXPECT_EQ(shared.statusProgressText.Get(), L"Writing a Copy result list ... 100%");
    EXPECT_EQ(shared.statusItemText.Get(), L"Docs_1");
}

TEST(RenderResultList, CancelWhileWritingEndsWithTheAbortLine) {
    ResultEntryTable table;
    RecordFiveFiles(table);
    SharedRunState shared;
    const Rendered out = Render(table, shared, 3);
    EXPECT_FALSE(out.complete);
    ASSERT_EQ(out.lines.size(), 4u);
    EXPECT_EQ(out.lines[0], L"C:\\Backup\\Docs_1");
    EXPECT_EQ(out.lines[2].substr(0, 9), L"    b.txt");
    EXPECT_EQ(out.lines[3], L"Creation was aborted!");
}

TEST(RenderResultList, NoEntriesGiveTheNoDataLine) {
    ResultEntryTable table;
    SharedRunState shared;
    const Rendered out = Render(table, shared);
    EXPECT_TRUE(out.complete);
    EXPECT_EQ(out.lines, (std::vector<std::wstring>{L"C:\\Backup\\Docs_1", L"Copy result list is no data."}));
    EXPECT_EQ(shared.statusItemText.Get(), L"Copy result list is no data.");
}

TEST(RenderResultList, FilesOfALastFolderCarryBlanksAndOthersBars) {
    ResultEntryTable table;
    RecordFolder(table, L"A");
    RecordFile(table, L"A\\x.txt", 1);
    RecordFolder(table, L"A\\Sub");
    RecordFile(table, L"A\\Sub\\y.txt", 1);
    RecordFolder(table, L"B");
    RecordFile(table, L"B\\z.txt", 1);
    SharedRunState shared;
    const Rendered out = Render(table, shared);
    std::vector<std::wstring> trees;
    for (const std::wstring& line : out.lines) trees.push_back(TreePart(line));
    EXPECT_EQ(trees, (std::vector<std::wstring>{L"C:\\Backup\\Docs_1", L"├─A", L"│  │  x.txt", L"│  │", L"│  └─Sub",
                                                L"│          y.txt", L"│", L"└─B", L"        z.txt", L""}));
}

TEST(RenderResultList, ShowsTheExactKilobytesOfAFileOfSeveralGigabytes) {
    ResultEntryTable table;
    RecordFile(table, L"disk.vhdx", 40ull * 1024 * 1024 * 1024 + 1);
    SharedRunState shared;
    const Rendered out = Render(table, shared);
    ASSERT_EQ(out.lines.size(), 3u);
    EXPECT_EQ(out.lines[1], L"    disk.vhdx        2018/10/01 08:00  41,943,041 KB");
}
