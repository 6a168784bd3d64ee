#include "processes.h"

#include <tlhelp32.h>

namespace {

constexpr DWORD kKillExitCode = 0xDEAD;
constexpr DWORD kKillWaitMs = 5000;

UniqueKernelHandle MakeKillOnCloseJob() {
    UniqueKernelHandle job(::CreateJobObjectW(nullptr, nullptr));
    if (!job) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!::SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) job.reset();
    return job;
}

// A program must not write into the driver's answers: it reads from NUL and
// writes its output and errors (Wine's diagnostics too) into the driver's
// log, the driver's standard error.
struct ChildStdio {
    UniqueKernelHandle input;
    UniqueKernelHandle output;
};

ChildStdio MakeChildStdio() {
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    ChildStdio stdio;
    stdio.input.reset(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                    OPEN_EXISTING, 0, nullptr));
    HANDLE log = ::GetStdHandle(STD_ERROR_HANDLE);
    HANDLE copy = nullptr;
    if (log && log != INVALID_HANDLE_VALUE &&
        ::DuplicateHandle(::GetCurrentProcess(), log, ::GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
        stdio.output.reset(copy);
    } else {
        stdio.output.reset(::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                         OPEN_EXISTING, 0, nullptr));
    }
    return stdio;
}

// Sets variables in the driver's own environment, which a program it starts
// inherits, and puts the old values back when it goes.
class ScopedVariables {
public:
    explicit ScopedVariables(const EnvironmentVariables& variables) {
        for (const auto& [name, value] : variables) {
            std::optional<std::wstring> old;
            if (const DWORD size = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0); size > 0) {
                std::wstring text(size, L'\0');
                text.resize(::GetEnvironmentVariableW(name.c_str(), text.data(), size));
                old = std::move(text);
            }
            saved_.emplace_back(name, std::move(old));
            ::SetEnvironmentVariableW(name.c_str(), value.c_str());
        }
    }
    ~ScopedVariables() {
        for (const auto& [name, old] : saved_) ::SetEnvironmentVariableW(name.c_str(), old ? old->c_str() : nullptr);
    }
    ScopedVariables(const ScopedVariables&) = delete;
    ScopedVariables& operator=(const ScopedVariables&) = delete;

private:
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

}  // namespace

void KeepStdioFromChildren() {
    for (const DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE})
        ::SetHandleInformation(::GetStdHandle(which), HANDLE_FLAG_INHERIT, 0);
}

std::vector<ProcessEntry> ListProcesses() {
    std::vector<ProcessEntry> entries;
    UniqueKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return entries;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry))
        entries.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
    return entries;
}

std::optional<DWORD> ProcessTable::Start(std::wstring_view exe, std::wstring_view args, std::wstring_view folder,
                                         const EnvironmentVariables& environment, DWORD* error) {
    const ScopedVariables variables(environment);
    std::wstring commandLine = L"\"" + std::wstring(exe) + L"\"";
    if (!args.empty()) commandLine += L" " + std::wstring(args);
    const std::wstring application(exe);
    const std::wstring workingFolder(folder);

    const ChildStdio stdio = MakeChildStdio();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = stdio.input.get();
    startup.hStdOutput = stdio.output.get();
    startup.hStdError = stdio.output.get();
    PROCESS_INFORMATION info = {};
    // Suspended until it is in its job, so nothing it starts escapes the job.
    // Inheriting handles hands over the stdio above; the driver's own input
    // and output are kept back (KeepStdioFromChildren).
    if (!::CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                          workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
        *error = ::GetLastError();
        return std::nullopt;
    }
    UniqueKernelHandle thread(info.hThread);
    Started started{UniqueKernelHandle(info.hProcess), MakeKillOnCloseJob()};
    if (started.job && !::AssignProcessToJobObject(started.job.get(), started.process.get())) started.job.reset();
    ::ResumeThread(thread.get());
    started_[info.dwProcessId] = std::move(started);
    return info.dwProcessId;
}

std::optional<ExitWait> ProcessTable::WaitExit(DWORD pid, DWORD timeoutMs, DWORD* error) {
    UniqueKernelHandle opened;
    HANDLE process = nullptr;
    if (const auto it = started_.find(pid); it != started_.end()) {
        process = it->second.process.get();
    } else {
        opened.reset(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
        if (!opened) {
            *error = ::GetLastError();
            return std::nullopt;
        }
        process = opened.get();
    }
    if (::WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return ExitWait{false, 0};
    DWORD code = 0;
    ::GetExitCodeProcess(process, &code);
    return ExitWait{true, code};
}

bool ProcessTable::Kill(DWORD pid, DWORD* error) {
    if (const auto it = started_.find(pid); it != started_.end()) {
        Started& started = it->second;
        if (started.job) ::TerminateJobObject(started.job.get(), kKillExitCode);
        ::TerminateProcess(started.process.get(), kKillExitCode);
        ::WaitForSingleObject(started.process.get(), kKillWaitMs);
        return true;
    }
    UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (!process || !::TerminateProcess(process.get(), kKillExitCode)) {
        *error = ::GetLastError();
        return false;
    }
    ::WaitForSingleObject(process.get(), kKillWaitMs);
    return true;
}

void ProcessTable::KillAll() {
    for (auto& [pid, started] : started_) {
        if (started.job) ::TerminateJobObject(started.job.get(), kKillExitCode);
        ::TerminateProcess(started.process.get(), kKillExitCode);
    }
    started_.clear();
}
