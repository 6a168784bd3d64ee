// Named shared-memory blocks and events through which the programs hand
// small answers to each other. Every object admits the current user (elevated
// or not), the local Administrators group and SYSTEM, and nobody else.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include <windows.h>

#include "handles.h"

// A block holds one NUL-terminated UTF-16 text of at most 259 characters.
constexpr std::size_t kSharedBlockBytes = 520;

// The step identifiers and failure codes a program records for the three
// calls of one block operation (open or create, map, unmap).
struct BlockSteps {
    std::array<std::wstring_view, 3> ids;
    std::array<std::uint32_t, 3> codes;
};

// Creates the block filled with zeros; the handle keeps it alive. A block of
// that name that exists already is refused (ERROR_ALREADY_EXISTS), never
// shared. Records a failing step when `steps` is given.
UniqueKernelHandle CreateSharedBlock(std::wstring_view name, const BlockSteps* steps = nullptr);

// The text in the block; nothing when it cannot be opened or mapped.
std::optional<std::wstring> ReadSharedBlock(std::wstring_view name, const BlockSteps* steps = nullptr);

// Writes the text (cut to 259 characters) and zeros after it.
[[nodiscard]] bool WriteSharedBlock(std::wstring_view name, std::wstring_view text, const BlockSteps* steps = nullptr);

// A manual-reset event, created not signalled; refused like a block when one
// of that name exists.
UniqueKernelHandle CreateExchangeEvent(std::wstring_view name);
UniqueKernelHandle OpenExchangeEvent(std::wstring_view name);

// True while some process holds the block: its creator keeps it open for as
// long as it runs, so this also tells whether the partner is still there.
bool SharedBlockExists(std::wstring_view name);

// A mutex that several processes share: created not owned with the exchange
// objects' access, or opened when it exists. Nothing when neither works.
UniqueKernelHandle CreateSharedMutex(std::wstring_view name);

// A mutex created owned, that keeps a second copy of a program from running.
// `alreadyRunning` is true when another process holds it (or has made it
// unreachable); the handle must live as long as the program.
UniqueKernelHandle CreateSingleInstanceMutex(std::wstring_view name, bool& alreadyRunning);
