// Every message box of the three programs goes through here: one caption per
// program, the owner or none, topmost where the program wants it, the icon,
// and the text formatted in the chosen language.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include <windows.h>

#include "format.h"
#include "language.h"

// Set once at start-up: the caption ("VaroSelect", "VaroSetting", "VaroUAC")
// and whether boxes stay on top.
void SetMessageBoxCaption(std::wstring caption, bool topmost);

// What one box would show; handed to the test hook.
struct MessageRequest {
    HWND owner;
    std::wstring caption;
    std::wstring text;
    UINT style;
};

// Replaces the system box (tests answer boxes without a screen); an empty
// function restores it. Returns what the box returns (IDOK, IDYES, ...).
void SetMessageBoxHook(std::function<int(const MessageRequest&)> hook);

// Shows text as it stands. `style` holds the icon and buttons (MB_ICONERROR,
// MB_YESNO, ...); MB_TOPMOST is added when the program asked for it.
int ShowMessageText(HWND owner, UINT style, std::wstring_view text);

// Shows a pair in the current language, filled with args (at most 1,023 characters).
int ShowMessage(HWND owner, UINT style, const MessagePair& pair, std::initializer_list<FormatArg> args = {});

// The same in a language chosen by the caller (messages shown before the
// language setting has been read).
int ShowMessageIn(bool japanese, HWND owner, UINT style, const MessagePair& pair,
                  std::initializer_list<FormatArg> args = {});
