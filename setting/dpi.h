// DPI of the settings application's windows and the registration page's
// picture, which is drawn at 16 pixels scaled to the window's DPI from the
// icon made for that DPI class.
#pragma once

#include <windows.h>

// Looks up GetDpiForWindow (user32) and GetDpiForMonitor (Shcore) once;
// a missing one is not used.
void LookUpDpiFunctions();

// The window's DPI, else its monitor's effective DPI, else the screen's.
UINT GetWindowDpi(HWND window);

// DPI class of the registration picture: 0 below 144, 1 below 240, 2 below 912, else 3.
int DpiIconIndex(UINT dpi);

// The picture's side in pixels: 16 at 96 DPI, scaled as MulDiv rounds.
int RegistrationIconSize(UINT dpi);

// Draws icon `iconId` at size x size on the button face into a new bitmap and
// shows it in the page's static control; returns the bitmap (the caller owns it).
HBITMAP DrawScaledIcon(HWND page, int size, int iconId, int controlId);

// Redraws the registration picture for the page's current DPI, deleting the
// previous bitmap.
void UpdateRegistrationIcon(HWND page);

// Deletes the picture's bitmap (the page is being destroyed).
void ReleaseRegistrationIcon();
