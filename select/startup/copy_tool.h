// The copy tool's process: its windows, its settings, the worker thread and
// the state they share.
#pragma once

#include <atomic>
#include <string>

#include <windows.h>

#include "file_system.h"
#include "run/conditions.h"
#include "settings.h"
#include "settings_paths.h"
#include "startup/run_state.h"
#include "ui/main_window.h"

// What a test or benchmark build of the copy tool changes; the program itself
// keeps the defaults.
struct CopyToolSeams {
    FileSystem* files = nullptr;  // the runs' file operations instead of the system's
    bool countTotals = true;      // false: no counting pass for the progress window
};

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
    CopyToolSeams seams;

    SharedRunState shared;
};

// The program: windows, start-up, worker, message loop. Returns the exit code.
int RunCopyTool(HINSTANCE instance, std::wstring_view commandLine, const CopyToolSeams& seams = {});

// Settings, kernel-object names, the hand-off with the settings application,
// the date bounds and the tooltip. 0: go on; -1: start-up failed; 2: the
// settings application answered Cancel.
int InitCopyTool(CopyToolApp& app);
