// Starting a program as the signed-in user from the elevated helper. A
// program the helper starts itself inherits its administrator token, and
// Windows then refuses drops from Explorer onto that program's windows.
#pragma once

#include <string>

// Asks the shell's desktop window (Explorer, which runs as the user) to start
// the program with the verb "open": IShellWindows finds the desktop,
// its view's background object leads to IShellDispatch2::ShellExecute.
// False when there is no such shell or it refuses.
bool StartThroughDesktopShell(const std::wstring& file, const std::wstring& folder);
