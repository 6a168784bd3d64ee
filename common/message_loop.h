// The message loop of a program's window thread.
#pragma once

#include <windows.h>

// Dispatches the thread's messages until WM_QUIT and returns its code. With
// a dialog, its keyboard handling (Tab, Enter, Esc, access keys) sees each
// message first.
int RunMessageLoop(HWND dialog = nullptr);
