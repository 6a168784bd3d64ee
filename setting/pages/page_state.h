// What a page of the main dialog owns and what the main dialog tells it.
// The main dialog hands each page the application's state when it creates
// it; the page keeps its own state in its window's user data from
// WM_INITDIALOG to WM_NCDESTROY, so nothing of a page lives in a global.
#pragma once

#include <memory>

#include <windows.h>

// Sent by the main dialog: set every text in the current language.
constexpr UINT kPageLanguageChanged = WM_APP + 1;
// Sent by the main dialog to the registration page: the DPI has changed.
constexpr UINT kPageDpiChanged = WM_APP + 2;

// The page's state; none before WM_INITDIALOG and after WM_NCDESTROY.
template <typename State>
State* PageState(HWND page) {
    return reinterpret_cast<State*>(::GetWindowLongPtrW(page, DWLP_USER));
}

template <typename State>
State& KeepPageState(HWND page, std::unique_ptr<State> state) {
    State& kept = *state;
    ::SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(state.release()));
    return kept;
}

template <typename State>
void FreePageState(HWND page) {
    delete PageState<State>(page);
    ::SetWindowLongPtrW(page, DWLP_USER, 0);
}
