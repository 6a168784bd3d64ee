#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "handles.h"
#include "window_order.h"

// Regression: the copy tool's worker raised the progress window with calls
// that wait for the window's thread, which could be waiting for the worker.
TEST(WindowOrder, RaisesAnotherThreadsWindowWithoutWaitingForThatThread) {
    const UniqueKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const UniqueKernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::atomic<HWND> window{nullptr};
    std::atomic<bool> released{false};
    std::atomic<bool> topmostAtEnd{true};
    std::thread owner([&] {
        window = ::CreateWindowExW(0, L"STATIC", L"busy", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                   nullptr, nullptr);
        ::SetEvent(ready.get());
        // Busy: no messages are taken until the test lets go.
        ::WaitForSingleObject(release.get(), 10000);
        released = true;
        MSG message;
        for (int i = 0; i < 20; ++i, ::Sleep(10)) {
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        }
        topmostAtEnd = (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        ::DestroyWindow(window);
    });
    ::WaitForSingleObject(ready.get(), 10000);
    ASSERT_NE(window.load(), nullptr);
    RaiseWithoutStayingOnTop(window);
    EXPECT_FALSE(released);
    ::SetEvent(release.get());
    owner.join();
    EXPECT_FALSE(topmostAtEnd);  // the three requests arrived, in order
}
