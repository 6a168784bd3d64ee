#include "startup/hand_off.h"

#include <shellapi.h>

#include <cwchar>

#include "format.h"
#include "handles.h"
#include "kernel_objects.h"
#include "message_box.h"
#include "program_names.h"

namespace {

constexpr MessagePair kStartFailed = {
    L"コピー処理前に%sを起動する設定になっていますが、%sの起動に失敗したため終了します。",
    L"It is set to start %s before copy processing, but It terminates because %s startup failed."};
// Reads of the answer block, 200 ms apart: about three minutes.
constexpr int kMaxAnswerReads = 902;
constexpr DWORD kReadPauseMs = 200;

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
        ::Sleep(kReadPauseMs);
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
    // The answer is signalled by the event; a settings application that ends
    // without signalling ends the wait as well.
    const HANDLE waits[] = {setEvent.get(), process.get()};
    ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    const std::wstring text = AwaitAnswerText(objectPrefix, process.get());
    if (!text.empty()) {
        answer = static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
        ::SetEvent(gotEvent.get());
    }
    ::WaitForSingleObject(process.get(), INFINITE);
    return 0;
}
