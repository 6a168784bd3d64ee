// Copy runs over the layer that applies Windows' rules where Wine does not:
// what these tests show would hold on Windows.
#include <gtest/gtest.h>

#include <algorithm>

#include "forwarding_files.h"
#include "message_capture.h"
#include "paths.h"
#include "run/copy_run.h"
#include "test_files.h"
#include "text.h"
#include "windows_rules_files.h"
#include "zip_reader.h"

namespace {

// A cloud-file placeholder folder: a reparse point with a real tag that is
// not a name surrogate (IO_REPARSE_TAG_CLOUD_1).
constexpr DWORD kCloudTag = 0x9000101A;

class WindowsRulesRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.AddStringsAft = 4;
        settings.CopyMode = 1;
        settings.Path = dir / L"out\\";
        MakeFolder(dir / L"src");
    }

    int Copy(const std::wstring& source) {
        RunContext run(settings, conditions, shared);
        run.files = &files;
        return CopyOneSource(run, source);
    }

    void KeepSourceNames() {
        settings.AddStringsAft = 0;
        settings.PrefixAft1 = L"";
    }

    TempDir dir;
    Settings settings = DefaultSettings(false, std::nullopt);
    SelectionConditions conditions;
    SharedRunState shared;
    WindowsRulesFiles files;
    MessageCapture messages;
};

std::vector<std::string> ArchiveNames(const std::wstring& archive) {
    const auto content = ReadZip(ExtendedLengthPath(archive));
    return content ? content->order : std::vector<std::string>{"(unreadable)"};
}

}  // namespace

// Regression: each compatibility junction of a profile counted as an
// unreadable folder, and copying Documents ended "Copy failed!".
TEST_F(WindowsRulesRunTest, AProfileWithCompatibilityJunctionsCopiesWithoutAMessage) {
    const std::wstring profile = dir / L"src\\Documents";
    MakeFolder(profile);
    WriteText(profile + L"\\report.txt", "report");
    for (const wchar_t* junction : {L"My Music", L"My Pictures", L"My Videos"}) {
        MakeFolder(profile + L"\\" + junction);
        files.MarkReparsePoint(profile + L"\\" + junction, IO_REPARSE_TAG_MOUNT_POINT,
                               FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true);
    }
    // A junction of the user's own that points back up: never entered.
    MakeFolder(profile + L"\\loop");
    WriteText(profile + L"\\loop\\inside.txt", "x");
    files.MarkReparsePoint(profile + L"\\loop", IO_REPARSE_TAG_MOUNT_POINT, 0, false);
    for (const int compress : {0, 1}) {
        settings.CompressMode = compress;
        ASSERT_EQ(Copy(profile), 0);
    }
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(ReadBytes(dir / L"out\\Documents_1\\report.txt"),
              std::vector<std::uint8_t>({'r', 'e', 'p', 'o', 'r', 't'}));
    EXPECT_FALSE(Exists(dir / L"out\\Documents_1\\My Music"));
    EXPECT_FALSE(Exists(dir / L"out\\Documents_1\\loop"));
    EXPECT_EQ(ArchiveNames(dir / L"out\\Documents_2.zip"),
              (std::vector<std::string>{"Documents_2/", "Documents_2/report.txt"}));
}

TEST_F(WindowsRulesRunTest, ACloudFileFolderIsCopiedAndArchivedWithItsFiles) {
    MakeFolder(dir / L"src\\D\\OneDrive");
    WriteText(dir / L"src\\D\\OneDrive\\synced.txt", "synced");
    files.MarkReparsePoint(dir / L"src\\D\\OneDrive", kCloudTag, 0, false);
    for (const int compress : {0, 1}) {
        settings.CompressMode = compress;
        ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    }
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_TRUE(Exists(dir / L"out\\D_1\\OneDrive\\synced.txt"));
    EXPECT_EQ(ArchiveNames(dir / L"out\\D_2.zip"),
              (std::vector<std::string>{"D_2/", "D_2/OneDrive/", "D_2/OneDrive/synced.txt"}));
}

// Regression: a second run with both kinds "none" met the hidden and
// read-only files the first one made, and Windows refused to copy over them.
TEST_F(WindowsRulesRunTest, ASecondRunWithoutAddedStringsReplacesHiddenAndReadOnlyFiles) {
    KeepSourceNames();
    settings.DirTree = 1;
    MakeFolder(dir / L"src\\D\\sub");
    WriteText(dir / L"src\\D\\desktop.ini", "[.ShellClassInfo]");
    WriteText(dir / L"src\\D\\sub\\frozen.txt", "v1");
    ::SetFileAttributesW((dir / L"src\\D\\desktop.ini").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ::SetFileAttributesW((dir / L"src\\D\\sub\\frozen.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    ::SetFileAttributesW((dir / L"out\\D.txt").c_str(), FILE_ATTRIBUTE_READONLY);  // the list, too
    ::SetFileAttributesW((dir / L"src\\D\\sub\\frozen.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteText(dir / L"src\\D\\sub\\frozen.txt", "v2");
    ::SetFileAttributesW((dir / L"src\\D\\sub\\frozen.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(Copy(dir / L"src\\D"), 0);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_FALSE(shared.listFailed.load());
    EXPECT_EQ(ReadBytes(dir / L"out\\D\\sub\\frozen.txt"), std::vector<std::uint8_t>({'v', '2'}));
    EXPECT_EQ(
        ::GetFileAttributesW((dir / L"out\\D\\desktop.ini").c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
        DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    for (const wchar_t* path : {L"src\\D\\sub\\frozen.txt", L"out\\D\\sub\\frozen.txt", L"out\\D.txt"})
        ::SetFileAttributesW((dir / path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Regression: on Windows a cancelled copy deletes its destination, which was
// the user's file being replaced.
TEST_F(WindowsRulesRunTest, CancelWhileReplacingAFileLeavesTheOldOneAsItWas) {
    KeepSourceNames();
    WriteBytes(dir / L"src\\big.bin", std::vector<std::uint8_t>(3 * WindowsRulesFiles::kProgressChunk, 7));
    MakeFolder(dir / L"out");
    WriteText(dir / L"out\\big.bin", "the user's own");
    struct CancelDuringCopy : ForwardingFiles {
        using ForwardingFiles::ForwardingFiles;
        SharedRunState* shared = nullptr;
        DWORD Copy(const std::wstring& from, const std::wstring& to, LPPROGRESS_ROUTINE progress, void* context,
                   DWORD flags) override {
            shared->copyCancelRequested = true;  // pressed while the bytes go
            return ForwardingFiles::Copy(from, to, progress, context, flags);
        }
    } cancelling(files);
    cancelling.shared = &shared;
    RunContext run(settings, conditions, shared);
    run.files = &cancelling;
    EXPECT_EQ(CopyOneSource(run, dir / L"src\\big.bin"), 0);
    EXPECT_GT(files.progressCalls.load(), 0);
    EXPECT_TRUE(messages.texts.empty());
    const std::string mine = "the user's own";
    EXPECT_EQ(ReadBytes(dir / L"out\\big.bin"), std::vector<std::uint8_t>(mine.begin(), mine.end()));
    std::vector<std::wstring> names;
    (void)SystemFileSystem().List(dir / L"out", [&names](const WIN32_FIND_DATAW& data) {
        names.push_back(data.cFileName);
        return true;
    });
    EXPECT_EQ(names, std::vector<std::wstring>{L"big.bin"});
}

// The source's own path is short; its copy goes deeper than 300 characters.
TEST_F(WindowsRulesRunTest, ATreeDeeperThanThePathLimitCopiesAndArchivesWhole) {
    const std::wstring source = dir / L"src\\deep";
    std::wstring folder = ExtendedLengthPath(source);
    while (folder.size() < 320) folder += L"\\a_folder_with_a_long_name";
    ASSERT_EQ(MakeFolders(SystemFileSystem(), folder), 0u);
    WriteText(folder + L"\\leaf.txt", "leaf");
    settings.DirTree = 1;
    for (const int compress : {0, 1}) {
        settings.CompressMode = compress;
        ASSERT_EQ(Copy(source), 0);
    }
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_FALSE(shared.listFailed.load());
    const std::wstring relative = folder.substr(ExtendedLengthPath(source).size());
    EXPECT_EQ(ReadBytes(ExtendedLengthPath(dir / L"out\\deep_1") + relative + L"\\leaf.txt"),
              std::vector<std::uint8_t>({'l', 'e', 'a', 'f'}));
    const auto archive = ReadZip(ExtendedLengthPath(dir / L"out\\deep_2.zip"));
    ASSERT_TRUE(archive);
    std::wstring name = L"deep_2" + relative + L"\\leaf.txt";
    std::replace(name.begin(), name.end(), L'\\', L'/');
    EXPECT_EQ(archive->entries.count(WideToUtf8(name)), 1u);
}
