// Failure recording of the settings application and the elevation helper:
// the first failing step's code, a trace of every failing step, and the
// debug log that receives the trace.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct FailureRecord {
    std::uint32_t code = 0;         // failure code of the error table, 0 = none yet
    std::uint32_t systemError = 0;  // platform error number, 0 = none
};

// The trace holds at most this many characters; a line that does not fit is dropped.
constexpr std::size_t kStepTraceChars = 1023;

class FailureLog {
public:
    // Keeps code and systemError until a non-zero code has been stored, and
    // appends "ID:<stepId> CD:0x<systemError>\n" to the trace.
    void Record(std::wstring_view stepId, std::uint32_t code, std::uint32_t systemError);
    void ClearRecord() { record_ = {}; }
    void ClearTrace() { trace_.clear(); }

    const FailureRecord& record() const { return record_; }
    const std::wstring& trace() const { return trace_; }

private:
    FailureRecord record_;
    std::wstring trace_;
};

// The calling thread's own log: the settings application's exchange with
// the elevation helper records its steps beside the window's thread.
FailureLog& ThreadFailureLog();
void RecordStep(std::wstring_view stepId, std::uint32_t code, std::uint32_t systemError);

constexpr std::wstring_view kDebugLogName = L"varo_debug.log";

// Appends text and CR LF to the UTF-16LE log file, writing FF FE first when
// the file is new. Failures are silent: nothing depends on the log.
void WriteDebugLog(const std::wstring& logPath, std::wstring_view text);
