// The main dialog's link to the maker's web page: a label that shows the hand
// cursor and opens the address when pressed.
#pragma once

#include <string_view>

#include <windows.h>

// A placeholder until the maker names its page.
constexpr std::wstring_view kMakerWebAddress = L"https://www.kestrel.example/";

// Shows the address in the label and gives it LinkProc, keeping the old procedure.
void AttachLink(HWND label);
