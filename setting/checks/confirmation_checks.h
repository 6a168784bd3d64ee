// The checks that run when the user confirms the settings, in their fixed
// order; the first that fails ends the confirmation with its message.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "format.h"
#include "language.h"
#include "settings.h"

// A failed check's message, formatted in both languages.
struct CheckFailure {
    std::wstring ja;
    std::wstring en;
    std::wstring_view text() const { return Pick({ja, en}); }
};

// The file-system operations the checks need, replaceable in tests.
struct FolderOperations {
    std::function<bool(const std::wstring&)> isFolder;
    std::function<bool(const std::wstring&)> createTree;  // true when created
};
FolderOperations SystemFolderOperations();

// The longest destination folder path accepted, in characters.
constexpr std::size_t kMaxDestinationChars = 259;

// Gives Path its trailing backslash, then runs the checks in order. Returns
// the first failure, or nothing when every check passed. Values the checks
// change (the backslash, a created folder) stay, also after a failure.
std::optional<CheckFailure> RunConfirmationChecks(Settings& settings, const FolderOperations& folders);

CheckFailure MakeCheckFailure(const MessagePair& message, std::initializer_list<FormatArg> args);
