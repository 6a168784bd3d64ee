#include "context_menu_job.h"

#include <mutex>

struct ContextMenuJob::Shared {
    Exchange exchange;
    HWND window;
    UINT doneMessage;
    UniqueKernelHandle stop;
    mutable std::mutex lock;
    ElevationAnswer answer{ElevationStatus::Failed, {}};

    void Finish(const ElevationAnswer& result) {
        {
            const std::lock_guard<std::mutex> guard(lock);
            answer = result;
        }
        ::PostMessageW(window, doneMessage, 0, 0);
    }
};

// The thread's one barrier: whatever goes wrong inside the exchange ends the
// job as failed and is reported like any answer, never a silent end.
DWORD WINAPI ContextMenuJob::Run(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Shared>> owner(static_cast<std::shared_ptr<Shared>*>(parameter));
    Shared& shared = **owner;
    ElevationAnswer answer{ElevationStatus::Failed, {}};
    try {
        // Starting a program through the shell may use its COM objects.
        const ScopedCom com;
        answer = shared.exchange(shared.stop.get());
    } catch (...) {
        answer = {ElevationStatus::Failed, {}};
    }
    shared.Finish(answer);
    return 0;
}

ContextMenuJob::ContextMenuJob(Exchange exchange, HWND window, UINT doneMessage) : shared_(std::make_shared<Shared>()) {
    shared_->exchange = std::move(exchange);
    shared_->window = window;
    shared_->doneMessage = doneMessage;
    shared_->stop.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (shared_->stop) {
        auto* parameter = new std::shared_ptr<Shared>(shared_);
        thread_.reset(::CreateThread(nullptr, 0, Run, parameter, 0, nullptr));
        if (thread_) return;
        delete parameter;
    }
    shared_->Finish({ElevationStatus::Failed, {}});
}

ContextMenuJob::~ContextMenuJob() {
    if (shared_->stop) ::SetEvent(shared_->stop.get());
    if (thread_) ::WaitForSingleObject(thread_.get(), kStopWaitMs);
}

ElevationAnswer ContextMenuJob::Answer() const {
    const std::lock_guard<std::mutex> guard(shared_->lock);
    return shared_->answer;
}
