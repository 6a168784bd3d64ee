#include "run/run_failure.h"

#include "message_box.h"
#include "thread_barrier.h"

namespace {

constexpr MessagePair kUnexpectedFailure = {L"予期しないエラーのため、コピーを中止しました。\n\n%s",
                                            L"The copy was stopped by an unexpected error.\n\n%s"};

}  // namespace

void StopRunOnUnexpectedFailure(SharedRunState& shared, const std::wstring& what) {
    if (!shared.copyCancelRequested.exchange(true)) ShowMessage(nullptr, MB_ICONERROR, kUnexpectedFailure, {what});
}

void RunWorkerBehindBarrier(SharedRunState& shared, const std::function<void()>& run,
                            const std::function<void()>& afterFailure) {
    RunBehindBarrier(run, [&](const std::wstring& what) {
        // Shown even after a Cancel: the run did not end the way the user asked.
        shared.copyCancelRequested = true;
        shared.listAbortRequested = true;
        ShowMessage(nullptr, MB_ICONERROR, kUnexpectedFailure, {what});
        shared.runState = kRunFailed;
        if (afterFailure) afterFailure();
    });
}
