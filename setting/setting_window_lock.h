// One settings window per installation (per settings folder): two windows
// would edit one varo.ini, and the later OK would silently overwrite what
// the other had saved. The first start holds the installation's lock for
// its lifetime and marks its window; a later start finds that window and
// brings it to the front.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

#include "handles.h"
#include "setting_command_line.h"

// The name of the installation's lock and of the property that marks its
// window: derived from the instance suffix, which picks the settings folder.
std::wstring SettingWindowName(std::wstring_view instanceSuffix);

// The open settings window of the installation; none when there is none.
HWND FindSettingWindow(std::wstring_view name);

// Marks the main dialog as the installation's settings window, and takes
// the mark off again while it is destroyed.
void MarkSettingWindow(HWND dialog, std::wstring_view name);
void UnmarkSettingWindow(HWND dialog, std::wstring_view name);

// Brings the window to the front (restored when minimised).
void BringSettingWindowForward(HWND window);

class SettingWindowLock {
public:
    // Takes the installation's lock for this start. When another window of
    // the installation is open, it comes to the front; a plain start then
    // gives way at once, while a start of the copy tool's hand-off waits
    // until that window has closed (so that the user's edits there are saved
    // or dropped by the user, then read here) or the copy tool has gone.
    SettingWindowLock(std::wstring_view name, const HandOffRequest& handOff);
    // Gives the lock up for a start that waits (on the same thread).
    ~SettingWindowLock();
    SettingWindowLock(const SettingWindowLock&) = delete;
    SettingWindowLock& operator=(const SettingWindowLock&) = delete;

    // False when this start must end without a window.
    [[nodiscard]] bool held() const { return held_; }

private:
    UniqueKernelHandle mutex_;
    bool held_ = false;
};
