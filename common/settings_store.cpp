#include "settings_store.h"

#include "file_replace.h"
#include "message_box.h"
#include "paths.h"

namespace {
constexpr MessagePair kFolderFailed = {L"設定ファイルの保存先のディレクトリを作成できませんでした。\n\n%s",
                                       L"Setup was unable to create the destination directory for the file.\n\n%s"};
constexpr MessagePair kWriteFailed = {L"設定ファイルを書き込めませんでした。\n\n%s",
                                      L"Could not write the configuration file.\n\n%s"};
}  // namespace

void SeedSettingsFromBackup(const SettingsPaths& paths) {
    if (paths.settingsFile.empty() || PathExists(paths.settingsFile) || !PathExists(paths.backupFile)) return;
    if (!IsFolder(paths.settingsFolder)) (void)CreateFolderTree(paths.settingsFolder);
    (void)CopyFileWhole(paths.backupFile, paths.settingsFile);
}

Settings LoadAppSettings(const SettingsPaths& paths, const Settings& defaults) {
    Settings settings = defaults;
    (void)ReadSettingsFile(paths.settingsFile, settings, true);
    return settings;
}

int SaveAppSettings(HWND owner, const SettingsPaths& paths, const Settings& settings, bool useTemporary,
                    const ProfileKeyWriter& writeKey) {
    if (!IsFolder(paths.settingsFolder) && CreateFolderTree(paths.settingsFolder) != 0) {
        ShowMessage(owner, MB_ICONERROR, kFolderFailed, {paths.settingsFolder});
        return -1;
    }
    const std::wstring& target = useTemporary ? paths.temporaryFile : paths.settingsFile;
    if (!WriteSettingsFile(target, settings, writeKey)) {
        ShowMessage(owner, MB_ICONERROR, kWriteFailed, {target});
        return -1;
    }
    // Only a save that succeeded refreshes the backup; its result is ignored.
    if (!useTemporary) (void)CopyFileWhole(paths.settingsFile, paths.backupFile);
    return 0;
}
