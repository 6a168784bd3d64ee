// The context-menu entries of the copy tool as keys and values: one table,
// written by the one registry writer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

struct RegistryValue {
    std::wstring name;  // empty: the key's default value
    DWORD type = REG_SZ;
    std::wstring text;         // data of a REG_SZ value
    DWORD number = 0;          // data of a REG_DWORD value
    std::wstring_view stepId;  // recorded when setting the value fails
    std::uint32_t failureCode = 0;
};

struct RegistryKey {
    std::wstring path;         // below the classes root
    std::wstring_view stepId;  // recorded when creating the key fails
    std::uint32_t failureCode = 0;
    std::vector<RegistryValue> values;
};

// The bytes a value is stored as: a REG_SZ text with its terminating NUL, a
// REG_DWORD as four little-endian bytes.
std::vector<BYTE> ValueBytes(const RegistryValue& value);

// The entry key and its "Command" key under one root, in the order they are
// written: the menu text, the icon and position, both separators, and the
// command that hands the selected item to the copy tool as one quoted argument.
std::array<RegistryKey, 2> ContextMenuLayout(std::wstring_view root, std::wstring_view entryName,
                                             std::wstring_view programPath, std::wstring_view menuText);
