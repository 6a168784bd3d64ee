// DPI of the settings application's windows, from the newest call the
// system offers (looked up at run time).
#pragma once

#include <windows.h>

// Looks up GetDpiForWindow (user32) and GetDpiForMonitor (Shcore) once;
// a missing one is not used.
void LookUpDpiFunctions();

// The window's DPI, else its monitor's effective DPI, else the screen's.
UINT GetWindowDpi(HWND window);
