// Paths the archiver opens, in the form Windows does not cut at 260
// characters.
#pragma once

#include <string>
#include <string_view>

// The full, normal form of a path (relative parts, "." and ".." resolved,
// "/" made "\"), extended-length when it is on a drive or a share. A path
// the system cannot make full is returned as it is.
std::wstring FullExtendedPath(std::wstring_view path);
