// The elevation helper's run: one instance at a time, a hidden window with a
// tray icon while it works, one request answered, or the settings
// application started when no request was given.
#pragma once

#include <windows.h>

// Single-instance mutex of the helper.
constexpr wchar_t kUacMutexName[] = L"varouac quillon app 2016.10";

// Runs the helper; returns the process's exit code (1 when another copy runs).
int RunElevationHelper(HINSTANCE instance, const wchar_t* commandLine);

// Whether the process runs with administrator rights; a token that cannot
// be read counts as elevated.
bool RunsElevated();
