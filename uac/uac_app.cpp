#include "uac_app.h"

#include <shellapi.h>

#include <string>

#include "context_menu_entries.h"
#include "context_menu_keys.h"
#include "handles.h"
#include "kernel_objects.h"
#include "message_box.h"
#include "message_loop.h"
#include "paths.h"
#include "program_names.h"
#include "resource.h"
#include "settings_paths.h"
#include "shell_start.h"
#include "tray_icon.h"
#include "uac_answer.h"
#include "uac_command_line.h"
#include "uac_request.h"

namespace {

constexpr wchar_t kClassName[] = L"VaroUACClass";
constexpr wchar_t kWindowTitle[] = L"VaroUAC";
constexpr UINT kTrayCallbackMessage = WM_APP + 1;

// The window's tray icon, handed over at creation.
TrayIcon* TrayOf(HWND window) {
    return reinterpret_cast<TrayIcon*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

void OnDestroy(HWND window) {
    if (TrayIcon* tray = TrayOf(window)) tray->Remove();
    ::PostQuitMessage(0);
}

LRESULT CALLBACK HelperWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    // A registered message, so it cannot be a case below.
    if (TrayIcon* tray = TrayOf(window); tray && tray->OnTaskbarCreated(message)) return 0;
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDM_EXIT) {
                ::DestroyWindow(window);
                return 0;
            }
            break;
        case WM_DESTROY:
            OnDestroy(window);
            return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterHelperClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = HelperWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VARO_UAC));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDM_UAC);
    windowClass.lpszClassName = kClassName;
    return ::RegisterClassExW(&windowClass) != 0;
}

// Only Debug is read from the settings file: the helper needs nothing else.
UacContext MakeContext(HKEY classesRoot) {
    const SettingsPaths paths = ResolveSettingsPaths(L"UAC-");
    UacContext context;
    context.classesRoot = classesRoot;
    context.programFolder = paths.programFolder;
    context.instanceSuffix = paths.instanceSuffix;
    if (!paths.settingsFile.empty() && PathExists(paths.settingsFile)) {
        const UINT debug = ::GetPrivateProfileIntW(L"Env", L"Debug", 0, paths.settingsFile.c_str());
        if ((debug & 0xFFFF) != 0) context.debugLog = paths.debugLog;
    }
    return context;
}

// As the user when the shell can do it, so that drops from Explorer reach
// the dialog; else directly, with this process's rights.
void StartSettingsApp(const UacContext& context) {
    const std::wstring file = context.programFolder + std::wstring(kSettingProgramFile);
    if (StartThroughDesktopShell(file, context.programFolder)) return;
    ::ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

bool RunsElevated() {
    UniqueKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return true;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size)) return true;
    return elevation.TokenIsElevated != 0;
}

int RunElevationHelper(HINSTANCE instance, const wchar_t* commandLine) {
    bool alreadyRunning = false;
    const UniqueKernelHandle mutex = CreateSingleInstanceMutex(kUacMutexName, alreadyRunning);
    if (alreadyRunning) return 1;

    SetMessageBoxCaption(L"VaroUAC", true);
    if (!RegisterHelperClass(instance)) {
        ShowMessageText(nullptr, MB_ICONERROR, L"Could not register window class.");
        return 0;
    }
    TrayIcon trayIcon;
    const HWND window =
        ::CreateWindowExW(0, kClassName, kWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, nullptr, nullptr, instance, &trayIcon);
    if (!window) {
        ShowMessageText(nullptr, MB_ICONERROR, L"Unable to create the main window.");
        return 0;
    }

    const bool elevated = RunsElevated();
    const UniqueRegKey machineClasses = OpenMachineClasses(KEY_ALL_ACCESS);
    const UacContext context = MakeContext(machineClasses.get());
    const std::wstring_view line = commandLine ? commandLine : L"";
    if (IsEmptyCommandLine(line)) {
        StartSettingsApp(context);
    } else {
        trayIcon.Add(window, kTrayCallbackMessage, LoadSmallIcon(instance, IDI_VARO_UAC), kWindowTitle);
        (void)DeliverAnswer(context, HandleRequest(context, ParseUacArguments(line), elevated));
    }
    ::DestroyWindow(window);
    return RunMessageLoop();
}
