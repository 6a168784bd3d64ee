// Checks of the destination folder on confirming.
#pragma once

#include <optional>

#include "confirmation_checks.h"

// Path of 260 characters or more is refused.
std::optional<CheckFailure> CheckDestinationLength(const Settings& settings);

// With CopyMode 1, a Path that is not a folder is created with its parents.
std::optional<CheckFailure> CheckDestinationFolder(const Settings& settings, const FolderOperations& folders);
