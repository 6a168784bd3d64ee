#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "handles.h"
#include "message_wait.h"

namespace {

// A window of the test thread, destroyed with the object.
struct ThreadWindow {
    ThreadWindow()
        : window(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr)) {}
    ~ThreadWindow() { ::DestroyWindow(window); }
    HWND window;
};

UniqueKernelHandle NewEvent() {
    return UniqueKernelHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

}  // namespace

// Regression: the copy tool's main thread waited for the settings
// application without answering messages sent to its window.
TEST(WaitWithMessages, AnswersMessagesSentFromAnotherThreadWhileWaiting) {
    ThreadWindow own;
    ASSERT_NE(own.window, nullptr);
    const UniqueKernelHandle done = NewEvent();
    std::atomic<bool> answered{false};
    std::thread sender([&] {
        DWORD_PTR result = 0;
        answered = ::SendMessageTimeoutW(own.window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result) != 0;
        ::SetEvent(done.get());
    });
    EXPECT_EQ(WaitWithMessages({done.get()}, 20000), WAIT_OBJECT_0);
    sender.join();
    EXPECT_TRUE(answered);
}

TEST(WaitWithMessages, TellsWhichHandleWasSignalled) {
    const UniqueKernelHandle first = NewEvent();
    const UniqueKernelHandle second = NewEvent();
    ::SetEvent(second.get());
    EXPECT_EQ(WaitWithMessages({first.get(), second.get()}, 1000), WAIT_OBJECT_0 + 1);
}

TEST(WaitWithMessages, EndsAtItsTimeEvenWhenMessagesKeepArriving) {
    ThreadWindow own;
    ::SetTimer(own.window, 1, 1, nullptr);
    const UniqueKernelHandle never = NewEvent();
    EXPECT_EQ(WaitWithMessages({never.get()}, 300), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(WaitWithMessages({}, 50), static_cast<DWORD>(WAIT_TIMEOUT));
    ::KillTimer(own.window, 1);
}

TEST(WaitWithMessages, LeavesAQuitMessageForTheMessageLoop) {
    ::PostQuitMessage(7);
    EXPECT_EQ(WaitWithMessages({}, 50), static_cast<DWORD>(WAIT_TIMEOUT));
    MSG message;
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}
