#include "context_menu_check.h"

#include <array>
#include <string>

#include "context_menu_keys.h"
#include "registration_decisions.h"
#include "step_trace.h"

namespace {

constexpr std::array<std::wstring_view, 2> kRootSteps = {L"CMP1", L"CMP2"};

int CheckKey(HKEY classesRoot, const std::wstring& path, std::wstring_view stepId) {
    const LONG error = ProbeKey(classesRoot, path);
    if (error == ERROR_SUCCESS) return 0;
    RecordStep(stepId, 0, static_cast<std::uint32_t>(error));
    if (error == ERROR_ACCESS_DENIED) return 3;
    return error == ERROR_FILE_NOT_FOUND ? 4 : -1;
}

int CheckRoot(HKEY classesRoot, std::wstring_view root, std::wstring_view entryName) {
    const int command = CheckKey(classesRoot, CommandKeyPath(root, entryName), L"CMC1");
    if (command != 0) return command;
    return CheckKey(classesRoot, EntryKeyPath(root, entryName), L"CMC2");
}

}  // namespace

int ContextMenuCheck(HKEY classesRoot, std::wstring_view entryName, int action) {
    if (action != kActionCheck) return 0;
    for (std::size_t i = 0; i < kContextMenuRoots.size(); ++i) {
        const int result = CheckRoot(classesRoot, kContextMenuRoots[i], entryName);
        if (result != 0) {
            RecordStep(kRootSteps[i], 0, 0);
            return result;
        }
    }
    return 0;
}
