// Background brushes per run state, for the progress window and its Cancel
// control.
#pragma once

#include <array>

#include <windows.h>

#include "handles.h"

class StateBrushes {
public:
    StateBrushes();
    // Any state that is not final looks like running.
    HBRUSH For(int runState, bool cancelControl) const;

private:
    std::array<UniqueGdiObject, 4> window_;
    std::array<UniqueGdiObject, 4> cancel_;
};
