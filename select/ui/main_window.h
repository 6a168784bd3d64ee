// The copy tool's hidden main window, which owns the tray icon and the
// brushes; destroying it ends the program.
#pragma once

#include <windows.h>

#include "startup/copy_tool.h"

[[nodiscard]] bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(CopyToolApp& app);

void AddTrayIcon(const CopyToolApp& app);
