#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language.h"
#include "result_list/list_fallback.h"
#include "message_capture.h"
#include "test_files.h"
#include "text.h"

namespace {

constexpr std::wstring_view kWarningEn =
    L"The memory could not be allocated. And it outputs the copy result list in the Windows command.";

class CommandList : public ::testing::Test {
protected:
    void SetUp() override {
        MakeFolder(dir_ / L"copy");
        WriteText(dir_ / L"copy\\report.final_1.txt", "x");
    }

    // A single file copied to copy\report.final_1.txt.
    CommandListRequest FileRequest() const {
        CommandListRequest request;
        request.destinationPath = dir_ / L"copy\\report.final_1.txt";
        request.listPath = request.destinationPath + L".txt";
        request.sourcePath = dir_ / L"report.final.txt";
        request.sourceIsFile = true;
        request.dirTree = 1;
        request.select = 1;
        request.timeStamp = L"20240105_101112";
        request.browseFolder = dir_.path();
        return request;
    }

    // What a list written by "echo" holds: the quoted path, in the
    // interpreter's own (here ASCII) encoding.
    static std::string EchoedPath(const std::wstring& list) {
        const std::vector<std::uint8_t> bytes = ReadBytes(list);
        return std::string(bytes.begin(), bytes.end());
    }

    TempDir dir_;
    MessageCapture messages_;
    std::vector<MessageRequest>& boxes_ = messages_.boxes;
};

bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

TEST(ListCommandLine, EchoesAFileAndDrawsFoldersWithOrWithoutFiles) {
    EXPECT_EQ(ListCommandLine(true, 1, 1), L"cmd /c echo \"%VARO_LIST_ITEM%\" >> \"%VARO_LIST_FILE%\"");
    EXPECT_EQ(ListCommandLine(true, 2, 0), L"cmd /c echo \"%VARO_LIST_ITEM%\" >> \"%VARO_LIST_FILE%\"");
    EXPECT_EQ(ListCommandLine(false, 2, 0), L"cmd /c tree \"%VARO_LIST_ITEM%\" >> \"%VARO_LIST_FILE%\"");
    EXPECT_EQ(ListCommandLine(false, 2, 1), L"cmd /c tree /f \"%VARO_LIST_ITEM%\" >> \"%VARO_LIST_FILE%\"");
    EXPECT_EQ(ListCommandLine(false, 1, 0), L"cmd /c tree /f \"%VARO_LIST_ITEM%\" >> \"%VARO_LIST_FILE%\"");
}

TEST_F(CommandList, SingleFileSourceEchoesItsPathIntoTheList) {
    const CommandListRequest request = FileRequest();
    EXPECT_EQ(WriteResultListWithCommand(request, [](std::wstring_view) { return std::wstring(); }), 0);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, kWarningEn);
    EXPECT_EQ(boxes_[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    const std::string written = EchoedPath(request.listPath);
    EXPECT_EQ(written.rfind("\"" + WideToUtf8(request.destinationPath) + "\"", 0), 0u) << written;
    EXPECT_EQ(written.substr(written.size() - 2), "\r\n");
}

TEST_F(CommandList, WarningSaysSelectionIsOffWhenOnlyListingWithSelection) {
    CommandListRequest request = FileRequest();
    request.dirTree = 2;
    EXPECT_EQ(WriteResultListWithCommand(request, [](std::wstring_view) { return std::wstring(); }), 0);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, std::wstring(kWarningEn) + L"*File selection is disabled.\n");

    boxes_.clear();
    SetJapanese(true);
    ::DeleteFileW(request.listPath.c_str());
    EXPECT_EQ(WriteResultListWithCommand(request, [](std::wstring_view) { return std::wstring(); }), 0);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text,
              L"メモリが確保できませんでした。Windowsコマンドでコピー結果リストを出力します。"
              L"※ファイル選択は無効になります。\n");
}

TEST_F(CommandList, MissingListAsksForAFolderAndWritesANewListThere) {
    CommandListRequest request = FileRequest();
    request.listPath = dir_ / L"no such folder\\report.final_1.txt.txt";
    const std::wstring chosen = dir_ / L"chosen";
    MakeFolder(chosen);
    std::vector<std::wstring> asked;
    const int result = WriteResultListWithCommand(request, [&](std::wstring_view initial) {
        asked.emplace_back(initial);
        return chosen;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(asked, std::vector<std::wstring>{dir_.path()});
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1].text, L"Copy result list could not be output.\n\n" + request.listPath +
                                  L"\n\nPlease change the output destination.");
    EXPECT_EQ(boxes_[1].style & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    const std::wstring newList = chosen + L"\\report.final_20240105_101112.txt";
    ASSERT_TRUE(Exists(newList));
    EXPECT_EQ(EchoedPath(newList).rfind("\"" + WideToUtf8(request.destinationPath) + "\"", 0), 0u);
}

TEST_F(CommandList, NewListPathOfMoreThan259CharactersIsRefused) {
    CommandListRequest request = FileRequest();
    request.listPath = dir_ / L"no such folder\\list.txt";
    // "<folder>\report.final_20240105_101112.txt" adds 36 characters to the folder.
    const std::wstring suffix = L"\\report.final_20240105_101112.txt";
    const std::wstring base = dir_ / L"missing_";
    const std::wstring folder260 = base + std::wstring(260 - suffix.size() - base.size(), L'x');
    const std::wstring folder259 = base + std::wstring(259 - suffix.size() - base.size(), L'x');
    std::vector<std::wstring> answers = {folder260, folder259, L""};
    std::size_t asked = 0;
    const int result = WriteResultListWithCommand(request, [&](std::wstring_view) { return answers[asked++]; });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(asked, 3u);
    ASSERT_EQ(boxes_.size(), 4u);
    const std::wstring tooLong = folder260 + suffix;
    EXPECT_EQ(boxes_[2].text, L"The path of the output file exceeds maximum value(259 characters).\n\n" + tooLong +
                                  L" (260 characters)");
    EXPECT_EQ(boxes_[2].style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    // The 259-character path was taken: the command ran and the list was still missing.
    EXPECT_EQ(boxes_[3].text, L"Copy result list could not be output.\n\n" + folder259 + suffix +
                                  L"\n\nPlease change the output destination.");
}

TEST_F(CommandList, NoFolderChosenFailsTheSource) {
    CommandListRequest request = FileRequest();
    request.listPath = dir_ / L"no such folder\\list.txt";
    EXPECT_EQ(WriteResultListWithCommand(request, [](std::wstring_view) { return std::wstring(); }), -1);
    EXPECT_EQ(boxes_.size(), 2u);
}

TEST_F(CommandList, PercentSignsInPathsAreNotExpandedAsVariables) {
    // Regression: a path holding "%NAME%" of a set variable must not be
    // rewritten by the interpreter (the list would go elsewhere).
    ASSERT_TRUE(::SetEnvironmentVariableW(L"VARO_TEST_PCT", L"expanded"));
    CommandListRequest request = FileRequest();
    request.destinationPath = dir_ / L"copy\\a%VARO_TEST_PCT%b.txt";
    request.listPath = dir_ / L"list%VARO_TEST_PCT%.txt";
    const int result = WriteResultListWithCommand(request, [](std::wstring_view) { return std::wstring(); });
    ::SetEnvironmentVariableW(L"VARO_TEST_PCT", nullptr);
    if (UnderWine()) {
        // Wine's interpreter expands the text of an expanded variable once
        // more (Windows' does not), so there the path is still rewritten.
        EXPECT_TRUE(Exists(dir_ / L"listexpanded.txt"));
        return;
    }
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(Exists(dir_ / L"listexpanded.txt"));
    ASSERT_TRUE(Exists(request.listPath));
    EXPECT_EQ(EchoedPath(request.listPath).rfind("\"" + WideToUtf8(request.destinationPath) + "\"", 0), 0u)
        << EchoedPath(request.listPath);
}

TEST_F(CommandList, FolderSourceRunsTheTreeCommandIntoTheList) {
    CommandListRequest request = FileRequest();
    request.sourceIsFile = false;
    request.destinationPath = dir_ / L"copy\\";
    request.listPath = dir_ / L"copy.txt";
    EXPECT_EQ(WriteResultListWithCommand(request, [](std::wstring_view) { return std::wstring(); }), 0);
    // Windows writes the drawing of the folder; Wine's interpreter has no
    // tree command, so there only the redirection creates the (empty) list.
    EXPECT_TRUE(Exists(request.listPath));
    EXPECT_EQ(boxes_.size(), 1u);
}
