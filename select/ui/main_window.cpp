#include "ui/main_window.h"

#include <shellapi.h>

#include "ui/resource.h"

namespace {

constexpr wchar_t kClassName[] = L"VaroSelect";
constexpr UINT kTrayCallbackMessage = WM_APP + 1;
constexpr UINT kTrayIconId = 1;

MainWindowLinks* LinksOf(HWND window) {
    return reinterpret_cast<MainWindowLinks*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

NOTIFYICONDATAW TrayData(HWND mainWindow) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = mainWindow;
    data.uID = kTrayIconId;
    return data;
}

void ShowProgressWindow(HWND progressWindow) {
    if (!progressWindow) return;
    ::ShowWindow(progressWindow, SW_SHOW);
    ::SetForegroundWindow(progressWindow);
}

void OnTrayCallback(const MainWindowLinks& links, LPARAM event) {
    const UINT mouse = LOWORD(event);
    if (mouse == WM_LBUTTONDBLCLK || mouse == WM_RBUTTONDOWN) ShowProgressWindow(*links.progressWindow);
}

void OnExit(const MainWindowLinks& links, HWND window) {
    if (const HWND progress = *links.progressWindow) ::SendMessageW(progress, WM_CLOSE, 0, 0);
    ::DestroyWindow(window);
}

void OnDestroy(MainWindowLinks& links, HWND window) {
    NOTIFYICONDATAW data = TrayData(window);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    *links.window = nullptr;
    ::PostQuitMessage(0);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    MainWindowLinks* links = LinksOf(window);
    if (!links) return ::DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case kTrayCallbackMessage:
            OnTrayCallback(*links, lParam);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDM_EXIT) {
                OnExit(*links, window);
                return 0;
            }
            break;
        case WM_DESTROY:
            OnDestroy(*links, window);
            return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

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

HWND CreateMainWindow(MainWindowLinks& links) {
    *links.window = ::CreateWindowExW(0, kClassName, L"VaroSelect", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, links.instance, &links);
    return *links.window;
}

void AddTrayIcon(HINSTANCE instance, HWND mainWindow) {
    NOTIFYICONDATAW data = TrayData(mainWindow);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_VARO), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                                 LR_DEFAULTCOLOR));
    lstrcpynW(data.szTip, L"VaroSelect", ARRAYSIZE(data.szTip));
    ::Shell_NotifyIconW(NIM_ADD, &data);
}
