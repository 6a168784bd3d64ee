// Writing a file so that it appears whole or not at all: the new content goes
// into a temporary file beside the target, is flushed, and then takes the
// target's place in one step.
#pragma once

#include <optional>
#include <string>

// Creates an empty temporary file with a unique name in the target's folder
// (the same volume, so that the final move is a rename). Nothing when the
// folder cannot take one.
std::optional<std::wstring> CreateTemporaryBeside(const std::wstring& target);

// Flushes the temporary file to the disk and moves it over the target
// (MoveFileExW, replacing, write-through). On failure the temporary file is
// deleted and the target is left as it was.
[[nodiscard]] bool ReplaceWithTemporary(const std::wstring& temporary, const std::wstring& target);

// Copies source over target the same way: a target that existed keeps its
// old content whole when the copy fails.
[[nodiscard]] bool CopyFileWhole(const std::wstring& source, const std::wstring& target);
