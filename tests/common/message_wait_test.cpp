#include <gtest/gtest.h>

#include "handles.h"
#include "message_wait.h"

namespace {

UniqueKernelHandle NewEvent() {
    return UniqueKernelHandle(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

}  // namespace

TEST(WaitWithMessages, TellsWhichHandleWasSignalled) {
    const UniqueKernelHandle first = NewEvent();
    const UniqueKernelHandle second = NewEvent();
    ::SetEvent(second.get());
    EXPECT_EQ(WaitWithMessages({first.get(), second.get()}, 1000), WAIT_OBJECT_0 + 1);
}

TEST(WaitWithMessages, EndsAtItsTimeEvenWhenMessagesKeepArriving) {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 1, nullptr);
    const UniqueKernelHandle never = NewEvent();
    EXPECT_EQ(WaitWithMessages({never.get()}, 300), static_cast<DWORD>(WAIT_TIMEOUT));
    ::KillTimer(nullptr, timer);
}

TEST(WaitWithMessages, LeavesAQuitMessageForTheMessageLoop) {
    ::PostQuitMessage(7);
    EXPECT_EQ(WaitWithMessages({}, 50), static_cast<DWORD>(WAIT_TIMEOUT));
    MSG message;
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}
