#include <gtest/gtest.h>

#include "paths.h"
#include "test_files.h"
#include "windows_rules_files.h"

namespace {

DWORD CALLBACK CountOrCancel(LARGE_INTEGER, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD,
                             HANDLE, HANDLE, LPVOID context) {
    const auto cancelAfter = *static_cast<const LONGLONG*>(context);
    return transferred.QuadPart >= cancelAfter ? PROGRESS_CANCEL : PROGRESS_CONTINUE;
}

}  // namespace

// The stand-in for Windows must refuse what Windows refuses, or the tests
// that run over it prove nothing.
TEST(WindowsRulesFiles, CopyRefusesHiddenAndReadOnlyDestinationsAndKeepsTheSourcesAttributes) {
    TempDir dir;
    WindowsRulesFiles files;
    WriteText(dir / L"src.txt", "new");
    ::SetFileAttributesW((dir / L"src.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    for (const DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_READONLY}) {
        WriteText(dir / L"old.txt", "old");
        ::SetFileAttributesW((dir / L"old.txt").c_str(), attribute);
        EXPECT_EQ(files.Copy(dir / L"src.txt", dir / L"old.txt", nullptr, nullptr, 0), DWORD{ERROR_ACCESS_DENIED});
        EXPECT_EQ(ReadBytes(dir / L"old.txt"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
        ::SetFileAttributesW((dir / L"old.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW((dir / L"old.txt").c_str());
    }
    ASSERT_EQ(files.Copy(dir / L"src.txt", dir / L"copy.txt", nullptr, nullptr, 0), 0u);
    EXPECT_TRUE(::GetFileAttributesW((dir / L"copy.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(files.RemoveFile(dir / L"copy.txt"), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(files.Copy(dir / L"src.txt", dir / L"copy.txt", nullptr, nullptr, COPY_FILE_FAIL_IF_EXISTS),
              DWORD{ERROR_FILE_EXISTS});
    for (const wchar_t* name : {L"src.txt", L"copy.txt"})
        ::SetFileAttributesW((dir / name).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsRulesFiles, ProgressRunsPerChunkAndCancelDeletesTheDestination) {
    TempDir dir;
    WindowsRulesFiles files;
    WriteBytes(dir / L"big.bin", std::vector<std::uint8_t>(5 * WindowsRulesFiles::kProgressChunk / 2, 7));
    WriteText(dir / L"theirs.bin", "someone's file");
    LONGLONG never = 1LL << 60;
    ASSERT_EQ(files.Copy(dir / L"big.bin", dir / L"copy.bin", CountOrCancel, &never, 0), 0u);
    EXPECT_EQ(files.progressCalls.load(), 4);  // the stream, then three chunks
    LONGLONG half = static_cast<LONGLONG>(WindowsRulesFiles::kProgressChunk);
    EXPECT_EQ(files.Copy(dir / L"big.bin", dir / L"theirs.bin", CountOrCancel, &half, 0), DWORD{ERROR_REQUEST_ABORTED});
    EXPECT_FALSE(Exists(dir / L"theirs.bin"));
}

TEST(WindowsRulesFiles, PlainPathsStopAtTheOldLimit) {
    TempDir dir;
    WindowsRulesFiles files;
    std::wstring folder = StripTrailingBackslash(dir.path());
    folder += L"\\" + std::wstring(247 - folder.size() - 1, L'f');
    ASSERT_EQ(folder.size(), 247u);
    EXPECT_EQ(files.MakeFolder(folder), 0u);
    EXPECT_EQ(files.MakeFolder(folder + L"g"), DWORD{ERROR_FILENAME_EXCED_RANGE});
    const std::wstring file259 = folder + L"\\" + std::wstring(259 - folder.size() - 1, L'x');
    const std::wstring file260 = file259 + L"y";
    DWORD error = 0;
    EXPECT_TRUE(files.Open(file259, GENERIC_WRITE, 0, CREATE_NEW, 0, error).valid());
    EXPECT_FALSE(files.Open(file260, GENERIC_WRITE, 0, CREATE_NEW, 0, error).valid());
    EXPECT_EQ(error, DWORD{ERROR_PATH_NOT_FOUND});
    EXPECT_TRUE(files.Open(ExtendedLengthPath(file260), GENERIC_WRITE, 0, CREATE_NEW, 0, error).valid());
}

TEST(WindowsRulesFiles, CompatibilityJunctionsRefuseListingAndReportTheirTag) {
    TempDir dir;
    WindowsRulesFiles files;
    MakeFolder(dir / L"profile\\My Music");
    files.MarkReparsePoint(dir / L"profile\\My Music", IO_REPARSE_TAG_MOUNT_POINT,
                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true);
    WIN32_FIND_DATAW seen{};
    ASSERT_EQ(files.List(dir / L"profile",
                         [&seen](const WIN32_FIND_DATAW& data) {
                             seen = data;
                             return true;
                         }),
              0u);
    EXPECT_EQ(seen.dwReserved0, DWORD{IO_REPARSE_TAG_MOUNT_POINT});
    EXPECT_EQ(seen.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT, DWORD{FILE_ATTRIBUTE_REPARSE_POINT});
    EXPECT_EQ(files.List(dir / L"profile\\My Music", [](const WIN32_FIND_DATAW&) { return true; }),
              DWORD{ERROR_ACCESS_DENIED});
}

TEST(WindowsRulesFiles, CreateAlwaysRefusesHiddenFilesAndWritesRefuseReadOnlyOnes) {
    TempDir dir;
    WindowsRulesFiles files;
    WriteText(dir / L"h.txt", "h");
    ::SetFileAttributesW((dir / L"h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteText(dir / L"r.txt", "r");
    ::SetFileAttributesW((dir / L"r.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    DWORD error = 0;
    EXPECT_FALSE(files.Open(dir / L"h.txt", GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, error).valid());
    EXPECT_EQ(error, DWORD{ERROR_ACCESS_DENIED});
    EXPECT_FALSE(files.Open(dir / L"r.txt", GENERIC_WRITE, 0, OPEN_EXISTING, 0, error).valid());
    EXPECT_TRUE(files.Open(dir / L"r.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0, error).valid());
    EXPECT_EQ(files.MoveReplacing(dir / L"h.txt", dir / L"r.txt"), DWORD{ERROR_ACCESS_DENIED});
    ::SetFileAttributesW((dir / L"r.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesW((dir / L"h.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}
