#include "startup/copy_tool.h"

#include <commctrl.h>

#include <optional>

#include "startup/source_arguments.h"
#include "run/copy_rules.h"
#include "run/copy_run.h"
#include "run/run_failure.h"
#include "run/totals_count.h"
#include "explorer/explorer_view.h"
#include "ui/destination_browser.h"
#include "format.h"
#include "handles.h"
#include "startup/hand_off.h"
#include "ui/main_window.h"
#include "message_box.h"
#include "ui/progress_window.h"
#include "startup/run_end.h"
#include "startup/select_settings.h"
#include "startup/worker_stop.h"

namespace {

constexpr MessagePair kDropFolder = {L"コピーしたいフォルダをドロップしてください。",
                                     L"Please drop the folder you want to copy."};
constexpr DWORD kPauseBeforeEndMs = 500;
// The walk goes down a folder tree recursively, and with long paths a tree
// may be thousands of folders deep: room reserved (not committed) for that.
constexpr SIZE_T kWorkerStackBytes = 256u << 20;

bool IsBlankText(std::wstring_view text) {
    return text.find_first_not_of(L" \t") == std::wstring_view::npos;
}

std::wstring MakeKernelObjectPrefix(const std::wstring& instanceSuffix, HWND mainWindow) {
    return FormatText(L"KESTREL_%s_", {L"varo"}) + InstanceName(instanceSuffix) +
           FormatText(L"_%x", {reinterpret_cast<std::uintptr_t>(mainWindow)});
}

// After the settings application has answered: reload the stored settings
// or take this run's temporary ones; Cancel ends the program.
int ApplyHandOff(CopyToolApp& app, const Settings& defaults) {
    if (RunSettingsHandOff(app.mainWindow, app.paths.programFolder, app.kernelObjectPrefix, app.settingsAppAnswer) != 0)
        return -1;
    if (app.settingsAppAnswer != kAnswerSaved && app.settingsAppAnswer != kAnswerThisRunOnly) return 2;
    const bool temporary = app.settingsAppAnswer == kAnswerThisRunOnly;
    return LoadSettings(app.paths, temporary, defaults, app.settings, app.conditions) == 0 ? 0 : -1;
}

void CreateTooltip(CopyToolApp& app) {
    app.tooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, app.mainWindow, nullptr, app.instance, nullptr);
}

RunEndFacts FactsOf(const SharedRunState& shared, bool failed) {
    return {failed, shared.copyCancelRequested.load(), shared.somethingCopied.load(), shared.listFailed.load()};
}

void RunCommandLine(CopyToolApp& app) {
    SharedRunState& shared = app.shared;
    RunContext run(app.settings, app.conditions, shared);
    run.services.browse = [&app](const std::wstring& initial) {
        return BrowseForDestination(app.progressWindow, initial);
    };
    run.services.sourcesChanged = [&app] {
        if (app.progressWindow) ::PostMessageW(app.progressWindow, kSourcesChangedMessage, 0, 0);
    };
    if (app.seams.files) run.files = app.seams.files;
    if (WritesList(app.settings)) shared.listFailed = false;
    shared.copyCancelRequested = false;
    shared.somethingCopied = false;
    shared.runState = kRunRunning;
    // The totals are counted beside the copy, which starts at once.
    std::optional<TotalsCount> count;
    if (app.seams.countTotals && CountsTotals(app.settings))
        count.emplace(CommandLinePaths(app.commandLine), app.settings, app.conditions, *run.files, shared);

    bool failed = false;
    const SplitOutcome outcome = ForEachCommandLinePath(
        app.commandLine, [&](const std::wstring& path) { failed |= CopyOneSource(run, path) != 0; },
        [&shared] { return shared.copyCancelRequested.load(); });
    // After a path that was too long nothing more is copied, and the run
    // ends as failed, so the window shows it and closes as after any failure.
    if (outcome == SplitOutcome::TooLong) failed = true;
    count.reset();

    if (!app.progressWindow && app.mainWindow) ::PostMessageW(app.mainWindow, WM_CLOSE, 0, 0);
    if (app.settings.CopyMode == 1 && !run.chosenFolder.empty()) {
        app.settings.Path = run.chosenFolder;
        if (app.settingsAppAnswer == kAnswerSaved) SaveSettings(app.paths, app.settings);
    }
    ::Sleep(kPauseBeforeEndMs);
    if (const auto explorer = ExplorerTargetAfterRun(FactsOf(shared, failed), app.settings, run))
        ShowResultInExplorer(explorer->folder, explorer->item, &shared.copyCancelRequested);
    // Read again: Cancel may have been pressed while Explorer was shown. The
    // progress window shows the outcome on its own timer.
    const int state = FinalRunState(FactsOf(shared, failed), app.settings);
    shared.verified = app.settings.Verify == 1 && run.allVerified && state == kRunSucceeded;
    shared.runState = state;
}

DWORD WINAPI WorkerThread(void* parameter) {
    auto& app = *static_cast<CopyToolApp*>(parameter);
    RunWorkerBehindBarrier(
        app.shared, [&app] { RunCommandLine(app); },
        // The progress window shows the outcome on its own timer; without
        // one, the program ends.
        [&app] {
            if (!app.progressWindow && app.mainWindow) ::PostMessageW(app.mainWindow, WM_CLOSE, 0, 0);
        });
    return 0;
}

void ShowStartupFailure(const wchar_t* text) {
    ::MessageBoxW(nullptr, text, L"VaroSelect", MB_ICONERROR | MB_TOPMOST);
}

int RunMessageLoop(const CopyToolApp& app) {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (app.progressWindow && ::IsDialogMessageW(app.progressWindow, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int InitCopyTool(CopyToolApp& app) {
    app.shared.sourceNamesText.Clear();
    app.settingsAppAnswer = kAnswerSaved;
    app.paths = ResolveSettingsPaths();
    app.kernelObjectPrefix = MakeKernelObjectPrefix(app.paths.instanceSuffix, app.mainWindow);
    const Settings defaults = CopyToolDefaults();
    if (PrepareSettings(app.paths, defaults, app.settings, app.conditions) != 0) return -1;
    if (IsBlankText(app.commandLine)) {
        ShowMessage(nullptr, MB_ICONINFORMATION, kDropFolder);
        return -1;
    }
    if (app.settings.StartSetting == 1) {
        if (const int result = ApplyHandOff(app, defaults); result != 0) return result;
    }
    app.conditions.bounds = ComputeDateBounds(app.settings, LocalToday());
    CreateTooltip(app);
    return 0;
}

int RunCopyTool(HINSTANCE instance, std::wstring_view commandLine, const CopyToolSeams& seams) {
    SetMessageBoxCaption(L"VaroSelect", true);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    CopyToolApp app;
    app.instance = instance;
    app.mainWindowLinks.instance = instance;
    app.commandLine = std::wstring(commandLine);
    app.seams = seams;
    if (!RegisterMainWindowClass(instance)) {
        ShowStartupFailure(L"Could not register window class.");
        return 0;
    }
    if (!CreateMainWindow(app.mainWindowLinks)) {
        ShowStartupFailure(L"Unable to create the main window.");
        return 0;
    }
    ::ShowWindow(app.mainWindow, SW_HIDE);

    if (InitCopyTool(app) != 0) {
        ::DestroyWindow(app.mainWindow);
        return -1;
    }
    AddMainTrayIcon(app.mainWindowLinks);
    CreateProgressWindow({instance, &app.shared, &app.progressWindow, &app.mainWindow, app.tooltip,
                          app.settings.DirTree, app.settings.AutoClose == 1, DeliversZip(app.settings),
                          &app.mainWindowLinks.trayIcon});

    DWORD workerId = 0;
    UniqueKernelHandle worker(
        ::CreateThread(nullptr, kWorkerStackBytes, WorkerThread, &app, STACK_SIZE_PARAM_IS_A_RESERVATION, &workerId));
    if (!worker) {
        app.shared.runState = kRunFailed;
    }
    const int exitCode = RunMessageLoop(app);
    // Quit may leave the progress window up; it goes before the worker is
    // waited for, so that nothing of the program stays on the screen.
    if (const HWND progress = app.progressWindow) ::DestroyWindow(progress);
    if (worker) StopWorker(app.shared, worker.get(), workerId);
    return exitCode;
}
