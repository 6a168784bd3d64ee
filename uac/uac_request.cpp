#include "uac_request.h"

#include "context_menu_keys.h"
#include "message_box.h"
#include "paths.h"
#include "step_trace.h"

namespace {

constexpr MessagePair kNeedsAdministrator = {L"VaroUACは管理者権限で起動してください。",
                                             L"Please start VaroUAC with administrator's privilege."};

bool ChangesEntries(int request) {
    return request == kRequestRemove || request == kRequestRegister;
}

ElevationAnswer Failed() {
    return {ElevationStatus::Failed, ThreadFailureLog().record()};
}

ElevationStatus StatusOf(int result) {
    if (result == kEntriesOk) return ElevationStatus::Done;
    return result == kEntriesMissing ? ElevationStatus::NothingToRemove : ElevationStatus::Failed;
}

}  // namespace

std::wstring ContextMenuText(const UacContext& context, bool japanese, int request) {
    std::wstring text = CopyToolDisplayName(japanese, context.instanceSuffix);
    if (request == kRequestRegister) text += L"(&9)";
    return text;
}

ElevationAnswer HandleRequest(const UacContext& context, const std::optional<UacArguments>& arguments, bool elevated) {
    FailureLog& log = ThreadFailureLog();
    log.ClearRecord();
    log.ClearTrace();
    if (!arguments) return {};
    SetJapanese(arguments->japanese);

    int request = arguments->request;
    if (!elevated) {
        ShowMessage(nullptr, MB_ICONINFORMATION, kNeedsAdministrator);
        if (!ChangesEntries(request)) return {};
        RecordStep(L"UAC-MP1", 2000, 0);
        LogTraceIfDebugging(context);
        return Failed();
    }
    // Register again when asked and the entries are all there.
    if (request != kRequestRemove && RunRequest(context, kRequestCheck, L"") == kEntriesOk) request = kRequestRegister;
    if (!ChangesEntries(request)) return {};

    const std::wstring menuText = ContextMenuText(context, arguments->japanese, request);
    log.ClearTrace();
    log.ClearRecord();
    if (menuText.size() >= kMaxPathChars) {
        RecordStep(L"UAC-MP2", 2001, 0);
        LogTraceIfDebugging(context);
        return Failed();
    }
    const ElevationStatus status = StatusOf(RunRequest(context, request, menuText));
    if (status == ElevationStatus::Failed) {
        RecordStep(menuText, 0, 0);  // names the entry that failed in the log
        LogTraceIfDebugging(context);
    }
    return {status, log.record()};
}
