#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "message_capture.h"
#include "test_files.h"
#include "run/zip_delivery.h"

namespace {

// A stand-in archiver: answers with queued codes and records what it was given.
struct FakeArchiver {
    static inline int initializeCalls = 0;
    static inline int initializeMode = 0;
    static inline std::vector<std::string> commands;
    static inline std::deque<int> answers;
    static inline const std::atomic<bool>* cancelFlag = nullptr;
    static inline const std::atomic<bool>* cancelFlagDuringCommand = nullptr;
    // Set on the given call (1-based), as Cancel pressed meanwhile would.
    static inline std::atomic<bool>* cancelOnCall = nullptr;
    static inline std::size_t cancelCall = 0;

    static void Reset() {
        initializeCalls = 0;
        commands.clear();
        answers.clear();
        cancelFlag = cancelFlagDuringCommand = nullptr;
        cancelOnCall = nullptr;
        cancelCall = 0;
    }
    static int Initialize(int mode) {
        ++initializeCalls;
        initializeMode = mode;
        return 1;
    }
    static int Command(HWND, const char* line, char*, DWORD) {
        EXPECT_GT(initializeCalls, 0);  // initialised before the first command
        commands.emplace_back(line);
        cancelFlagDuringCommand = cancelFlag;
        if (cancelOnCall && commands.size() == cancelCall) *cancelOnCall = true;
        if (answers.empty()) return kArchiverOk;
        const int code = answers.front();
        if (answers.size() > 1) answers.pop_front();
        return code;
    }
    static void SetCancelFlag(const std::atomic<bool>* flag) { cancelFlag = flag; }
};

constexpr ArchiverApi kFake{FakeArchiver::Initialize, FakeArchiver::Command, FakeArchiver::SetCancelFlag};

std::vector<DWORD> g_pauses;
void RecordPause(DWORD milliseconds) {
    g_pauses.push_back(milliseconds);
}

WIN32_FIND_DATAW FileOfSize(std::uint64_t size) {
    WIN32_FIND_DATAW data{};
    data.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size);
    return data;
}

WIN32_FIND_DATAW Folder() {
    WIN32_FIND_DATAW data{};
    data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN;
    return data;
}

class CompressToZipTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeArchiver::Reset();
        g_pauses.clear();
        archive = dir / L"out.zip";
        WriteText(archive, "partial");
    }
    int Compress(std::wstring_view source, const WIN32_FIND_DATAW& data) {
        return CompressToZip(source, archive, data, kFake, &cancel, RecordPause);
    }

    TempDir dir;
    std::wstring archive;
    std::atomic<bool> cancel{false};
    MessageCapture messages;
    std::vector<MessageRequest>& shown = messages.boxes;
};

}  // namespace

TEST_F(CompressToZipTest, HideSwitchOnlyForFilesBelowTenMebibytes) {
    ASSERT_EQ(Compress(L"C:\\in\\a.bin", FileOfSize(10'485'759)), 0);
    ASSERT_EQ(Compress(L"C:\\in\\a.bin", FileOfSize(10'485'760)), 0);
    ASSERT_EQ(Compress(L"C:\\in\\work\\", Folder()), 0);
    // Guards against reading only the low 32 bits of the size.
    ASSERT_EQ(Compress(L"C:\\in\\a.bin", FileOfSize((1ull << 32) + 5)), 0);
    const std::string target = "\"" + std::string(archive.begin(), archive.end()) + "\"";
    ASSERT_EQ(FakeArchiver::commands.size(), 4u);
    EXPECT_EQ(FakeArchiver::initializeCalls, 4);
    EXPECT_EQ(FakeArchiver::commands[0], "a -tzip -ssw -mmt=on -hide -- " + target + " \"C:\\in\\a.bin\"");
    EXPECT_EQ(FakeArchiver::commands[1], "a -tzip -ssw -mmt=on -- " + target + " \"C:\\in\\a.bin\"");
    EXPECT_EQ(FakeArchiver::commands[2], "a -tzip -ssw -mmt=on -- " + target + " \"C:\\in\\work\\\"");
    EXPECT_EQ(FakeArchiver::commands[3], "a -tzip -ssw -mmt=on -- " + target + " \"C:\\in\\a.bin\"");
    EXPECT_TRUE(shown.empty());
}

TEST_F(CompressToZipTest, InitialisesOnceHandsOverTheCancelFlagAndRetriesWhileBusy) {
    FakeArchiver::answers = {kArchiverBusy, kArchiverBusy, kArchiverOk};
    EXPECT_EQ(Compress(L"C:\\in\\work\\", Folder()), 0);
    EXPECT_EQ(FakeArchiver::initializeCalls, 1);
    EXPECT_EQ(FakeArchiver::initializeMode, 1);
    EXPECT_EQ(FakeArchiver::commands.size(), 3u);
    EXPECT_EQ(g_pauses, (std::vector<DWORD>{500, 500}));
    EXPECT_EQ(FakeArchiver::cancelFlagDuringCommand, &cancel);
    EXPECT_EQ(FakeArchiver::cancelFlag, nullptr);  // not left pointing at the run's flag
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(Exists(archive));
}

TEST_F(CompressToZipTest, BusyForEveryOneOf601CallsIsAFailure) {
    FakeArchiver::answers = {kArchiverBusy};
    EXPECT_EQ(Compress(L"C:\\in\\work\\", Folder()), -1);
    EXPECT_EQ(FakeArchiver::commands.size(), 601u);
    EXPECT_EQ(g_pauses.size(), 600u);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"Could not be converted to ZIP format.\n7-zip ErrorCD:0x0000801f\n\nC:\\in\\work\\");
    EXPECT_FALSE(Exists(archive));
}

TEST_F(CompressToZipTest, StoppedIsSilentAndDeletesNothing) {
    FakeArchiver::answers = {kArchiverStopped};
    EXPECT_EQ(Compress(L"C:\\in\\work\\", Folder()), -1);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(Exists(archive));
}

TEST_F(CompressToZipTest, CancelWhileTheArchiverIsBusyStopsWaiting) {
    FakeArchiver::answers = {kArchiverBusy};
    FakeArchiver::cancelOnCall = &cancel;
    FakeArchiver::cancelCall = 2;
    EXPECT_EQ(Compress(L"C:\\in\\work\\", Folder()), -1);
    EXPECT_EQ(FakeArchiver::commands.size(), 2u);
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(Exists(archive));
}

TEST_F(CompressToZipTest, OtherCodesDeleteTheArchiveAndShowTheCodeInBothLanguages) {
    FakeArchiver::answers = {kArchiverCannotRead};
    EXPECT_EQ(Compress(L"C:\\in\\a.bin", FileOfSize(1)), -1);
    EXPECT_FALSE(Exists(archive));
    SetJapanese(true);
    FakeArchiver::answers = {0x12345678};
    EXPECT_EQ(Compress(L"C:\\in\\a.bin", FileOfSize(1)), -1);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, L"Could not be converted to ZIP format.\n7-zip ErrorCD:0x00008002\n\nC:\\in\\a.bin");
    EXPECT_EQ(shown[1].text, L"ZIP形式に圧縮できませんでした。\n7-zip ErrorCD:0x12345678\n\nC:\\in\\a.bin");
    EXPECT_EQ(shown[0].owner, nullptr);
    EXPECT_TRUE(shown[0].style & MB_ICONERROR);
}

TEST_F(CompressToZipTest, CommandLineMustFitItsUtf8BudgetWithTheTerminator) {
    // Folder format: 29 fixed bytes around the two paths.
    const std::wstring source = L"C:\\" + std::wstring(500, L's') + L"\\";
    const std::wstring fits = L"C:\\" + std::wstring(1039 - 29 - source.size() - 3, L'a');
    EXPECT_EQ(CompressToZip(source, fits, Folder(), kFake, &cancel, RecordPause), 0);
    ASSERT_EQ(FakeArchiver::commands.size(), 1u);
    EXPECT_EQ(FakeArchiver::commands[0].size(), 1039u);

    // Guards against a 1040-byte line handed over without its terminator.
    const std::wstring tooLong = fits + L"a";
    EXPECT_EQ(CompressToZip(source, tooLong, Folder(), kFake, &cancel, RecordPause), -1);
    EXPECT_EQ(FakeArchiver::commands.size(), 1u);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"ZIP format. Could not be converted to Unicode(UTF-8).\n\n" + source);
}

TEST_F(CompressToZipTest, JapanesePathsOverTheBudgetFailWithTheUtf8Message) {
    // 250 characters of three UTF-8 bytes each, twice: far over 1040 bytes.
    const std::wstring source = L"C:\\" + std::wstring(250, L'日') + L"\\";
    const std::wstring target = L"C:\\" + std::wstring(250, L'本') + L".zip";
    SetJapanese(true);
    EXPECT_EQ(CompressToZip(source, target, Folder(), kFake, &cancel, RecordPause), -1);
    EXPECT_TRUE(FakeArchiver::commands.empty());
    EXPECT_EQ(FakeArchiver::initializeCalls, 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"ZIP形式 ユニコード(UTF-8)に変換できませんでした。\n\n" + source);
}

TEST(DeleteWorkFolder, RemovesAHiddenTreeWithReadOnlyFiles) {
    TempDir dir;
    const std::wstring work = dir / L"copy 1\\";
    MakeFolder(work);
    MakeFolder(work + L"sub");
    MakeFolder(work + L"empty");
    WriteText(work + L"a.txt", "a");
    WriteText(work + L"sub\\b.txt", "b");
    ASSERT_TRUE(SetFileAttributesW((work + L"sub\\b.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(SetFileAttributesW(work.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(DeleteWorkFolder(work), 0);
    EXPECT_FALSE(Exists(work));
    EXPECT_TRUE(Exists(dir.path()));
}

TEST(DeleteWorkFolder, AMissingFolderIsAFailureCode) {
    TempDir dir;
    EXPECT_NE(DeleteWorkFolder(dir / L"missing\\"), 0);
}
