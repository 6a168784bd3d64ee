#include "context_menu_keys.h"

#include "handles.h"
#include "paths.h"
#include "step_trace.h"

UniqueRegKey OpenMachineClasses(REGSAM access) {
    UniqueRegKey key;
    ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes", 0, access, key.put());
    return key;
}

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

namespace {

int CheckKey(HKEY classesRoot, const std::wstring& path, std::wstring_view stepId) {
    UniqueRegKey key;
    const LONG error = ::RegOpenKeyExW(classesRoot, path.c_str(), 0, KEY_READ, key.put());
    if (error == ERROR_SUCCESS) return 0;
    RecordStep(stepId, 0, static_cast<std::uint32_t>(error));
    if (error == ERROR_ACCESS_DENIED) return 3;
    return error == ERROR_FILE_NOT_FOUND ? 4 : -1;
}

}  // namespace

int CheckContextMenuEntries(HKEY classesRoot, std::wstring_view entryName, const EntryCheckSteps& steps) {
    for (std::size_t i = 0; i < kContextMenuRoots.size(); ++i) {
        int result = CheckKey(classesRoot, CommandKeyPath(kContextMenuRoots[i], entryName), steps.keys[0]);
        if (result == 0) result = CheckKey(classesRoot, EntryKeyPath(kContextMenuRoots[i], entryName), steps.keys[1]);
        if (result != 0) {
            RecordStep(steps.roots[i], 0, 0);
            return result;
        }
    }
    return 0;
}
