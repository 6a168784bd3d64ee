// The copy tool's process: its windows, its settings, the worker thread and
// the state they share.
#pragma once

#include <atomic>
#include <string>

#include <windows.h>

#include "run/conditions.h"
#include "settings.h"
#include "settings_paths.h"
#include "startup/run_state.h"
#include "ui/main_window.h"

struct CopyToolApp {
    HINSTANCE instance = nullptr;
    // Read by the worker too (it posts to them), so kept atomic.
    std::atomic<HWND> mainWindow{nullptr};
    std::atomic<HWND> progressWindow{nullptr};
    MainWindowLinks mainWindowLinks{nullptr, &mainWindow, &progressWindow, {}};
    HWND tooltip = nullptr;

    SettingsPaths paths;
    Settings settings;  // written back by the worker only after its copies
    SelectionConditions conditions;
    int settingsAppAnswer = 0;
    std::wstring kernelObjectPrefix;
    std::wstring commandLine;

    SharedRunState shared;
};

// The program: windows, start-up, worker, message loop. Returns the exit code.
int RunCopyTool(HINSTANCE instance, std::wstring_view commandLine);

// Settings, kernel-object names, the hand-off with the settings application,
// the date bounds and the tooltip. 0: go on; -1: start-up failed; 2: the
// settings application answered Cancel.
int InitCopyTool(CopyToolApp& app);
