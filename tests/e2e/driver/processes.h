// The processes a test starts. Each runs in its own job object, so ending it
// also ends whatever it started (a settings dialog, an Explorer window), and
// closing the driver ends them all.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <windows.h>

#include "handles.h"

struct ProcessEntry {
    DWORD pid;
    DWORD parentPid;
    std::wstring exeName;
};

// Called once at start: the driver's standard input and output (the test's
// pipes) are not handed to the programs it starts.
void KeepStdioFromChildren();

// Every process of the Wine session (or Windows desktop).
std::vector<ProcessEntry> ListProcesses();

// Names and values of environment variables.
using EnvironmentVariables = std::vector<std::pair<std::wstring, std::wstring>>;

struct ExitWait {
    bool exited;
    DWORD exitCode;  // valid when exited
};

class ProcessTable {
public:
    ProcessTable() = default;
    ProcessTable(const ProcessTable&) = delete;
    ProcessTable& operator=(const ProcessTable&) = delete;
    ~ProcessTable() { KillAll(); }

    // Starts exe with `"exe" args` as its command line (args as they stand)
    // in folder (empty: the driver's own), with the driver's environment and
    // the variables given. Returns the process id, or nothing with the
    // system error in *error.
    std::optional<DWORD> Start(std::wstring_view exe, std::wstring_view args, std::wstring_view folder,
                               const EnvironmentVariables& environment, DWORD* error);

    // Waits for a process (started here or not) to end.
    std::optional<ExitWait> WaitExit(DWORD pid, DWORD timeoutMs, DWORD* error);

    // Ends a process and, for one started here, everything it started.
    // Returns false with the system error when the process could not be ended.
    bool Kill(DWORD pid, DWORD* error);

    void KillAll();

private:
    struct Started {
        UniqueKernelHandle process;
        UniqueKernelHandle job;  // empty when the system refused a job
    };
    std::map<DWORD, Started> started_;
};
