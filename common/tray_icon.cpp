#include "tray_icon.h"

#include <algorithm>

namespace {

constexpr UINT kTrayIconId = 1;

}  // namespace

void TrayIcon::Add(HWND window, UINT callbackMessage, HICON icon, std::wstring_view tip) {
    data_ = {};
    data_.cbSize = sizeof data_;
    data_.hWnd = window;
    data_.uID = kTrayIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon;
    tip.copy(data_.szTip, std::size(data_.szTip) - 1);
    // An elevated program (VaroUAC) would not hear the message from the
    // user's Explorer: registered messages from a lower integrity level are
    // filtered out unless the window lets them through.
    ::ChangeWindowMessageFilterEx(window, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
    ::Shell_NotifyIconW(NIM_ADD, &data_);
    // Shown even when the taskbar refused it: a new taskbar gets it again.
    shown_ = true;
}

void TrayIcon::Remove() {
    if (!shown_) return;
    ::Shell_NotifyIconW(NIM_DELETE, &data_);
    shown_ = false;
}

void TrayIcon::SetTip(std::wstring_view tip) {
    tip = tip.substr(0, std::size(data_.szTip) - 1);
    if (tip == data_.szTip) return;
    std::fill(std::begin(data_.szTip), std::end(data_.szTip), L'\0');
    tip.copy(data_.szTip, tip.size());
    if (shown_) ::Shell_NotifyIconW(NIM_MODIFY, &data_);
}

bool TrayIcon::OnTaskbarCreated(UINT message) {
    const UINT created = TaskbarCreatedMessage();
    if (created == 0 || message != created) return false;
    // The message may also come while the icon is still there (another
    // program broadcasts it); the icon is then brought up to date instead.
    if (shown_ && !::Shell_NotifyIconW(NIM_ADD, &data_)) ::Shell_NotifyIconW(NIM_MODIFY, &data_);
    return true;
}

UINT TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

HICON LoadSmallIcon(HINSTANCE instance, int resourceId) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                           ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                           LR_DEFAULTCOLOR));
}
