// Source and destination paths in the form Windows resolves them to, and
// whether a destination lies inside the source.
#pragma once

#include <string>
#include <string_view>

// The full, normal form of a path as Windows would resolve it: "/" becomes
// "\", repeated separators collapse, "." and ".." are applied (never above
// the drive or share), and trailing dots and spaces of the last component
// are dropped. "\\?\" paths stay as they are; a path without a drive or
// share is made full against the current folder first. No trailing "\"
// except after a bare drive ("C:\").
std::wstring NormalizeSourcePath(std::wstring_view path);

// True when path lies strictly below folder (both in normal form; compared
// without regard to case). A folder is not inside itself.
bool IsInsideFolder(std::wstring_view path, std::wstring_view folder);
