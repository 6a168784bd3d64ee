#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "context_menu_job.h"

namespace {

constexpr UINT kDone = WM_APP + 7;

// A message-only window of the test's thread that receives the job's message.
class Receiver {
public:
    Receiver()
        : window_(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~Receiver() { ::DestroyWindow(window_); }
    HWND get() const { return window_; }

    // Whether the done message arrived within `timeoutMs`.
    bool WaitDone(DWORD timeoutMs) const {
        const ULONGLONG end = ::GetTickCount64() + timeoutMs;
        MSG message;
        while (::GetTickCount64() < end) {
            if (::PeekMessageW(&message, window_, kDone, kDone, PM_REMOVE)) return true;
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_POSTMESSAGE);
        }
        return false;
    }

private:
    HWND window_;
};

}  // namespace

TEST(ContextMenuJob, AnExchangeThatThrowsEndsTheJobAsFailed) {
    Receiver receiver;
    ASSERT_TRUE(receiver.get());
    const ContextMenuJob job([](HANDLE) -> ElevationAnswer { throw std::runtime_error("lost"); }, receiver.get(),
                             kDone);
    ASSERT_TRUE(receiver.WaitDone(10000));
    EXPECT_EQ(job.Answer().status, ElevationStatus::Failed);
}

TEST(ContextMenuJob, AJobOfAClosingWindowStopsTheWaitAtOnce) {
    Receiver receiver;
    std::atomic<bool> stopped = false;
    const ULONGLONG start = ::GetTickCount64();
    {
        // An exchange that waits for its helper for a minute, unless stopped.
        const ContextMenuJob job(
            [&](HANDLE stop) {
                stopped = ::WaitForSingleObject(stop, 60000) == WAIT_OBJECT_0;
                return ElevationAnswer{ElevationStatus::Failed, {}};
            },
            receiver.get(), kDone);
        ::Sleep(100);
    }
    EXPECT_TRUE(stopped);
    EXPECT_LT(::GetTickCount64() - start, ContextMenuJob::kStopWaitMs);
}
