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
    if (!settings.debugLog.empty()) WriteDebugLog(settings.debugLog, ProcessFailureLog().trace());
}

// The helper's process, or nothing when it could not be started.
std::optional<UniqueKernelHandle> StartHelper(const ExchangeSettings& settings, bool japanese, int request) {
    const std::wstring file = settings.programFolder + std::wstring(kElevationProgram);
    const std::wstring parameters = FormatText(L"%d %d", {japanese ? 1 : 0, request});
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
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

// Reads until the block holds an answer, kAnswerPollMs apart; stops after
// the last read or once the helper has ended (checked before a read, so
// that an answer written just before the end is still seen).
std::wstring AwaitAnswer(HANDLE process) {
    for (int read = 0; read <= kAnswerExtraReads; ++read) {
        const bool ended = HasEnded(process);
        const std::wstring text = ReadSharedBlock(kElevationBlockName, &kReadSteps).value_or(L"");
        if (!text.empty() || ended) return text;
        ::Sleep(kAnswerPollMs);
    }
    return {};
}

}  // namespace

TargetOutcome RunContextMenuExchange(const ExchangeSettings& settings, bool japanese, int request) {
    FailureLog& log = ProcessFailureLog();
    log.ClearRecord();
    log.ClearTrace();
    const TargetOutcome failed{kStatusNg, {}};

    // Creating the block also clears an answer left from an earlier exchange.
    const UniqueKernelHandle block = CreateSharedBlock(kElevationBlockName, &kCreateSteps);
    if (!block) {
        RecordOwnStep(settings, L"MP1", 1100, 0);
        return {kStatusNg, log.record()};
    }
    const UniqueKernelHandle event = CreateExchangeEvent(kElevationEventName);
    if (!event) {
        RecordOwnStep(settings, L"MP2", 1103, ::GetLastError());
        return {kStatusNg, log.record()};
    }
    ::ResetEvent(event.get());  // a helper of an earlier exchange may still hold it signalled

    const auto process = StartHelper(settings, japanese, request);
    if (!process) {
        RecordOwnStep(settings, L"MP3", 1106, 0);
        return {kStatusNg, log.record()};
    }
    const std::wstring text = AwaitAnswer(process->get());
    ::SetEvent(event.get());
    if (text.empty()) return failed;
    const ElevationAnswer answer = ParseElevationAnswer(text);
    return {answer.status, answer.failure};
}
