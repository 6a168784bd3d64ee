#include "step_trace.h"

#include <windows.h>

#include "format.h"
#include "handles.h"

void FailureLog::Record(std::wstring_view stepId, std::uint32_t code, std::uint32_t systemError) {
    if (record_.code == 0) record_ = {code, systemError};
    const std::wstring line = FormatText(L"ID:%s CD:0x%08x\n", {stepId, systemError});
    if (trace_.size() + line.size() <= kStepTraceChars) trace_ += line;
}

FailureLog& ThreadFailureLog() {
    thread_local FailureLog log;
    return log;
}

void RecordStep(std::wstring_view stepId, std::uint32_t code, std::uint32_t systemError) {
    ThreadFailureLog().Record(stepId, code, systemError);
}

void WriteDebugLog(const std::wstring& logPath, std::wstring_view text) {
    UniqueKernelHandle file(::CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const bool isNew = ::GetLastError() != ERROR_ALREADY_EXISTS;
    std::wstring content;
    if (isNew) content += L'\xFEFF';
    content += text;
    content += L"\r\n";
    DWORD written = 0;
    ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size() * sizeof(wchar_t)), &written, nullptr);
}
