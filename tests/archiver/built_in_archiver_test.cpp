#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "archive_trees.h"
#include "archiver_api.h"
#include "handles.h"
#include "test_files.h"
#include "text.h"

namespace {

struct Outcome {
    int code;
    std::string output;
};

Outcome RunArchiver(const std::wstring& archive, const std::wstring& source, const std::atomic<bool>* cancel = nullptr,
                    std::wstring_view threads = L"-mmt=on") {
    const ArchiverApi& archiver = BuiltInArchiver();
    archiver.initialize(1);
    archiver.setCancelFlag(cancel);
    const std::string line =
        WideToUtf8(L"a -tzip -ssw " + std::wstring(threads) + L" -- \"" + archive + L"\" \"" + source + L"\"");
    char output[512] = "untouched";
    const int code = archiver.command(nullptr, line.c_str(), output, sizeof output);
    archiver.setCancelFlag(nullptr);
    return {code, output};
}

}  // namespace

TEST(BuiltInArchiver, WritesTheArchiveAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::wstring source = MakeSource(dir);
    const Outcome outcome = RunArchiver(dir / L"out.zip", source);
    EXPECT_EQ(outcome.code, kArchiverOk);
    EXPECT_EQ(outcome.output, "");
    const auto bytes = ReadBytes(dir / L"out.zip");
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 'P');
    EXPECT_EQ(bytes[1], 'K');
    EXPECT_LT(bytes.size(), 3u << 16);  // compressed, not stored
    EXPECT_EQ(NamesIn(dir.path()), (std::vector<std::wstring>{L"in", L"out.zip"}));
}

TEST(BuiltInArchiver, CancelReturnsStoppedAndLeavesNoArchive) {
    TempDir dir;
    const std::wstring source = MakeSource(dir);
    std::atomic<bool> cancel{true};
    const Outcome outcome = RunArchiver(dir / L"out.zip", source, &cancel);
    EXPECT_EQ(outcome.code, kArchiverStopped);
    EXPECT_EQ(NamesIn(dir.path()), (std::vector<std::wstring>{L"in"}));
}

TEST(BuiltInArchiver, ArchivesAreTheSameWithOneThreadAndWithSeveralReaders) {
    TempDir dir;
    const std::wstring source = MakeMixedSource(dir);
    // Reading a new file sets its access time, which the archive records:
    // the first run only reads, so the compared runs see the same times.
    ASSERT_EQ(RunArchiver(dir / L"one.zip", source, nullptr, L"-mmt=1").code, kArchiverOk);
    ASSERT_EQ(RunArchiver(dir / L"one.zip", source, nullptr, L"-mmt=1").code, kArchiverOk);
    const auto single = ReadBytes(dir / L"one.zip");
    for (const wchar_t* threads : {L"-mmt=2", L"-mmt=3", L"-mmt=8", L"-mmt=on"}) {
        SCOPED_TRACE(threads);
        ASSERT_EQ(RunArchiver(dir / L"many.zip", source, nullptr, threads).code, kArchiverOk);
        EXPECT_TRUE(ReadBytes(dir / L"many.zip") == single);
    }
}

TEST(BuiltInArchiver, AnUnreadableFileIsReportedFirstInArchiveOrderWithAnyThreadCount) {
    TempDir dir;
    const std::wstring source = MakeMixedSource(dir);
    // Held open without sharing: the archiver cannot open them.
    const std::wstring first = source + L"f1\\13.txt";
    const std::wstring later = source + L"f3\\2.txt";
    UniqueKernelHandle lockFirst(CreateFileW(first.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    UniqueKernelHandle lockLater(CreateFileW(later.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lockFirst && lockLater);
    for (const wchar_t* threads : {L"-mmt=1", L"-mmt=2", L"-mmt=8"}) {
        SCOPED_TRACE(threads);
        const Outcome outcome = RunArchiver(dir / L"out.zip", source, nullptr, threads);
        EXPECT_EQ(outcome.code, kArchiverCannotRead);
        EXPECT_EQ(outcome.output, "Cannot read: " + WideToUtf8(first));
        EXPECT_EQ(NamesIn(dir.path()), (std::vector<std::wstring>{L"mixed"}));
    }
}

TEST(BuiltInArchiver, AFailedRunKeepsAnEarlierFileOfTheArchiveName) {
    TempDir dir;
    const std::wstring source = MakeSource(dir);
    WriteText(dir / L"out.zip", "earlier");
    std::atomic<bool> cancel{true};
    EXPECT_EQ(RunArchiver(dir / L"out.zip", source, &cancel).code, kArchiverStopped);
    EXPECT_EQ(RunArchiver(dir / L"out.zip", dir / L"missing\\").code, kArchiverCannotRead);
    const auto bytes = ReadBytes(dir / L"out.zip");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "earlier");
    EXPECT_EQ(NamesIn(dir.path()).size(), 2u);
}

TEST(BuiltInArchiver, ReportsMissingSourcesUnwritableArchivesAndBadLines) {
    TempDir dir;
    const std::wstring source = MakeSource(dir);
    Outcome outcome = RunArchiver(dir / L"out.zip", dir / L"missing\\");
    EXPECT_EQ(outcome.code, kArchiverCannotRead);
    EXPECT_EQ(outcome.output, "Cannot read: " + WideToUtf8(dir / L"missing\\"));
    EXPECT_EQ(RunArchiver(dir / L"no folder\\out.zip", source).code, kArchiverCannotWrite);
    EXPECT_EQ(RunArchiver(dir / L"out.zip", dir / L"in\\*.txt").code, kArchiverCannotRead);

    const ArchiverApi& archiver = BuiltInArchiver();
    char output[8];
    EXPECT_EQ(archiver.command(nullptr, "a -tzip -bad -- x.zip y", output, sizeof output), kArchiverBadCommand);
    EXPECT_EQ(std::string(output), "Malform");  // cut to the buffer, terminated
    EXPECT_EQ(archiver.command(nullptr, nullptr, nullptr, 0), kArchiverBadCommand);
    EXPECT_EQ(archiver.command(nullptr, "a -- \"unclosed", nullptr, 0), kArchiverBadCommand);
    EXPECT_EQ(NamesIn(dir.path()), (std::vector<std::wstring>{L"in"}));
}

TEST(BuiltInArchiver, ReplacesAnExistingArchive) {
    TempDir dir;
    const std::wstring source = MakeSource(dir);
    WriteText(dir / L"out.zip", "earlier");
    EXPECT_EQ(RunArchiver(dir / L"out.zip", source).code, kArchiverOk);
    const auto bytes = ReadBytes(dir / L"out.zip");
    ASSERT_GT(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 'P');
}
