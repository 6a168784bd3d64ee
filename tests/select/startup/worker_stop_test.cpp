#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "handles.h"
#include "startup/worker_stop.h"

namespace {

// A thread made as the copy tool makes its worker; joined at the end.
class TestWorker {
public:
    explicit TestWorker(std::function<void()> body) : body_(std::move(body)) {
        handle_.reset(::CreateThread(nullptr, 0, Run, this, 0, &id_));
    }
    ~TestWorker() { ::WaitForSingleObject(handle_.get(), INFINITE); }
    TestWorker(const TestWorker&) = delete;
    TestWorker& operator=(const TestWorker&) = delete;

    HANDLE handle() const { return handle_.get(); }
    DWORD id() const { return id_; }

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<TestWorker*>(self)->body_();
        return 0;
    }
    std::function<void()> body_;
    UniqueKernelHandle handle_;
    DWORD id_ = 0;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (std::wstring(className) == L"#32770" && ::IsWindowVisible(window)) *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

HWND WaitForDialogOf(DWORD threadId) {
    HWND found = nullptr;
    for (int i = 0; i < 200 && !found; ++i) {
        ::Sleep(50);
        ::EnumThreadWindows(threadId, FindDialog, reinterpret_cast<LPARAM>(&found));
    }
    return found;
}

}  // namespace

// Regression: Quit while the worker showed a message box left the program
// waiting for an answer that nobody gave.
TEST(WorkerStop, ClosesTheWorkersMessageBoxAndLetsItCleanUp) {
    SharedRunState shared;
    std::atomic<bool> cleanedUp{false};
    TestWorker worker([&] {
        ::MessageBoxW(nullptr, L"Failed to copy.", L"VaroSelect", MB_OK | MB_ICONWARNING | MB_TOPMOST);
        if (shared.copyCancelRequested) cleanedUp = true;
    });
    ASSERT_NE(WaitForDialogOf(worker.id()), nullptr);
    EXPECT_TRUE(StopWorker(shared, worker.handle(), worker.id()));
    EXPECT_TRUE(cleanedUp);
    EXPECT_TRUE(shared.listAbortRequested);
}

TEST(WorkerStop, GivesUpOnAWorkerThatDoesNotEnd) {
    SharedRunState shared;
    const UniqueKernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    TestWorker worker([&] { ::WaitForSingleObject(release.get(), 30000); });
    EXPECT_FALSE(StopWorker(shared, worker.handle(), worker.id(), 300));
    EXPECT_TRUE(shared.copyCancelRequested);
    ::SetEvent(release.get());
}
