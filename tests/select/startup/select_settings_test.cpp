#include <gtest/gtest.h>

#include "message_capture.h"
#include "startup/select_settings.h"
#include "test_files.h"

namespace {

class SelectSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        paths = MakeSettingsPaths(dir / L"Varo", dir / L"AppData");
        MakeFolder(paths.programFolder);
    }
    void WriteIni(const std::wstring& path, std::wstring_view body) {
        MakeFolder(paths.settingsFolder);
        WriteBytes(path, Utf16Bytes(L"[Env]\r\n" + std::wstring(body), true));
    }

    TempDir dir;
    SettingsPaths paths;
    Settings defaults = DefaultSettings(true, std::wstring(L"C:\\Docs"));
    Settings settings;
    SelectionConditions conditions;
    MessageCapture messages;
    std::vector<std::wstring>& boxes = messages.texts;
};

}  // namespace

TEST_F(SelectSettingsTest, FirstRunWritesTheDefaultsAndTheBackup) {
    ASSERT_EQ(PrepareSettings(paths, defaults, settings, conditions), 0);
    ASSERT_TRUE(Exists(paths.settingsFile));
    EXPECT_EQ(ReadBytes(paths.settingsFile), ReadBytes(paths.backupFile));
    const auto bytes = ReadBytes(paths.settingsFile);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(settings.Path, L"C:\\Docs\\My Copy\\");
    EXPECT_TRUE(IsJapanese());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SelectSettingsTest, AMissingFileIsRestoredFromTheBackup) {
    WriteBytes(paths.backupFile, Utf16Bytes(L"[Env]\r\nLang=en\r\nCopyMode=1\r\n", true));
    ASSERT_EQ(PrepareSettings(paths, defaults, settings, conditions), 0);
    EXPECT_TRUE(Exists(paths.settingsFile));
    EXPECT_EQ(settings.CopyMode, 1);
    EXPECT_FALSE(IsJapanese());
}

TEST_F(SelectSettingsTest, SettingsFolderThatCannotBeMadeIsReportedAndStartUpGoesOn) {
    WriteText(dir / L"AppData", "a file where the folder tree should start");
    WriteBytes(paths.backupFile, Utf16Bytes(L"[Env]\r\nLang=en\r\n", true));
    ASSERT_EQ(PrepareSettings(paths, defaults, settings, conditions), 0);
    ASSERT_EQ(boxes.size(), 1u);
    // Before Lang is read, the message follows the UI language.
    const bool japaneseUi = UiLanguageIsJapanese();
    EXPECT_EQ(boxes[0].substr(0, 10), japaneseUi ? L"設定ファイルを格納する" : L"Could not ");
    EXPECT_NE(boxes[0].find(paths.settingsFolder), std::wstring::npos);
}

TEST_F(SelectSettingsTest, ActiveConditionListsAreParsedWhileLoading) {
    WriteIni(paths.settingsFile,
             L"SelectMode=0\r\nTargetFile= *.TXT : : Report*.xls \r\nExNoTargetFile=~*\r\nNoTargetFile=*.never\r\n");
    ASSERT_EQ(PrepareSettings(paths, defaults, settings, conditions), 0);
    EXPECT_EQ(conditions.lists[kTargetList].patterns, (std::vector<std::wstring>{L"*.txt", L"report*.xls"}));
    EXPECT_EQ(conditions.lists[kExNoTargetList].patterns, std::vector<std::wstring>{L"~*"});
    EXPECT_TRUE(conditions.lists[kNoTargetList].patterns.empty());  // not used by mode 0
    EXPECT_EQ(conditions.selectMode, 0);
}

TEST_F(SelectSettingsTest, ATooLongPatternStopsTheLoad) {
    WriteIni(paths.settingsFile, L"Lang=en\r\nSelectMode=1\r\nNoTargetFile=*.a:" + std::wstring(260, L'x') +
                                     L"\r\nExTargetFile=" + std::wstring(300, L'y') + L"\r\n");
    EXPECT_EQ(PrepareSettings(paths, defaults, settings, conditions), -1);
    ASSERT_EQ(boxes.size(), 1u);  // the list after the failing one is not read
    EXPECT_EQ(boxes[0], L"The condition maximum value (260) of the file selection condition is exceeded.\n\n" +
                            std::wstring(260, L'x') + L" (260 characters)");
}

TEST_F(SelectSettingsTest, ATooLongPatternIsReportedInTheFilesLanguage) {
    WriteIni(paths.settingsFile, L"Lang=ja\r\nSelectMode=0\r\nTargetFile=" + std::wstring(300, L'c') + L"\r\n");
    EXPECT_EQ(PrepareSettings(paths, defaults, settings, conditions), -1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0],
              L"ファイル選択条件の条件最大値(260)文字を超えています。\n\n" + std::wstring(300, L'c') + L" (300文字)");
}

TEST_F(SelectSettingsTest, TheTemporaryFileIsReadWhenAsked) {
    WriteIni(paths.settingsFile, L"CopyMode=0\r\n");
    WriteIni(paths.temporaryFile, L"CopyMode=1\r\n");
    ASSERT_EQ(LoadSettings(paths, true, defaults, settings, conditions), 0);
    EXPECT_EQ(settings.CopyMode, 1);
    ASSERT_EQ(LoadSettings(paths, false, defaults, settings, conditions), 0);
    EXPECT_EQ(settings.CopyMode, 0);
}

TEST_F(SelectSettingsTest, SaveWritesOnlyTheSettingsFile) {
    ASSERT_EQ(PrepareSettings(paths, defaults, settings, conditions), 0);
    settings.Path = L"E:\\chosen\\";
    ::DeleteFileW(paths.backupFile.c_str());
    SaveSettings(paths, settings);
    Settings reread;
    SelectionConditions unused;
    ASSERT_EQ(LoadSettings(paths, false, defaults, reread, unused), 0);
    EXPECT_EQ(reread.Path, L"E:\\chosen\\");
    EXPECT_FALSE(Exists(paths.backupFile));
}

// Regression: a hand-edited "\..\..\" as a fixed text wrote the copy two folders above Path.
TEST_F(SelectSettingsTest, FixedTextsThatAreNoFileNamesRefuseTheRun) {
    const std::pair<std::wstring_view, std::wstring_view> cases[] = {
        {L"PrefixBef1=\\..\\..\\", L"Characters that can not be used in the prefix(top) are included.\n\nNG : \\ "},
        {L"PrefixBef2=a:b",
         L"Characters that can not be used in the prefix(Before file name) are included.\n\nNG : : "},
        {L"PrefixAft1=<*>",
         L"Characters that can not be used in the prefix(After file name) are included.\n\nNG : * < > "},
        {L"PrefixAft2=x/y", L"Characters that can not be used in the prefix(Last) are included.\n\nNG : / "},
    };
    for (const auto& [line, message] : cases) {
        boxes.clear();
        WriteIni(paths.settingsFile, L"Lang=en\r\n" + std::wstring(line) + L"\r\n");
        EXPECT_EQ(PrepareSettings(paths, defaults, settings, conditions), -1) << std::wstring(line);
        ASSERT_EQ(boxes.size(), 1u) << std::wstring(line);
        EXPECT_EQ(boxes[0].substr(0, message.size()), message);
    }
    WriteIni(paths.settingsFile, L"Lang=en\r\nPrefixBef1=ok (1)\r\nPrefixAft1=_\r\n");
    EXPECT_EQ(PrepareSettings(paths, defaults, settings, conditions), 0);
}
