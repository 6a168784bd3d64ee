// Names of the copy tool's Explorer context-menu entries under the machine's
// classes: read by the settings application, written by the elevation helper.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include <windows.h>

#include "handles.h"

// The machine-wide classes, HKEY_LOCAL_MACHINE\Software\Classes, opened by
// that name. HKEY_CLASSES_ROOT would not do: it merges the current user's
// classes over the machine's and writes into the user's where the key exists
// there, and a helper elevated with another administrator's name would read
// and write that administrator's classes. Nothing when it cannot be opened.
UniqueRegKey OpenMachineClasses(REGSAM access);

// All files, then folders.
constexpr std::array<std::wstring_view, 2> kContextMenuRoots = {L"*\\shell", L"Folder\\shell"};

constexpr std::wstring_view kCopyToolProgram = L"VaroSelect.exe";
constexpr std::size_t kMaxEntryNameChars = 63;
constexpr std::size_t kMaxEntryKeyChars = 273;

// The copy tool's name as the menu and the shortcuts show it:
// "VaroSelect - 選択してコピー" or "VaroSelect - Select Copy", then the suffix.
std::wstring CopyToolDisplayName(bool japanese, std::wstring_view instanceSuffix);

// The program's file name without its extension, then the suffix ("VaroSelect_e2e").
std::wstring ContextMenuEntryName(std::wstring_view programFileName, std::wstring_view instanceSuffix);

// "<root>\<entry>" and "<root>\<entry>\Command".
std::wstring EntryKeyPath(std::wstring_view root, std::wstring_view entryName);
std::wstring CommandKeyPath(std::wstring_view root, std::wstring_view entryName);

// Step identifiers of a presence check: opening the "Command" key and the
// entry key failed; the first and the second root failed.
struct EntryCheckSteps {
    std::array<std::wstring_view, 2> keys;
    std::array<std::wstring_view, 2> roots;
};

// Whether the "Command" key and the entry key are there under both roots:
// 0 when all four open, else the result of the first root that fails: 4 not
// found, 3 reading refused, -1 otherwise (recording the key's step with the
// platform error, then the root's step). Keys are opened for reading only: a
// presence check needs no more, so a normal user's check is not refused.
[[nodiscard]] int CheckContextMenuEntries(HKEY classesRoot, std::wstring_view entryName, const EntryCheckSteps& steps);
