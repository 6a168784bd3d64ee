// Checking, writing and removing the copy tool's context-menu entries under
// both roots. The classes root is a parameter so that tests can work below a
// key of their own.
#pragma once

#include <string>

#include <windows.h>

// What the helper works with, all derived from its own folder.
struct UacContext {
    HKEY classesRoot = nullptr;   // the machine's classes (OpenMachineClasses)
    std::wstring programFolder;   // ends with "\"
    std::wstring instanceSuffix;  // "" or "_" + name
    std::wstring debugLog;        // the log to append the step trace to; empty when not debugging

    // Always the copy tool beside the helper, never a path from the command line.
    std::wstring CopyToolPath() const;
    std::wstring EntryName() const;
};

// Appends the whole step trace to the debug log when debugging is on.
void LogTraceIfDebugging(const UacContext& context);

// Operations of RunRequest beside the three requests.
constexpr int kRequestCheck = 9;

// Results of the operations.
enum EntriesResult : int {
    kEntriesOk = 0,
    kEntriesMissing = 4,  // not there (check), nothing to remove (removal)
    kEntriesFailed = -1,
};

// 0 when both keys of both roots open; 4 when one is not there; 3 or -1
// when one cannot be read.
[[nodiscard]] int CheckEntries(const UacContext& context);

// Removes the old entries quietly and writes the layout under both roots.
// The copy tool must exist beside the helper.
[[nodiscard]] int WriteEntries(const UacContext& context, const std::wstring& menuText);

// Removes the entries of both roots: 0 when something was removed, 4 when
// nothing was there, -1 when a removal failed.
[[nodiscard]] int RemoveEntries(const UacContext& context, bool quiet);

// 9 check, 2 write, 0 remove, anything else nothing (0); records "UAC-RRP2"
// for a non-zero result.
[[nodiscard]] int RunRequest(const UacContext& context, int request, const std::wstring& menuText);
