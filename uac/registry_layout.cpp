#include "registry_layout.h"

#include "context_menu_keys.h"
#include "format.h"

std::vector<BYTE> ValueBytes(const RegistryValue& value) {
    if (value.type == REG_DWORD) {
        const DWORD n = value.number;
        return {static_cast<BYTE>(n), static_cast<BYTE>(n >> 8), static_cast<BYTE>(n >> 16),
                static_cast<BYTE>(n >> 24)};
    }
    std::vector<BYTE> bytes;
    bytes.reserve((value.text.size() + 1) * 2);
    for (const wchar_t c : value.text) {
        bytes.push_back(static_cast<BYTE>(c & 0xFF));
        bytes.push_back(static_cast<BYTE>(c >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

std::array<RegistryKey, 2> ContextMenuLayout(std::wstring_view root, std::wstring_view entryName,
                                             std::wstring_view programPath, std::wstring_view menuText) {
    const std::wstring quoted = FormatText(L"\"%s\"", {programPath}, 1024);
    RegistryKey entry{EntryKeyPath(root, entryName), L"UAC-CMC2", 2011, {}};
    entry.values = {
        {L"", REG_SZ, std::wstring(menuText), 0, L"UAC-CMC3", 2013},
        {L"Icon", REG_SZ, quoted, 0, L"UAC-CMC4", 2016},
        {L"Position", REG_SZ, L"Middle", 0, L"UAC-CMC5", 2019},
        {L"SeparatorBefore", REG_DWORD, L"", 1, L"UAC-CMC6", 2012},
        {L"SeparatorAfter", REG_DWORD, L"", 1, L"UAC-CMC7", 2015},
    };
    RegistryKey command{CommandKeyPath(root, entryName), L"UAC-CMC8", 2018, {}};
    command.values = {{L"", REG_SZ, quoted + L" \"%1\"", 0, L"UAC-CMC9", 2021}};
    return {std::move(entry), std::move(command)};
}
