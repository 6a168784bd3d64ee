#include "setting_app.h"

#include "dpi.h"
#include "main_dialog.h"
#include "message_box.h"
#include "message_loop.h"
#include "resource.h"
#include "setting_window_lock.h"

namespace {

constexpr wchar_t kClassName[] = L"VaroSettingClass";
constexpr MessagePair kClassFailed = {L"Could not register window class.", L"Could not register window class."};
constexpr MessagePair kDialogFailed = {L"Unable to create the main window.", L"Unable to create the main window."};

LRESULT CALLBACK ClassWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefDlgProcW(window, message, wParam, lParam);
}

bool RegisterSettingClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ClassWindowProc;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VARO_SETTING));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return ::RegisterClassExW(&windowClass) != 0;
}

}  // namespace

int RunSettingApp(HINSTANCE instance, const wchar_t* commandLine) {
    SettingApp app;
    app.instance = instance;
    SetMessageBoxCaption(L"VaroSetting", false);
    LookUpDpiFunctions();
    // Start-up messages come before the settings are read, so they are English only and stay on top.
    if (!RegisterSettingClass(instance)) {
        ShowMessageIn(false, nullptr, MB_ICONERROR | MB_TOPMOST, kClassFailed);
        return 0;
    }
    app.handOff = ParseCommandLine(commandLine ? commandLine : L"");
    app.paths = ResolveSettingsPaths();
    app.windowName = SettingWindowName(app.paths.instanceSuffix);
    const SettingWindowLock lock(app.windowName, app.handOff);
    if (!lock.held()) return 0;
    HWND dialog = CreateMainDialog(app);
    if (!dialog) {
        ShowMessageIn(false, nullptr, MB_ICONERROR | MB_TOPMOST, kDialogFailed);
        return 0;
    }
    ::ShowWindow(dialog, SW_SHOWNORMAL);
    ::UpdateWindow(dialog);
    return RunMessageLoop(dialog);
}
