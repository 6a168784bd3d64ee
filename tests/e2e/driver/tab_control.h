// Reading the tab captions of another process's tab control.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

// The captions of every tab, in order.
std::vector<std::wstring> TabCaptions(HWND tabs);
