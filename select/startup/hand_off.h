// Letting the user adjust the settings in the settings application before a
// copy: start it with this instance's object names and wait for its answer.
#pragma once

#include <string>

#include <windows.h>

// Answers of the settings application.
enum SettingsAppAnswerCode : int {
    kAnswerSaved = 0,        // settings saved to varo.ini: reload it
    kAnswerThisRunOnly = 1,  // use varo_tmp.ini for this run
    kAnswerCancelled = 2,    // copy nothing
};

// Runs the exchange and stores the answer (0 when none arrived). Returns 0,
// or -1 when the objects cannot be made or the program cannot be started
// (the latter after saying so).
[[nodiscard]] int RunSettingsHandOff(HWND owner, const std::wstring& programFolder, const std::wstring& objectPrefix,
                                     int& answer);
