// The length check of a path the run is about to write (a copy, an archive,
// a work folder, a copy result list).
#pragma once

#include <cstddef>
#include <string_view>

// True when the path holds at most `limit` characters; otherwise shows the
// message that names the limit, the path and its length.
[[nodiscard]] bool OutputPathFits(std::wstring_view path, std::size_t limit);
