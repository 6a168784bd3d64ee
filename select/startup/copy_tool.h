// The copy tool's process: its windows, its settings, the worker thread and
// the state they share.
#pragma once

#include <array>
#include <atomic>
#include <string>

#include <windows.h>

#include "run/conditions.h"
#include "handles.h"
#include "startup/run_state.h"
#include "settings.h"
#include "settings_paths.h"

// Window messages of the copy tool.
constexpr UINT kTrayCallbackMessage = WM_APP + 1;
constexpr UINT kSourcesChangedMessage = WM_APP + 2;
constexpr UINT kTrayIconId = 1;

// Background brushes per run state, for the window and the Cancel control.
struct StateBrushes {
    static constexpr int kStates[] = {kRunRunning, kRunSucceeded, kRunNothingCopied, kRunFailed};
    std::array<UniqueGdiObject, 4> window;
    std::array<UniqueGdiObject, 4> cancel;

    void Create();
    HBRUSH For(int runState, bool cancelControl) const;
};

struct CopyToolApp {
    HINSTANCE instance = nullptr;
    // Read by the worker too (it posts to them), so kept atomic.
    std::atomic<HWND> mainWindow{nullptr};
    std::atomic<HWND> progressWindow{nullptr};
    HWND tooltip = nullptr;
    bool tooltipRegistered = false;

    SettingsPaths paths;
    Settings settings;  // written back by the worker only after its copies
    SelectionConditions conditions;
    int SettingsAppAnswer = 0;
    std::wstring KernelObjectPrefix;
    std::wstring commandLine;

    // Read by the window thread; fixed before the worker starts.
    int dirTree = 0;
    SharedRunState shared;
    std::atomic<bool> autoCloseNow{true};
    bool finished = false;  // the progress window shows the outcome
    StateBrushes brushes;
};

// The program: windows, start-up, worker, message loop. Returns the exit code.
int RunCopyTool(HINSTANCE instance, std::wstring_view commandLine);

// Settings, kernel-object names, the hand-off with the settings application,
// the date bounds and the tooltip. 0: go on; -1: start-up failed; 2: the
// settings application answered Cancel.
int InitCopyTool(CopyToolApp& app);
