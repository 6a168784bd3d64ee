// Registration page (template 111): where the copy tool can be started from,
// and the two check boxes StartSetting and AutoClose.
#pragma once

#include <windows.h>

#include "settings.h"

// Created with the application's state (SettingApp) as its parameter.
INT_PTR CALLBACK RegistrationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Its fields of the settings, read back from the controls.
void ReadRegistrationPage(HWND page, Settings& settings);
