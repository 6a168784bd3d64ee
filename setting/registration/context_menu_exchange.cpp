#include "context_menu_exchange.h"

#include <shellapi.h>

#include "elevation_exchange.h"
#include "format.h"
#include "handles.h"
#include "kernel_objects.h"
#include "step_trace.h"

namespace {

constexpr BlockSteps kCreateSteps = {{L"CSM1", L"CSM2", L"CSM3"}, {1070, 1073, 1076}};
constexpr BlockSteps kReadSteps = {{L"GSM1", L"GSM2", L"GSM3"}, {1090, 1093, 1096}};

void RecordOwnStep(const ExchangeSettings& settings, std::wstring_view stepId, std::uint32_t code,
                   std::uint32_t systemError) {
    RecordStep(stepId, code, systemError);
    if (!settings.debugLog.empty()) WriteDebugLog(settings.debugLog, ThreadFailureLog().trace());
}

// The helper's process, or nothing when it could not be started.
std::optional<UniqueKernelHandle> StartHelper(const ExchangeSettings& settings, bool japanese, int request) {
    const std::wstring file = settings.programFolder + std::wstring(kElevationProgram);
    const std::wstring parameters = FormatText(L"%d %d", {japanese ? 1 : 0, request});
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // NOASYNC: the start is complete when the call returns, even on a thread
    // that does not wait in a message loop afterwards.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = settings.owner;
    info.lpVerb = L"runas";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    const bool started = ::ShellExecuteExW(&info) && reinterpret_cast<INT_PTR>(info.hInstApp) > 32;
    UniqueKernelHandle process(info.hProcess);
    if (!started) return std::nullopt;
    return process;
}

bool HasEnded(HANDLE process) {
    return process && ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

// Pauses between two reads: kAnswerPollMs, or less when the helper ends.
// True when `stop` was signalled.
bool PauseUnlessStopped(HANDLE process, HANDLE stop) {
    const HANDLE both[] = {stop, process};
    const HANDLE* waits = stop ? both : both + 1;
    const DWORD count = (stop ? 1u : 0u) + (process ? 1u : 0u);
    if (count == 0) {
        ::Sleep(kAnswerPollMs);
        return false;
    }
    const DWORD woken = ::WaitForMultipleObjects(count, waits, FALSE, kAnswerPollMs);
    return stop && woken == WAIT_OBJECT_0;
}

// Reads until the block holds an answer, kAnswerPollMs apart; stops after
// the last read, once the helper has ended (checked before a read, so that
// an answer written just before the end is still seen), or when asked to.
std::wstring AwaitAnswer(HANDLE process, HANDLE stop) {
    for (int read = 0; read <= kAnswerExtraReads; ++read) {
        const bool ended = HasEnded(process);
        const std::wstring text = ReadSharedBlock(kElevationBlockName, &kReadSteps).value_or(L"");
        if (!text.empty() || ended) return text;
        if (PauseUnlessStopped(process, stop)) return {};
    }
    return {};
}

}  // namespace

ElevationAnswer RunContextMenuExchange(const ExchangeSettings& settings, bool japanese, int request) {
    FailureLog& log = ThreadFailureLog();
    log.ClearRecord();
    log.ClearTrace();
    const auto failed = [&log] { return ElevationAnswer{ElevationStatus::Failed, log.record()}; };

    // A block or event of these names that exists already belongs to another
    // exchange (or to someone else): it is refused, never shared.
    const UniqueKernelHandle block = CreateSharedBlock(kElevationBlockName, &kCreateSteps);
    if (!block) {
        RecordOwnStep(settings, L"MP1", 1100, 0);
        return failed();
    }
    const UniqueKernelHandle event = CreateExchangeEvent(kElevationEventName);
    if (!event) {
        RecordOwnStep(settings, L"MP2", 1103, ::GetLastError());
        return failed();
    }
    const auto process = StartHelper(settings, japanese, request);
    if (!process) {
        RecordOwnStep(settings, L"MP3", 1106, 0);
        return failed();
    }
    const std::wstring text = AwaitAnswer(process->get(), settings.stop);
    // Also when stopped: a helper that has answered need not wait any longer.
    ::SetEvent(event.get());
    if (text.empty()) return {ElevationStatus::Failed, {}};
    return ParseElevationAnswer(text);
}
