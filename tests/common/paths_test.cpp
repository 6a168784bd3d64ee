#include <gtest/gtest.h>

#include "paths.h"
#include "settings_paths.h"
#include "test_files.h"

TEST(PathHelpers, TrailingBackslash) {
    EXPECT_EQ(AddTrailingBackslash(L""), L"");
    EXPECT_EQ(AddTrailingBackslash(L"C:\\a"), L"C:\\a\\");
    EXPECT_EQ(AddTrailingBackslash(L"C:\\a\\"), L"C:\\a\\");
    EXPECT_EQ(StripTrailingBackslash(L"C:\\a\\"), L"C:\\a");
    EXPECT_EQ(StripTrailingBackslash(L"C:\\a"), L"C:\\a");
    // Works on at most 520 characters.
    EXPECT_EQ(AddTrailingBackslash(std::wstring(600, L'a')).size(), 519u);
}

TEST(PathHelpers, ComponentsAndExtensions) {
    EXPECT_EQ(LastPathComponent(L"C:\\a\\b.txt"), L"b.txt");
    EXPECT_EQ(LastPathComponent(L"C:\\a\\dir\\"), L"dir\\");
    EXPECT_EQ(LastPathComponent(L"name"), L"name");
    EXPECT_EQ(LastPathComponent(L"\\"), L"\\");
    EXPECT_EQ(FolderOf(L"C:\\a\\b.txt"), L"C:\\a\\");
    EXPECT_EQ(FolderOf(L"C:b.txt"), L"C:");
    EXPECT_EQ(FileNameOf(L"C:\\a\\b.txt"), L"b.txt");
    EXPECT_EQ(SplitExtension(L"a.b.txt").base, L"a.b");
    EXPECT_EQ(SplitExtension(L"a.b.txt").extension, L".txt");
    EXPECT_EQ(SplitExtension(L"README").extension, L"");
}

TEST(PathHelpers, ExistenceOfFilesFoldersAndRoots) {
    TempDir dir;
    WriteText(dir / L"f.txt", "x");
    EXPECT_TRUE(PathExists(dir / L"f.txt"));
    EXPECT_TRUE(PathExists(dir.path()));  // one trailing backslash is ignored
    EXPECT_FALSE(PathExists(dir / L"missing"));
    EXPECT_FALSE(PathExists(L""));
    EXPECT_TRUE(PathExists(L"C:\\"));
    EXPECT_TRUE(IsFolder(dir.path()));
    EXPECT_FALSE(IsFolder(dir / L"f.txt"));
}

TEST(PathHelpers, CreateFolderTreeMakesParentsAndAcceptsExistingFolders) {
    TempDir dir;
    const std::wstring deep = dir / L"a\\b\\c";
    EXPECT_EQ(CreateFolderTree(deep), 0);
    EXPECT_TRUE(IsFolder(deep));
    EXPECT_EQ(CreateFolderTree(deep + L"\\"), 0);
    WriteText(dir / L"file", "x");
    EXPECT_NE(CreateFolderTree(dir / L"file\\sub"), 0);
    EXPECT_NE(CreateFolderTree(L""), 0);
}

TEST(PathHelpers, SpecialFolders) {
    const auto appData = GetSpecialFolderPath(kCsidlAppData);
    ASSERT_TRUE(appData.has_value());
    EXPECT_TRUE(IsFolder(*appData));
}

TEST(InstanceSuffix, DerivedFromTheProgramFolderName) {
    EXPECT_EQ(DeriveInstanceSuffix(L"C:\\Tools\\Varo\\"), L"");
    EXPECT_EQ(DeriveInstanceSuffix(L"C:\\Tools\\VARO\\"), L"");
    EXPECT_EQ(DeriveInstanceSuffix(L"C:\\Tools\\varo_2\\"), L"_2");
    EXPECT_EQ(DeriveInstanceSuffix(L"C:\\Tools\\VaroTest\\"), L"_test");
    EXPECT_EQ(DeriveInstanceSuffix(L"C:\\Tools\\"), L"_tools");
    // The fifth character is "_" but the name is not longer than five characters.
    EXPECT_EQ(DeriveInstanceSuffix(L"C:\\x\\varo_\\"), L"__");
    EXPECT_EQ(DeriveInstanceSuffix(L"C:\\x\\var\\"), L"_var");
    // Only A-Z are lowered.
    EXPECT_EQ(DeriveInstanceSuffix(L"C:\\x\\VaroÄB\\"), L"_Äb");
    EXPECT_EQ(InstanceName(L"_test"), L"test");
    EXPECT_EQ(InstanceName(L""), L"");
}

TEST(InstanceSuffix, SettingsFolderPerInstallation) {
    const SettingsPaths standard = MakeSettingsPaths(L"C:\\P\\Varo", std::wstring(L"C:\\AppData"));
    EXPECT_EQ(standard.programFolder, L"C:\\P\\Varo\\");
    EXPECT_EQ(standard.settingsFolder, L"C:\\AppData\\kestrel\\varo\\");
    EXPECT_EQ(standard.settingsFile, L"C:\\AppData\\kestrel\\varo\\varo.ini");
    EXPECT_EQ(standard.temporaryFile, L"C:\\AppData\\kestrel\\varo\\varo_tmp.ini");
    EXPECT_EQ(standard.backupFile, L"C:\\P\\Varo\\varo_bk.ini");
    EXPECT_EQ(standard.debugLog, L"C:\\P\\Varo\\varo_debug.log");

    const SettingsPaths second = MakeSettingsPaths(L"C:\\P\\varo_2\\", std::wstring(L"C:\\AppData\\"));
    EXPECT_EQ(second.instanceSuffix, L"_2");
    EXPECT_EQ(second.settingsFolder, L"C:\\AppData\\kestrel\\varo_2\\");

    // Without an Application Data folder the settings path stays empty.
    const SettingsPaths none = MakeSettingsPaths(L"C:\\P\\Varo\\", std::nullopt);
    EXPECT_EQ(none.settingsFile, L"");
    EXPECT_EQ(none.backupFile, L"C:\\P\\Varo\\varo_bk.ini");
}

TEST(InstanceSuffix, FilesBesideAnUnwritableProgramGoToTheSettingsFolder) {
    const SettingsPaths installed = MakeSettingsPaths(L"C:\\Program Files\\Varo", std::wstring(L"C:\\AppData"), false);
    EXPECT_EQ(installed.backupFile, L"C:\\AppData\\kestrel\\varo\\varo_bk.ini");
    EXPECT_EQ(installed.debugLog, L"C:\\AppData\\kestrel\\varo\\varo_debug.log");
    EXPECT_EQ(installed.settingsFile, L"C:\\AppData\\kestrel\\varo\\varo.ini");
    // Without a settings folder they stay beside the program, where they may fail.
    const SettingsPaths nowhere = MakeSettingsPaths(L"C:\\Program Files\\Varo", std::nullopt, false);
    EXPECT_EQ(nowhere.debugLog, L"C:\\Program Files\\Varo\\varo_debug.log");
}

TEST(InstanceSuffix, TheWritabilityProbeLeavesNothingBehind) {
    TempDir dir;
    EXPECT_TRUE(FolderIsWritable(dir.path()));
    EXPECT_TRUE(FolderIsWritable(StripTrailingBackslash(dir.path())));
    EXPECT_FALSE(Exists(dir / (L"varo_write_probe_" + std::to_wstring(::GetCurrentProcessId()) + L".tmp")));
    EXPECT_FALSE(FolderIsWritable(dir / L"missing"));
}
