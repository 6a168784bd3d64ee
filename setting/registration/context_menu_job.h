// The exchange with the elevation helper on a thread of its own, so that the
// window that asked for it keeps answering (repaints, moves, tab switches)
// while the helper's elevation prompt or message box is open.
#pragma once

#include <functional>
#include <memory>

#include <windows.h>

#include "elevation_exchange.h"
#include "handles.h"

class ContextMenuJob {
public:
    // The exchange itself; it ends its wait when `stop` is signalled.
    using Exchange = std::function<ElevationAnswer(HANDLE stop)>;

    // Starts the exchange; once it has ended, `doneMessage` is posted to
    // `window`. A thread that cannot be started posts at once (failed).
    ContextMenuJob(Exchange exchange, HWND window, UINT doneMessage);
    // A job that still runs is told to stop and given kStopWaitMs to end; a
    // thread held longer (inside the system's elevation prompt) is left to
    // end by itself and posts to a window that has gone.
    ~ContextMenuJob();
    ContextMenuJob(const ContextMenuJob&) = delete;
    ContextMenuJob& operator=(const ContextMenuJob&) = delete;

    // The answer, once the done message has arrived.
    ElevationAnswer Answer() const;

    static constexpr DWORD kStopWaitMs = 3000;

private:
    struct Shared;
    static DWORD WINAPI Run(void* parameter);
    std::shared_ptr<Shared> shared_;
    UniqueKernelHandle thread_;
};
