#include <gtest/gtest.h>

#include "handles.h"
#include "startup/worker_stop.h"

namespace {

// A worker held in a call that does not end (a hung network copy).
DWORD WINAPI HeldWorker(void* release) {
    ::WaitForSingleObject(static_cast<HANDLE>(release), 30000);
    return 0;
}

}  // namespace

// Closing the worker's message boxes is shown by the end-to-end Quit test.
TEST(WorkerStop, GivesUpOnAWorkerThatDoesNotEnd) {
    SharedRunState shared;
    const UniqueKernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    DWORD id = 0;
    const UniqueKernelHandle worker(::CreateThread(nullptr, 0, HeldWorker, release.get(), 0, &id));
    EXPECT_FALSE(StopWorker(shared, worker.get(), id, 300));
    EXPECT_TRUE(shared.copyCancelRequested);
    EXPECT_TRUE(shared.listAbortRequested);
    ::SetEvent(release.get());
    ::WaitForSingleObject(worker.get(), INFINITE);
}
