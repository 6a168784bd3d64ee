// The settings application's state and its entry point. RunSettingApp makes
// the state and hands it to the main dialog when it creates it; the main
// dialog hands it on to each page. One user-interface thread owns all of it.
#pragma once

#include <array>
#include <string>

#include <windows.h>

#include "setting_command_line.h"
#include "settings.h"
#include "settings_paths.h"

// The pages in tab order.
enum PageIndex : int { kRegistrationPage = 0, kCopyToPage = 1, kConditionsPage = 2, kPageCount = 3 };

struct SettingApp {
    HINSTANCE instance = nullptr;
    HandOffRequest handOff;
    SettingsPaths paths;
    std::wstring windowName;  // marks the main dialog as its installation's (setting_window_lock.h)
    Settings settings;
    HWND mainDialog = nullptr;
    HWND tabs = nullptr;
    std::array<HWND, kPageCount> pages{};
    int lastLanguage = -1;  // index last seen in the language list
};

// Registers the class, opens the main dialog and runs the message loop;
// returns the quit code, or 0 when start-up fails.
int RunSettingApp(HINSTANCE instance, const wchar_t* commandLine);
