#include "registry_writer.h"

#include <string>

#include "handles.h"
#include "step_trace.h"

namespace {

void Record(const DeleteSteps* steps, int index, LONG error) {
    if (steps) RecordStep(steps->ids[index], steps->codes[index], static_cast<std::uint32_t>(error));
}

bool IsMissing(LONG error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

LONG WriteRegistryKey(HKEY classesRoot, const RegistryKey& key) {
    UniqueRegKey handle;
    const LONG created = ::RegCreateKeyExW(classesRoot, key.path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_ALL_ACCESS, nullptr, handle.put(), nullptr);
    if (created != ERROR_SUCCESS) {
        RecordStep(key.stepId, key.failureCode, static_cast<std::uint32_t>(created));
        return created;
    }
    for (const RegistryValue& value : key.values) {
        const std::vector<BYTE> bytes = ValueBytes(value);
        const LONG set = ::RegSetValueExW(handle.get(), value.name.empty() ? nullptr : value.name.c_str(), 0,
                                          value.type, bytes.data(), static_cast<DWORD>(bytes.size()));
        if (set != ERROR_SUCCESS) {
            RecordStep(value.stepId, value.failureCode, static_cast<std::uint32_t>(set));
            return set;
        }
    }
    return ERROR_SUCCESS;
}

int DeleteRegistryKey(HKEY classesRoot, std::wstring_view path, const DeleteSteps* steps) {
    const std::wstring keyPath(path);
    UniqueRegKey key;
    const LONG opened = ::RegOpenKeyExW(classesRoot, keyPath.c_str(), 0, KEY_READ | DELETE, key.put());
    if (opened != ERROR_SUCCESS) {
        Record(steps, IsMissing(opened) ? 0 : 1, opened);
        return IsMissing(opened) ? kKeyMissing : kKeyDeleteFailed;
    }
    const LONG deleted = ::RegDeleteKeyW(classesRoot, keyPath.c_str());
    if (deleted != ERROR_SUCCESS) {
        Record(steps, IsMissing(deleted) ? 2 : 3, deleted);
        return IsMissing(deleted) ? kKeyMissing : kKeyDeleteFailed;
    }
    return kKeyDeleted;
}
