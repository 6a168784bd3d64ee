#include "startup/hand_off.h"

#include <shellapi.h>

#include <cwchar>

#include "format.h"
#include "handles.h"
#include "kernel_objects.h"
#include "message_box.h"
#include "message_wait.h"
#include "program_names.h"

namespace {

constexpr MessagePair kStartFailed = {
    L"コピー処理前に%sを起動する設定になっていますが、%sの起動に失敗したため終了します。",
    L"It is set to start %s before copy processing, but It terminates because %s startup failed."};
// Reads of the answer block, 200 ms apart: about three minutes.
constexpr int kMaxAnswerReads = 902;
constexpr DWORD kReadPauseMs = 200;
// The user works in the settings application for as long as this at most;
// the copy tool then stops waiting and copies nothing.
constexpr DWORD kUserAnswerLimitMs = 60 * 60 * 1000;
// Once it has answered, the settings application ends at once; the copy
// tool goes on after this even if it has not.
constexpr DWORD kSettingsEndLimitMs = 10 * 1000;

UniqueKernelHandle StartSettingsApp(HWND owner, const std::wstring& programFolder, const std::wstring& prefix) {
    const std::wstring file = programFolder + std::wstring(kSettingProgramFile);
    const std::wstring parameters = FormatText(L"/k %s", {prefix});
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&info)) return {};
    return UniqueKernelHandle(info.hProcess);
}

bool HasEnded(HANDLE process) {
    return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

// Reads the block until it holds an answer; gives up after kMaxAnswerReads
// reads or when the settings application has ended without answering.
std::wstring AwaitAnswerText(const std::wstring& name, HANDLE process) {
    for (int read = 0; read < kMaxAnswerReads; ++read) {
        const std::wstring text = ReadSharedBlock(name).value_or(L"");
        if (!text.empty() || HasEnded(process)) return text;
        WaitWithMessages({process}, kReadPauseMs);
    }
    return {};
}

}  // namespace

int RunSettingsHandOff(HWND owner, const std::wstring& programFolder, const std::wstring& objectPrefix, int& answer) {
    answer = kAnswerSaved;
    if (objectPrefix.size() > kHandOffKeyMaxChars) return -1;
    const UniqueKernelHandle block = CreateSharedBlock(objectPrefix);
    if (!block) return -1;
    const UniqueKernelHandle setEvent = CreateExchangeEvent(AnswerSetEventName(objectPrefix));
    const UniqueKernelHandle gotEvent = CreateExchangeEvent(AnswerGotEventName(objectPrefix));
    if (!setEvent || !gotEvent) return -1;

    const UniqueKernelHandle process = StartSettingsApp(owner, programFolder, objectPrefix);
    if (!process) {
        ShowMessage(nullptr, MB_ICONERROR, kStartFailed, {kSettingProgramFile, kSettingProgramFile});
        return -1;
    }
    // This thread owns the main window: every wait keeps its messages
    // flowing. The answer is signalled by the event; a settings application
    // that ends without signalling ends the wait as well.
    if (WaitWithMessages({setEvent.get(), process.get()}, kUserAnswerLimitMs) == WAIT_TIMEOUT) {
        answer = kAnswerCancelled;
        return 0;
    }
    const std::wstring text = AwaitAnswerText(objectPrefix, process.get());
    if (!text.empty()) {
        answer = static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
        ::SetEvent(gotEvent.get());
    }
    WaitWithMessages({process.get()}, kSettingsEndLimitMs);
    return 0;
}
