#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "message_capture.h"
#include "settings.h"
#include "settings_store.h"
#include "test_files.h"

namespace {

// The whole default file as the programs write it, key by key in order.
std::wstring DefaultFileText() {
    std::wstring text =
        L"[Env]\r\nTab=0\r\nLang=ja\r\nStartSetting=1\r\nAutoClose=1\r\nCopyMode=0\r\n"
        L"Path=C:\\Docs\\My Copy\\\r\n";
    for (int i = 1; i <= 10; ++i) text += L"PathHis" + std::to_wstring(i) + L"=\r\n";
    text +=
        L"SelDir=0\r\nOpenDir=0\r\nPrefixBef1=\r\nAddStringsBef=0\r\nPrefixBef2=\r\nPrefixAft1=_\r\n"
        L"AddStringsAft=1\r\nPrefixAft2=\r\nZeroSuppress=1\r\nCompressMode=0\r\nDirTree=0\r\nSelect=1\r\n"
        L"SelectMode=2\r\n";
    for (const wchar_t* list : {L"TargetFile", L"ExNoTargetFile", L"NoTargetFile", L"ExTargetFile"}) {
        text += std::wstring(list) + L"=\r\n";
        for (int i = 1; i <= 10; ++i) text += std::wstring(list) + L"His" + std::to_wstring(i) + L"=\r\n";
    }
    text +=
        L"UpdateDateType=0\r\nUpdateDateVal=0\r\nUpdateDateStr=\r\nUpdateDateEnd=\r\nEmptyDirNoCopy=0\r\nVerify=0\r\n";
    return text;
}

Settings Defaults() {
    return DefaultSettings(true, std::wstring(L"C:\\Docs"));
}

// The names in a folder, to see that a save leaves nothing beside its file.
std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// The system's writer for the first `keys` keys, then a failure.
ProfileKeyWriter FailingAfter(int keys) {
    return [keys, written = 0](const std::wstring& file, const std::wstring& key, const std::wstring& value) mutable {
        return written++ < keys && SystemProfileKeyWriter()(file, key, value);
    };
}

}  // namespace

TEST(SettingsFile, DefaultsAreWrittenKeyByKeyInUtf16) {
    TempDir dir;
    const std::wstring file = dir / L"varo.ini";
    ASSERT_TRUE(WriteSettingsFile(file, Defaults()));
    EXPECT_EQ(SettingsKeys().size(), 79u);
    const auto bytes = ReadBytes(file);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(ReadUtf16File(file), DefaultFileText());
}

TEST(SettingsFile, RoundTripKeepsEveryFieldAndJapaneseText) {
    TempDir dir;
    const std::wstring file = dir / L"varo.ini";
    Settings written = Defaults();
    written.Lang = L"en";
    written.Path = L"D:\\コピー先\\";
    written.PathHis[0] = L"D:\\履歴\\";
    written.PathHis[9] = L"E:\\last\\";
    written.PrefixBef1 = L"前";
    written.AddStringsBef = 4;
    written.ZeroSuppress = 3;
    written.TargetFile = L"*.txt : 報告*.xls*";
    written.ExTargetFileHis[4] = L"x";
    written.UpdateDateType = 1;
    written.UpdateDateStr = L"2024/01/10";
    written.EmptyDirNoCopy = 1;
    written.Verify = 1;
    ASSERT_TRUE(WriteSettingsFile(file, written));

    Settings read = DefaultSettings(false, std::nullopt);
    ASSERT_TRUE(ReadSettingsFile(file, read, false));
    EXPECT_EQ(read.Lang, L"en");
    EXPECT_EQ(read.Path, L"D:\\コピー先\\");
    EXPECT_EQ(read.PathHis, written.PathHis);
    EXPECT_EQ(read.PrefixBef1, L"前");
    EXPECT_EQ(read.AddStringsBef, 4);
    EXPECT_EQ(read.ZeroSuppress, 3);
    EXPECT_EQ(read.TargetFile, written.TargetFile);
    EXPECT_EQ(read.ExTargetFileHis, written.ExTargetFileHis);
    EXPECT_EQ(read.UpdateDateStr, L"2024/01/10");
    EXPECT_EQ(read.EmptyDirNoCopy, 1);
    EXPECT_EQ(read.Verify, 1);

    // Writing what was read gives the same bytes.
    const auto first = ReadBytes(file);
    ASSERT_TRUE(WriteSettingsFile(file, read));
    EXPECT_EQ(ReadBytes(file), first);
}

TEST(SettingsFile, MissingOrBrokenFilesGiveTheDefaults) {
    TempDir dir;
    const Settings defaults = Defaults();
    Settings s = defaults;
    ASSERT_TRUE(ReadSettingsFile(dir / L"missing.ini", s, true));
    EXPECT_EQ(s.Path, defaults.Path);
    EXPECT_EQ(s.PrefixAft1, L"_");
    EXPECT_EQ(s.StartSetting, 1);

    WriteText(dir / L"empty.ini", "");
    s = defaults;
    ASSERT_TRUE(ReadSettingsFile(dir / L"empty.ini", s, true));
    EXPECT_EQ(s.SelectMode, 2);

    std::vector<std::uint8_t> garbage;
    for (int i = 0; i < 70000; ++i) garbage.push_back(static_cast<std::uint8_t>((i * 7919) ^ (i >> 3)));
    WriteBytes(dir / L"garbage.ini", garbage);
    s = defaults;
    EXPECT_TRUE(ReadSettingsFile(dir / L"garbage.ini", s, true));

    // A file cut in the middle of a UTF-16 character still reads what is whole.
    auto truncated = Utf16Bytes(L"[Env]\r\nCopyMode=1\r\nLang=en\r\nPath=C:\\x", true);
    truncated.push_back(0x41);
    WriteBytes(dir / L"truncated.ini", truncated);
    s = defaults;
    EXPECT_TRUE(ReadSettingsFile(dir / L"truncated.ini", s, true));
    EXPECT_EQ(s.CopyMode, 1);
    EXPECT_EQ(s.Lang, L"en");

    // A file in another encoding (plain ASCII here) is read as far as it goes.
    WriteText(dir / L"ansi.ini", "[Env]\r\nDirTree=2\r\nDebug=1\r\n");
    s = defaults;
    EXPECT_TRUE(ReadSettingsFile(dir / L"ansi.ini", s, true));
    EXPECT_EQ(s.DirTree, 2);
    EXPECT_EQ(s.Debug, 1);
}

TEST(SettingsFile, OutOfRangeValuesAreKeptAsRead) {
    TempDir dir;
    const std::wstring file = dir / L"varo.ini";
    WriteBytes(file, Utf16Bytes(L"[Env]\r\nTab=7\r\nZeroSuppress=500\r\nDirTree=-3\r\nDebug=65537\r\n", true));
    Settings s = Defaults();
    ASSERT_TRUE(ReadSettingsFile(file, s, true));
    EXPECT_EQ(s.Tab, 7);
    EXPECT_EQ(s.ZeroSuppress, 500);
    EXPECT_EQ(s.DirTree, -3);
    EXPECT_EQ(s.Debug, 1);  // only the low 16 bits count
}

TEST(SettingsFile, TextsAreCutAtOneLessThanTheirCapacity) {
    TempDir dir;
    const std::wstring file = dir / L"varo.ini";
    Settings written = Defaults();
    written.Lang = std::wstring(40, L'l');
    written.Path = std::wstring(300, L'p');
    written.TargetFile = std::wstring(8196, L't');
    written.UpdateDateEnd = std::wstring(300, L'9');
    ASSERT_TRUE(WriteSettingsFile(file, written));
    Settings read = Defaults();
    ASSERT_TRUE(ReadSettingsFile(file, read, false));
    EXPECT_EQ(read.Lang.size(), 30u);
    EXPECT_EQ(read.Path, std::wstring(290, L'p') + L"\\");  // read, then given its backslash
    EXPECT_EQ(read.TargetFile.size(), 8195u);
    EXPECT_EQ(read.UpdateDateEnd.size(), 254u);
}

TEST(SettingsFile, DebugIsReadOnlyWhenAskedAndNeverWritten) {
    TempDir dir;
    const std::wstring file = dir / L"varo.ini";
    WriteBytes(file, Utf16Bytes(L"[Env]\r\nDebug=1\r\n", true));
    Settings s = Defaults();
    ASSERT_TRUE(ReadSettingsFile(file, s, false));
    EXPECT_EQ(s.Debug, 0);
    ASSERT_TRUE(ReadSettingsFile(file, s, true));
    EXPECT_EQ(s.Debug, 1);
    ASSERT_TRUE(WriteSettingsFile(file, s));
    EXPECT_EQ(ReadUtf16File(file).find(L"Debug"), std::wstring::npos);
}

TEST(SettingsFile, HookSeesKeysInOrderAndCanStopTheLoad) {
    TempDir dir;
    const std::wstring file = dir / L"varo.ini";
    Settings written = Defaults();
    written.ExNoTargetFile = L"never read";
    ASSERT_TRUE(WriteSettingsFile(file, written));
    std::vector<std::wstring> seen;
    Settings s = DefaultSettings(true, std::nullopt);
    const bool ok = ReadSettingsFile(file, s, false, [&](const SettingsKey& key, Settings&) {
        seen.push_back(key.name);
        return key.name != L"TargetFile";
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(seen.front(), L"Tab");
    EXPECT_EQ(seen.back(), L"TargetFile");
    EXPECT_EQ(s.ExNoTargetFile, L"");
}

TEST(SettingsFile, EmptySettingsPathReadsAndWritesNothing) {
    Settings s = Defaults();
    EXPECT_TRUE(ReadSettingsFile(L"", s, true));
    EXPECT_EQ(s.Path, L"C:\\Docs\\My Copy\\");
    EXPECT_FALSE(WriteSettingsFile(L"", s));
}

TEST(SettingsDefaults, LanguageAndPath) {
    EXPECT_EQ(DefaultSettings(true, std::nullopt).Lang, L"ja");
    EXPECT_EQ(DefaultSettings(false, std::nullopt).Lang, L"en");
    EXPECT_EQ(DefaultSettings(false, std::nullopt).Path, L"");
    EXPECT_EQ(DefaultSettings(false, std::wstring(L"C:\\Docs\\")).Path, L"C:\\Docs\\My Copy\\");
}

TEST(SettingsStore, SaveWritesTheBackupAndTheTemporaryFileOnlyWhenAsked) {
    TempDir dir;
    const SettingsPaths paths = MakeSettingsPaths(dir / L"Varo", dir / L"AppData");
    MakeFolder(paths.programFolder);
    Settings s = Defaults();
    s.Debug = 1;
    ASSERT_EQ(SaveAppSettings(nullptr, paths, s, true), 0);
    EXPECT_TRUE(Exists(paths.temporaryFile));
    EXPECT_FALSE(Exists(paths.settingsFile));
    EXPECT_FALSE(Exists(paths.backupFile));
    ASSERT_EQ(SaveAppSettings(nullptr, paths, s, false), 0);
    EXPECT_EQ(ReadBytes(paths.backupFile), ReadBytes(paths.settingsFile));

    // A hand-edited Debug survives loading but not the next save.
    const Settings loaded = LoadAppSettings(paths, Defaults());
    EXPECT_EQ(loaded.Debug, 0);
}

TEST(SettingsStore, ASaveThatFailsHalfwayLeavesTheFileAndTheBackupAsTheyWere) {
    TempDir dir;
    const SettingsPaths paths = MakeSettingsPaths(dir / L"Varo", dir / L"AppData");
    MakeFolder(paths.programFolder);
    Settings s = Defaults();
    ASSERT_EQ(SaveAppSettings(nullptr, paths, s, false), 0);
    const auto savedFile = ReadBytes(paths.settingsFile);
    const auto savedBackup = ReadBytes(paths.backupFile);
    const auto settingsEntries = FolderEntries(paths.settingsFolder);
    const auto programEntries = FolderEntries(paths.programFolder);

    s.Lang = L"en";
    s.TargetFile = L"*.txt";
    for (const bool temporary : {false, true}) {
        MessageCapture boxes;
        EXPECT_EQ(SaveAppSettings(nullptr, paths, s, temporary, FailingAfter(30)), -1);
        const std::wstring target = temporary ? paths.temporaryFile : paths.settingsFile;
        EXPECT_EQ(boxes.texts, std::vector<std::wstring>{L"Could not write the configuration file.\n\n" + target});
        EXPECT_EQ(ReadBytes(paths.settingsFile), savedFile);
        EXPECT_EQ(ReadBytes(paths.backupFile), savedBackup);
        // No half-written file, under the settings' names or any other.
        EXPECT_EQ(FolderEntries(paths.settingsFolder), settingsEntries);
        EXPECT_EQ(FolderEntries(paths.programFolder), programEntries);
    }
}

TEST(SettingsFile, ASaveReplacesTheOldFileAndLeavesNothingBesideIt) {
    TempDir dir;
    const std::wstring file = dir / L"varo.ini";
    WriteBytes(file, Utf16Bytes(L"[Env]\r\nCopyMode=1\r\nDebug=1\r\n", true));
    ASSERT_TRUE(WriteSettingsFile(file, Defaults()));
    EXPECT_EQ(ReadUtf16File(file), DefaultFileText());
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::wstring>{L"varo.ini"});
}

TEST(SettingsStore, SeedingRestoresAMissingFileFromTheBackup) {
    TempDir dir;
    const SettingsPaths paths = MakeSettingsPaths(dir / L"Varo", dir / L"AppData");
    MakeFolder(paths.programFolder);
    WriteBytes(paths.backupFile, Utf16Bytes(L"[Env]\r\nCopyMode=1\r\n", true));
    SeedSettingsFromBackup(paths);
    EXPECT_EQ(LoadAppSettings(paths, Defaults()).CopyMode, 1);
    // An existing file is left alone.
    WriteBytes(paths.backupFile, Utf16Bytes(L"[Env]\r\nCopyMode=0\r\n", true));
    SeedSettingsFromBackup(paths);
    EXPECT_EQ(LoadAppSettings(paths, Defaults()).CopyMode, 1);
}

TEST(History, PushDropsEqualAndDuplicateEntriesButKeepsEmptyPlaces) {
    History list = {L"X:\\A\\", L"b\\", L"b\\"};
    std::wstring current = L"x:\\a";
    PushHistory(current, list, true);
    EXPECT_EQ(current, L"x:\\a\\");
    EXPECT_EQ(list, (History{L"x:\\a\\", L"b\\"}));

    History gaps = {L"a", L"", L"b", L"", L"c", L"d", L"e", L"f", L"g", L"h"};
    std::wstring blank = L"  ";
    PushHistory(blank, gaps, false);
    EXPECT_EQ(gaps, (History{L"", L"a", L"", L"b", L"", L"c", L"d", L"e", L"f", L"g"}));
}

TEST(History, TrimsAndComparesWithoutCase) {
    History list = {L"  *.TXT ", L"*.doc", L"*.txt"};
    std::wstring current = L" *.txt ";
    PushHistory(current, list, false);
    EXPECT_EQ(current, L"*.txt");
    EXPECT_EQ(list, (History{L"*.txt", L"*.doc"}));
}

TEST(History, UpdateHistoriesPushesAllFiveLists) {
    Settings s = Defaults();
    s.Path = L"D:\\out";
    s.TargetFile = L"*.a";
    s.ExNoTargetFile = L"*.b";
    s.NoTargetFile = L"*.c";
    s.ExTargetFile = L"*.d";
    UpdateHistories(s);
    EXPECT_EQ(s.Path, L"D:\\out\\");
    EXPECT_EQ(s.PathHis[0], L"D:\\out\\");
    EXPECT_EQ(s.TargetFileHis[0], L"*.a");
    EXPECT_EQ(s.ExNoTargetFileHis[0], L"*.b");
    EXPECT_EQ(s.NoTargetFileHis[0], L"*.c");
    EXPECT_EQ(s.ExTargetFileHis[0], L"*.d");
}
