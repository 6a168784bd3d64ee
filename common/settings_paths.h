// Where an installation keeps its settings: the program folder's name picks
// a subfolder of the user's Application Data folder, so installations side by
// side keep separate settings (and, through the suffix, separate names).
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct SettingsPaths {
    std::wstring programFolder;   // ends with "\"
    std::wstring instanceSuffix;  // "" for the standard installation, else "_" + name
    std::wstring settingsFolder;  // ends with "\"; empty when Application Data is unknown
    std::wstring settingsFile;    // varo.ini (empty with the folder)
    std::wstring temporaryFile;   // varo_tmp.ini
    // Beside the program, or in the settings folder when this process cannot
    // write into the program folder (an installation under Program Files).
    std::wstring backupFile;  // varo_bk.ini
    std::wstring debugLog;    // varo_debug.log
};

// "" for a folder named "varo" (any case); otherwise "_" and the folder name
// in lower case, without a leading "varo" or "varo_".
std::wstring DeriveInstanceSuffix(std::wstring_view programFolder);

// The instance name: the suffix without its leading "_".
std::wstring InstanceName(std::wstring_view instanceSuffix);

// `programFolderWritable` places varo_bk.ini and varo_debug.log: beside the
// program when true or when there is no settings folder, else in the settings folder.
SettingsPaths MakeSettingsPaths(std::wstring_view programFolder, const std::optional<std::wstring>& appDataFolder,
                                bool programFolderWritable = true);

// Whether this process can create a file in the folder: a probe file is
// created there and deleted again. Only trying answers it for every case
// (access lists, a read-only medium or share, a folder that is not there).
bool FolderIsWritable(std::wstring_view folder);

// The paths of the running program.
SettingsPaths ResolveSettingsPaths(std::wstring_view stepPrefix = L"");
