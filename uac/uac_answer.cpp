#include "uac_answer.h"

#include "handles.h"
#include "kernel_objects.h"
#include "message_wait.h"
#include "step_trace.h"

namespace {

constexpr BlockSteps kWriteSteps = {{L"UAC-SSM1", L"UAC-SSM2", L"UAC-SSM3"}, {2060, 2063, 2063}};

bool WriteAnswer(const UacContext& context, const std::wstring& text) {
    int withPartner = 0;
    int withoutPartner = 0;
    while (true) {
        if (WriteSharedBlock(kElevationBlockName, text, &kWriteSteps)) return true;
        RecordStep(L"UAC-MP3", 0, 0);
        LogTraceIfDebugging(context);
        ThreadFailureLog().ClearTrace();
        (SharedBlockExists(kElevationBlockName) ? withPartner : withoutPartner) += 1;
        if (withPartner > kAnswerExtraReads || withoutPartner > kAnswerRetriesWithoutPartner) return false;
        // The tray icon's window lives on this thread: its messages flow.
        WaitWithMessages({}, kAnswerPollMs);
    }
}

// The settings application signals once it has read the answer. It holds
// the block for as long as it runs, so a block that has gone means that it
// ended without signalling.
void AwaitAcknowledgement() {
    const UniqueKernelHandle event = OpenExchangeEvent(kElevationEventName);
    if (!event) return;
    while (WaitWithMessages({event.get()}, kAnswerPollMs) == WAIT_TIMEOUT)
        if (!SharedBlockExists(kElevationBlockName)) return;
}

}  // namespace

bool DeliverAnswer(const UacContext& context, const ElevationAnswer& answer) {
    ThreadFailureLog().ClearTrace();
    if (!WriteAnswer(context, FormatElevationAnswer(answer))) return false;
    AwaitAcknowledgement();
    return true;
}
