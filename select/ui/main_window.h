// The copy tool's hidden main window, which owns the tray icon; destroying
// it ends the program.
#pragma once

#include <atomic>

#include <windows.h>

#include "tray_icon.h"

// What the window works with; it must outlive the window.
struct MainWindowLinks {
    HINSTANCE instance = nullptr;
    std::atomic<HWND>* window = nullptr;          // holds the main window while it exists
    std::atomic<HWND>* progressWindow = nullptr;  // shown from the tray icon, closed by Exit
    TrayIcon trayIcon;                            // added after start-up, removed with the window
};

[[nodiscard]] bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(MainWindowLinks& links);

// The tray icon "VaroSelect"; a double click or right click shows the
// progress window. It comes back when Explorer restarts.
void AddMainTrayIcon(MainWindowLinks& links);
