// The folder browser's answer, as the copy run receives it.
#pragma once

#include <string>

// A folder, or empty after Cancel; nameInvalid when the user typed a folder
// that does not exist (the browser has said so).
struct BrowseAnswer {
    std::wstring folder;
    bool nameInvalid = false;
};
