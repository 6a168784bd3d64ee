#include "hand_off_answer.h"

#include <windows.h>

#include "format.h"
#include "handles.h"
#include "kernel_objects.h"
#include "settings_hand_off.h"

namespace {

const BlockSteps kWriteSteps = {{L"UAC-SSM1", L"UAC-SSM2", L"UAC-SSM3"}, {1080, 1083, 1086}};
constexpr DWORD kPartnerCheckMs = 200;

// The copy tool holds its block for the whole exchange, so a block that can
// no longer be opened means that the copy tool has ended.
bool CopyToolHasGone(const std::wstring& key) {
    const UniqueKernelHandle block(::OpenFileMappingW(FILE_MAP_READ, FALSE, key.c_str()));
    return !block;
}

// Waits for the copy tool's confirmation, and no longer than the copy tool lives.
void AwaitConfirmation(const std::wstring& key, HANDLE gotEvent) {
    while (::WaitForSingleObject(gotEvent, kPartnerCheckMs) == WAIT_TIMEOUT) {
        if (CopyToolHasGone(key)) return;
    }
}

}  // namespace

int SendHandOffAnswer(const std::wstring& key, int answer) {
    if (!WriteSharedBlock(key, FormatText(L"%d", {answer}), &kWriteSteps)) return -1;
    const UniqueKernelHandle setEvent = OpenExchangeEvent(AnswerSetEventName(key));
    if (setEvent) ::SetEvent(setEvent.get());
    const UniqueKernelHandle gotEvent = OpenExchangeEvent(AnswerGotEventName(key));
    if (gotEvent) AwaitConfirmation(key, gotEvent.get());
    return 0;
}
