// The folder browser in which the user picks a destination folder.
#pragma once

#include <string>

#include <windows.h>

#include "folder_browser.h"

// Brings the progress window to the front and shows the browser, owned by
// no window, with `initialFolder` selected. A typed folder that does not
// exist closes the browser, says so, and answers nameInvalid.
BrowseAnswer BrowseForDestination(HWND progressWindow, const std::wstring& initialFolder);
