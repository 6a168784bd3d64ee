// The folder browser in which the user picks a destination folder.
#pragma once

#include <string>

#include <windows.h>

#include "run/browse_answer.h"

// Brings `owner` (the progress window) to the front and shows the browser
// rooted at the desktop with `initialFolder` selected. A typed folder that
// does not exist closes the browser, says so, and answers nameInvalid.
BrowseAnswer BrowseForDestination(HWND owner, const std::wstring& initialFolder);
