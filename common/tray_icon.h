// The notification-area icon of a program's hidden main window: one icon
// per window, whose mouse events reach the window as its callback message.
#pragma once

#include <string_view>

#include <windows.h>
#include <shellapi.h>

// The icon remembers what it shows, so that it can show it again: when
// Explorer restarts, the new taskbar has no icons and sends every top-level
// window the registered message "TaskbarCreated".
class TrayIcon {
public:
    void Add(HWND window, UINT callbackMessage, HICON icon, std::wstring_view tip);
    void Remove();
    // Changes the tip (cut to what the icon holds); nothing happens when it
    // is already that text.
    void SetTip(std::wstring_view tip);

    // For the window procedure: true when `message` is TaskbarCreated, after
    // adding the icon again if it is shown.
    bool OnTaskbarCreated(UINT message);

private:
    NOTIFYICONDATAW data_{};
    bool shown_ = false;
};

// The value of the registered message "TaskbarCreated".
UINT TaskbarCreatedMessage();

// An icon resource at the system's small-icon size; it lives as long as the program.
HICON LoadSmallIcon(HINSTANCE instance, int resourceId);
