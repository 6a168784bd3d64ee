// State shared by the copy tool's window thread and its worker thread.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>

#include "run/run_progress.h"

// Values of SharedRunState::runState.
enum RunStateValue : int {
    kRunNotStarted = 0,
    kRunRunning = 1,
    kRunSucceeded = 2,
    kRunNothingCopied = 3,
    kRunFailed = 9,
};

// A status line written by the worker and shown by the progress window.
class StatusText {
public:
    static constexpr std::size_t kMaxChars = 259;

    void Set(std::wstring_view text) {
        std::lock_guard guard(lock_);
        text_.assign(text.substr(0, kMaxChars));
    }
    void Clear() { Set({}); }
    std::wstring Get() const {
        std::lock_guard guard(lock_);
        return text_;
    }

private:
    mutable std::mutex lock_;
    std::wstring text_;
};

struct SharedRunState {
    std::atomic<int> runState{kRunNotStarted};
    // Set by Cancel or by a failure that stops the whole run; every file copy
    // watches it through its progress routine.
    std::atomic<bool> copyCancelRequested{false};
    std::atomic<bool> somethingCopied{false};
    // With Verify: every copy of the run was read back and matched its source.
    std::atomic<bool> verified{false};
    // The copy result list: being written, Cancel pressed meanwhile, failed.
    std::atomic<bool> listWriting{false};
    std::atomic<bool> listAbortRequested{false};
    std::atomic<bool> listFailed{false};
    StatusText statusItemText;
    StatusText statusProgressText;
    // The progress window's source-names label and tooltip, set by the worker
    // and applied by the window thread when it is told they changed.
    StatusText sourceNamesText;
    StatusText sourceTipText;
    // Files and bytes done, and the totals once they are counted.
    RunProgress progress;
};
