#include "ui/main_window.h"

#include "ui/resource.h"

namespace {

constexpr wchar_t kClassName[] = L"VaroSelect";
constexpr UINT kTrayCallbackMessage = WM_APP + 1;

MainWindowLinks* LinksOf(HWND window) {
    return reinterpret_cast<MainWindowLinks*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
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

void OnDestroy(MainWindowLinks& links) {
    links.trayIcon.Remove();
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
    // A registered message, so it cannot be a case below.
    if (links->trayIcon.OnTaskbarCreated(message)) return 0;
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
            OnDestroy(*links);
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
    windowClass.hIconSm = LoadSmallIcon(instance, IDI_VARO);
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

void AddMainTrayIcon(MainWindowLinks& links) {
    links.trayIcon.Add(*links.window, kTrayCallbackMessage, LoadSmallIcon(links.instance, IDI_VARO), L"VaroSelect");
}
