// The copy tool's side of the settings file: it creates the file with
// defaults on the first run, loads it (checking the active condition lists as
// they are read) and writes the destination folder back after a run.
#pragma once

#include "run/conditions.h"
#include "settings.h"
#include "settings_paths.h"

// The defaults of this user: language from the UI language, Path below Documents.
Settings CopyToolDefaults();

// Loads varo.ini, or varo_tmp.ini when useTemporary, over `defaults`: sets
// the display language right after Lang and, with Select 1, parses the
// condition lists of the current SelectMode as soon as each is read. Returns
// -1 when a list fails its check or a fixed text of the name holds a
// character a file name cannot (its message has been shown).
[[nodiscard]] int LoadSettings(const SettingsPaths& paths, bool useTemporary, const Settings& defaults,
                               Settings& settings, SelectionConditions& conditions);

// Writes every key but Debug to varo.ini. A settings folder that cannot be
// created is reported; a file that cannot be written is not.
void SaveSettings(const SettingsPaths& paths, const Settings& settings);

// Start-up: restores a missing varo.ini from varo_bk.ini, or creates it (and
// the backup) with the defaults when neither exists, then loads it. Returns
// -1 when the load fails.
[[nodiscard]] int PrepareSettings(const SettingsPaths& paths, const Settings& defaults, Settings& settings,
                                  SelectionConditions& conditions);
