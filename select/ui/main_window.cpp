#include "ui/main_window.h"

#include <shellapi.h>

#include "ui/progress_logic.h"
#include "ui/resource.h"

namespace {

constexpr wchar_t kClassName[] = L"VaroSelect";

CopyToolApp* AppOf(HWND window) {
    return reinterpret_cast<CopyToolApp*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

NOTIFYICONDATAW TrayData(const CopyToolApp& app) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = app.mainWindow;
    data.uID = kTrayIconId;
    return data;
}

void ShowProgressWindow(const CopyToolApp& app) {
    if (!app.progressWindow) return;
    ::ShowWindow(app.progressWindow, SW_SHOW);
    ::SetForegroundWindow(app.progressWindow);
}

void OnTrayCallback(const CopyToolApp& app, LPARAM event) {
    const UINT mouse = LOWORD(event);
    if (mouse == WM_LBUTTONDBLCLK || mouse == WM_RBUTTONDOWN) ShowProgressWindow(app);
}

void OnDestroy(CopyToolApp& app) {
    NOTIFYICONDATAW data = TrayData(app);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    app.brushes = {};
    app.mainWindow = nullptr;
    ::PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    CopyToolApp* app = AppOf(window);
    if (!app) return ::DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_CREATE:
            app->brushes.Create();
            return 0;
        case kTrayCallbackMessage:
            OnTrayCallback(*app, lParam);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDM_EXIT) {
                if (app->progressWindow) ::SendMessageW(app->progressWindow, WM_CLOSE, 0, 0);
                ::DestroyWindow(window);
                return 0;
            }
            break;
        case WM_DESTROY:
            OnDestroy(*app);
            return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void StateBrushes::Create() {
    for (std::size_t i = 0; i < std::size(kStates); ++i) {
        const StateColors colours = ColorsFor(kStates[i]);
        window[i].reset(::CreateSolidBrush(colours.background));
        cancel[i].reset(::CreateSolidBrush(colours.cancel));
    }
}

HBRUSH StateBrushes::For(int runState, bool cancelControl) const {
    std::size_t index = 0;  // any state that is not final looks like running
    for (std::size_t i = 0; i < std::size(kStates); ++i)
        if (kStates[i] == runState) index = i;
    return static_cast<HBRUSH>((cancelControl ? cancel : window)[index].get());
}

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VARO));
    windowClass.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_VARO), IMAGE_ICON,
                                                          ::GetSystemMetrics(SM_CXSMICON),
                                                          ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN);
    windowClass.lpszClassName = kClassName;
    return ::RegisterClassExW(&windowClass) != 0;
}

HWND CreateMainWindow(CopyToolApp& app) {
    app.mainWindow = ::CreateWindowExW(0, kClassName, L"VaroSelect", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, app.instance, &app);
    return app.mainWindow;
}

void AddTrayIcon(const CopyToolApp& app) {
    NOTIFYICONDATAW data = TrayData(app);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = static_cast<HICON>(::LoadImageW(app.instance, MAKEINTRESOURCEW(IDI_VARO), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                                 LR_DEFAULTCOLOR));
    lstrcpynW(data.szTip, L"VaroSelect", ARRAYSIZE(data.szTip));
    ::Shell_NotifyIconW(NIM_ADD, &data);
}
