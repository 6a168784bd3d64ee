// The registration page's picture of the copy tool: 16 pixels scaled to the
// page's DPI, drawn from the icon made for that DPI class.
#pragma once

#include <windows.h>

#include "handles.h"

// DPI class of the picture: 0 below 144, 1 below 240, 2 below 912, else 3.
int DpiIconIndex(UINT dpi);

// The picture's side in pixels: 16 at 96 DPI, scaled as MulDiv rounds.
int RegistrationIconSize(UINT dpi);

// The bitmap the page's picture control shows; the page owns it.
class RegistrationIcon {
public:
    // Draws the picture for the page's current DPI into control 1066,
    // replacing (and deleting) the bitmap shown before.
    void Update(HWND page);

private:
    UniqueGdiObject bitmap_;
};
