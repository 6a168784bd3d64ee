#include "context_menu_entries.h"

#include <array>
#include <string_view>

#include "context_menu_keys.h"
#include "elevation_exchange.h"
#include "paths.h"
#include "registry_writer.h"
#include "step_trace.h"

namespace {

constexpr std::array<std::wstring_view, 2> kWriteRootSteps = {L"UAC-CMP4", L"UAC-CMP5"};
constexpr std::array<std::wstring_view, 2> kRemoveRootSteps = {L"UAC-CMP6", L"UAC-CMP7"};
constexpr DeleteSteps kDeleteCommandSteps = {{L"UAC-CMR1", L"UAC-CMR2", L"UAC-CMR3", L"UAC-CMR4"}, {0, 2030, 0, 2033}};
constexpr DeleteSteps kDeleteEntrySteps = {{L"UAC-CMR5", L"UAC-CMR6", L"UAC-CMR7", L"UAC-CMR8"}, {0, 2036, 0, 2039}};

bool NamesFit(const UacContext& context, std::wstring_view root) {
    const std::wstring entry = context.EntryName();
    return entry.size() <= kMaxEntryNameChars && EntryKeyPath(root, entry).size() <= kMaxEntryKeyChars;
}

int WriteRoot(const UacContext& context, std::wstring_view root, const std::wstring& menuText) {
    if (!NamesFit(context, root)) {
        RecordStep(L"UAC-CMC1", 2010, 0);
        return kEntriesFailed;
    }
    for (const RegistryKey& key : ContextMenuLayout(root, context.EntryName(), context.CopyToolPath(), menuText))
        if (WriteRegistryKey(context.classesRoot, key) != ERROR_SUCCESS) return kEntriesFailed;
    return kEntriesOk;
}

// Deletes the "Command" key and then the entry key. An entry whose "Command"
// key is gone is still removed, so a half-written entry cannot stay behind
// while the answer says that nothing was there.
int RemoveRoot(const UacContext& context, std::wstring_view root, bool quiet) {
    const std::wstring entry = context.EntryName();
    const int command =
        DeleteRegistryKey(context.classesRoot, CommandKeyPath(root, entry), quiet ? nullptr : &kDeleteCommandSteps);
    if (command == kKeyDeleteFailed) return kEntriesFailed;
    const int key =
        DeleteRegistryKey(context.classesRoot, EntryKeyPath(root, entry), quiet ? nullptr : &kDeleteEntrySteps);
    if (key == kKeyDeleteFailed) return kEntriesFailed;
    return command == kKeyDeleted || key == kKeyDeleted ? kEntriesOk : kEntriesMissing;
}

}  // namespace

std::wstring UacContext::CopyToolPath() const {
    return programFolder + std::wstring(kCopyToolProgram);
}

std::wstring UacContext::EntryName() const {
    return ContextMenuEntryName(kCopyToolProgram, instanceSuffix);
}

void LogTraceIfDebugging(const UacContext& context) {
    if (!context.debugLog.empty()) WriteDebugLog(context.debugLog, ThreadFailureLog().trace());
}

int CheckEntries(const UacContext& context) {
    return CheckContextMenuEntries(context.classesRoot, context.EntryName(),
                                   {{L"UAC-CMCK1", L"UAC-CMCK2"}, {L"UAC-CMP1", L"UAC-CMP2"}});
}

int WriteEntries(const UacContext& context, const std::wstring& menuText) {
    if (!PathExists(context.CopyToolPath())) {
        RecordStep(L"UAC-CMP3", 2005, ::GetLastError());
        return kEntriesFailed;
    }
    (void)RemoveEntries(context, true);
    for (std::size_t i = 0; i < kContextMenuRoots.size(); ++i) {
        if (WriteRoot(context, kContextMenuRoots[i], menuText) != kEntriesOk) {
            RecordStep(kWriteRootSteps[i], 0, 0);
            return kEntriesFailed;
        }
    }
    return kEntriesOk;
}

int RemoveEntries(const UacContext& context, bool quiet) {
    bool failed = false;
    bool removed = false;
    for (std::size_t i = 0; i < kContextMenuRoots.size(); ++i) {
        const int result = RemoveRoot(context, kContextMenuRoots[i], quiet);
        if (result == kEntriesFailed && !quiet) RecordStep(kRemoveRootSteps[i], 0, 0);
        failed = failed || result == kEntriesFailed;
        removed = removed || result == kEntriesOk;
    }
    if (failed) return kEntriesFailed;
    return removed ? kEntriesOk : kEntriesMissing;
}

int RunRequest(const UacContext& context, int request, const std::wstring& menuText) {
    int result = kEntriesOk;
    if (request == kRequestCheck) result = CheckEntries(context);
    if (request == kRequestRegister) result = WriteEntries(context, menuText);
    if (request == kRequestRemove) result = RemoveEntries(context, false);
    if (result != kEntriesOk) RecordStep(L"UAC-RRP2", 0, 0);
    return result;
}
