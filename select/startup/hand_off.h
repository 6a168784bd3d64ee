// Letting the user adjust the settings in the settings application before a
// copy: start it with this instance's object names and wait for its answer.
#pragma once

#include <string>

#include <windows.h>

#include "settings_hand_off.h"

// Runs the exchange and stores the answer: 0 when none arrived, Cancel when
// the user has not answered within an hour. Messages to the calling
// thread's windows are dispatched while it waits. Returns 0,
// or -1 when the objects cannot be made or the program cannot be started
// (the latter after saying so).
[[nodiscard]] int RunSettingsHandOff(HWND owner, const std::wstring& programFolder, const std::wstring& objectPrefix,
                                     int& answer);
