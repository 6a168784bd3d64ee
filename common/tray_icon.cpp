#include "tray_icon.h"

#include <shellapi.h>

namespace {

constexpr UINT kTrayIconId = 1;

NOTIFYICONDATAW TrayData(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kTrayIconId;
    return data;
}

}  // namespace

void AddTrayIcon(HWND window, UINT callbackMessage, HICON icon, std::wstring_view tip) {
    NOTIFYICONDATAW data = TrayData(window);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    tip.copy(data.szTip, std::size(data.szTip) - 1);
    ::Shell_NotifyIconW(NIM_ADD, &data);
}

void RemoveTrayIcon(HWND window) {
    NOTIFYICONDATAW data = TrayData(window);
    ::Shell_NotifyIconW(NIM_DELETE, &data);
}

HICON LoadSmallIcon(HINSTANCE instance, int resourceId) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                           ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                           LR_DEFAULTCOLOR));
}
