// Small helpers that move values between a page's controls and the settings.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include <windows.h>

#include "language.h"
#include "settings.h"

// A control's caption in both languages.
struct ControlCaption {
    int id;
    MessagePair text;
};

// Sets every listed caption in the current language.
void SetControlTexts(HWND page, std::span<const ControlCaption> texts);

// Gives the controls the system's default GUI font (the templates' font
// has no room for long paths and condition lists).
void SetDefaultGuiFont(HWND control);
void SetDefaultGuiFont(HWND dialog, std::span<const int> ids);

void EnableControls(HWND dialog, std::span<const int> ids, bool enabled);

bool IsChecked(HWND page, int id);
void SetChecked(HWND page, int id, bool checked);

// The control's text, at most maxChars characters.
std::wstring ControlText(HWND page, int id, std::size_t maxChars);
void SetControlText(HWND page, int id, const std::wstring& text);

// Selected index of a list or combo box, -1 when none.
int ListSelection(HWND page, int id);
void SelectListItem(HWND page, int id, int index);

// Replaces a list's items by `items` in the current language, keeping the selected index.
void RefillList(HWND page, int id, std::span<const MessagePair> items);

// Fills an editable combo box with the history (empty entries included), then sets its text.
void FillHistoryCombo(HWND page, int id, const History& history, const std::wstring& text, std::size_t maxChars);

// Refills an editable combo box from the history after the history organiser
// changed it. The field keeps its text (emptying the list would clear it);
// the list selection stays only where the entry still holds that text.
void RefillHistoryCombo(HWND page, int id, const History& history, std::size_t maxChars);
