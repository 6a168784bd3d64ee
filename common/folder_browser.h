// The shell's folder browser, as both the copy tool and the settings dialog
// show it: rooted at the desktop, file-system folders only, with an edit box
// whose typed names are validated.
#pragma once

#include <string>

#include <windows.h>

#include "language.h"

// The browser's answer: a folder, or empty after Cancel; nameInvalid when the
// user typed a folder that does not exist (the browser then closed at once).
struct BrowseAnswer {
    std::wstring folder;
    bool nameInvalid = false;
};

// What the caller says when the answer is nameInvalid.
constexpr MessagePair kSelectedFolderMissing = {L"選択したフォルダは存在しません。",
                                                L"Selected folder does not exist."};

// Shows the browser owned by `owner` (none: raised above the other windows)
// with `title` in the current language, starting with `initialFolder`
// selected when it is not empty.
BrowseAnswer BrowseForFolder(HWND owner, const MessagePair& title, const std::wstring& initialFolder);
