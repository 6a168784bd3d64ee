// Bringing a window in front of the others.
#pragma once

#include <windows.h>

// Not topmost, topmost, not topmost: lifts the window above the others and
// leaves it an ordinary window that others may cover again. Never waits for
// the window's thread when that is another one.
void RaiseWithoutStayingOnTop(HWND window);
