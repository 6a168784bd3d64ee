#include "context_menu_keys.h"

#include "handles.h"
#include "paths.h"

std::wstring CopyToolDisplayName(bool japanese, std::wstring_view instanceSuffix) {
    const std::wstring_view name = japanese ? L"VaroSelect - 選択してコピー" : L"VaroSelect - Select Copy";
    return std::wstring(name) + std::wstring(instanceSuffix);
}

std::wstring ContextMenuEntryName(std::wstring_view programFileName, std::wstring_view instanceSuffix) {
    return SplitExtension(programFileName).base + std::wstring(instanceSuffix);
}

std::wstring EntryKeyPath(std::wstring_view root, std::wstring_view entryName) {
    return std::wstring(root) + L"\\" + std::wstring(entryName);
}

std::wstring CommandKeyPath(std::wstring_view root, std::wstring_view entryName) {
    return EntryKeyPath(root, entryName) + L"\\Command";
}

LONG ProbeKey(HKEY classesRoot, std::wstring_view path) {
    const std::wstring keyPath(path);
    HKEY raw = nullptr;
    const LONG error = ::RegOpenKeyExW(classesRoot, keyPath.c_str(), 0, KEY_READ, &raw);
    UniqueRegKey key(raw);
    return error;
}
