#include "tray_icon.h"

#include <mutex>

namespace {

constexpr UINT kTrayIconId = 1;

struct NotifyHook {
    std::mutex lock;
    std::function<BOOL(DWORD, const NOTIFYICONDATAW&)> hook;
};

NotifyHook& Hook() {
    static NotifyHook hook;
    return hook;
}

BOOL NotifyIcon(DWORD action, NOTIFYICONDATAW& data) {
    std::function<BOOL(DWORD, const NOTIFYICONDATAW&)> hook;
    {
        std::lock_guard guard(Hook().lock);
        hook = Hook().hook;
    }
    if (hook) return hook(action, data);
    return ::Shell_NotifyIconW(action, &data);
}

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
    NotifyIcon(NIM_ADD, data_);
    // Shown even when the taskbar refused it: a new taskbar gets it again.
    shown_ = true;
}

void TrayIcon::Remove() {
    if (!shown_) return;
    NotifyIcon(NIM_DELETE, data_);
    shown_ = false;
}

bool TrayIcon::OnTaskbarCreated(UINT message) {
    const UINT created = TaskbarCreatedMessage();
    if (created == 0 || message != created) return false;
    // The message may also come while the icon is still there (another
    // program broadcasts it); the icon is then brought up to date instead.
    if (shown_ && !NotifyIcon(NIM_ADD, data_)) NotifyIcon(NIM_MODIFY, data_);
    return true;
}

UINT TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void SetNotifyIconHook(std::function<BOOL(DWORD action, const NOTIFYICONDATAW& data)> hook) {
    std::lock_guard guard(Hook().lock);
    Hook().hook = std::move(hook);
}

HICON LoadSmallIcon(HINSTANCE instance, int resourceId) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                                           ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                           LR_DEFAULTCOLOR));
}
