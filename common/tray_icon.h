// The notification-area icon of a program's hidden main window: one icon
// per window, whose mouse events reach the window as callbackMessage.
#pragma once

#include <string_view>

#include <windows.h>

void AddTrayIcon(HWND window, UINT callbackMessage, HICON icon, std::wstring_view tip);
void RemoveTrayIcon(HWND window);

// An icon resource at the system's small-icon size; it lives as long as the program.
HICON LoadSmallIcon(HINSTANCE instance, int resourceId);
