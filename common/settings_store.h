// Loading and saving as the settings application does it (the copy tool has
// its own variant beside its start-up code).
#pragma once

#include <windows.h>

#include "settings.h"
#include "settings_paths.h"

// Restores a missing varo.ini from varo_bk.ini; results are ignored.
void SeedSettingsFromBackup(const SettingsPaths& paths);

// Loads varo.ini over the defaults, Debug included.
Settings LoadAppSettings(const SettingsPaths& paths, const Settings& defaults);

// Writes every key but Debug to varo.ini, or to varo_tmp.ini when
// useTemporary, whole or not at all; after a save to varo.ini copies it over
// varo_bk.ini. Returns 0, or -1 after showing why, with `owner` owning the
// message box: the files are then as they were.
[[nodiscard]] int SaveAppSettings(HWND owner, const SettingsPaths& paths, const Settings& settings, bool useTemporary,
                                  const ProfileKeyWriter& writeKey = SystemProfileKeyWriter());
