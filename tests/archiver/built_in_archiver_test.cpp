#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archiver_api.h"
#include "handles.h"
#include "test_files.h"
#include "text.h"

namespace {

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(FindFirstFileW((folder + L"*").c_str(), &data));
    if (!find) return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find.get(), &data));
    return names;
}

struct Outcome {
    int code;
    std::string output;
};

Outcome RunArchiver(const std::wstring& archive, const std::wstring& source,
                    const std::atomic<bool>* cancel = nullptr) {
    const ArchiverApi& archiver = BuiltInArchiver();
    archiver.initialize(1);
    archiver.setCancelFlag(cancel);
    const std::string line = WideToUtf8(L"a -tzip -ssw -mmt=on -- \"" + archive + L"\" \"" + source + L"\"");
    char output[512] = "untouched";
    const int code = archiver.command(nullptr, line.c_str(), output, sizeof output);
    archiver.setCancelFlag(nullptr);
    return {code, output};
}

// A source folder with a few files, one of them several blocks long.
std::wstring MakeSource(const TempDir& dir) {
    const std::wstring source = dir / L"in\\";
    MakeFolder(source);
    MakeFolder(source + L"sub");
    WriteText(source + L"a.txt", "alpha");
    WriteBytes(source + L"sub\\big.bin", std::vector<std::uint8_t>(3 << 20, 'x'));
    return source;
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
