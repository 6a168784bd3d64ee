// Splitting the copy tool's command line into source paths, the way Explorer
// passes them: separated by single blanks, quoted when they hold blanks.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

enum class SplitOutcome {
    Completed,  // the whole line was read
    Cancelled,  // the cancel check answered yes before a character
    TooLong,    // a path reached 260 characters; its message has been shown
};

// Calls `copy` for each path as soon as it is complete, so one path is copied
// before the next is read. `cancelled` is asked before every character.
SplitOutcome ForEachCommandLinePath(std::wstring_view commandLine,
                                    const std::function<void(const std::wstring& path)>& copy,
                                    const std::function<bool()>& cancelled);

// The paths that ForEachCommandLinePath hands out, in their order, up to a
// path that is too long; no message is shown.
std::vector<std::wstring> CommandLinePaths(std::wstring_view commandLine);
