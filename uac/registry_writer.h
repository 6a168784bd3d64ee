// The one place that writes and deletes registry keys.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include <windows.h>

#include "registry_layout.h"

// Creates (or opens) the key, non-volatile with full access, and sets its
// values in order. A failure records the table's step with the platform
// error and ends the write. Returns 0 or the platform error.
[[nodiscard]] LONG WriteRegistryKey(HKEY classesRoot, const RegistryKey& key);

// Results of DeleteRegistryKey.
enum DeleteKeyResult : int {
    kKeyDeleted = 0,
    kKeyMissing = 4,  // nothing to delete
    kKeyDeleteFailed = -1,
};

// Step identifiers and failure codes of one key's removal: opening it found
// nothing / failed otherwise; deleting it found nothing / failed otherwise.
struct DeleteSteps {
    std::array<std::wstring_view, 4> ids;
    std::array<std::uint32_t, 4> codes;
};

// Opens the key to see that it is there, then deletes it (it must have no
// subkeys left). Records the failing step unless `steps` is null (quiet).
[[nodiscard]] int DeleteRegistryKey(HKEY classesRoot, std::wstring_view path, const DeleteSteps* steps);
