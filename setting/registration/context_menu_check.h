// Whether the copy tool's context-menu entries are registered, as the
// settings application sees it (the elevation helper writes them).
#pragma once

#include <string_view>

#include <windows.h>

// Only for action 9 (anything else gives 0): 0 when both keys of both roots
// are there, 4 when one is not, 3 when reading is refused, -1 otherwise.
// Records "CMC1"/"CMC2" for the failing key and "CMP1"/"CMP2" for its root.
[[nodiscard]] int ContextMenuCheck(HKEY classesRoot, std::wstring_view entryName, int action);
