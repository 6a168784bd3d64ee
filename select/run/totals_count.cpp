#include "run/totals_count.h"

#include <mutex>

#include "find_data.h"
#include "folder_links.h"
#include "paths.h"
#include "run/copy_rules.h"
#include "run/copy_run.h"
#include "run/folder_tree.h"
#include "thread_barrier.h"

// What the count's thread shares with the run that started it. The run
// cuts the link when it leaves the thread behind.
struct CountJob {
    CountJob(std::vector<std::wstring> p, const Settings& s, const SelectionConditions& c, FileSystem& f,
             SharedRunState& shared)
        : paths(std::move(p)), settings(s), conditions(c), files(f), run_(&shared) {}

    // The count is to end: Stop(), or Cancel in the run.
    bool Stopping() {
        if (stop.load()) return true;
        std::lock_guard guard(lock_);
        if (!run_ || run_->copyCancelRequested.load()) stop = true;
        return stop.load();
    }

    void Finish(bool complete, const CountedTotals& totals) {
        std::lock_guard guard(lock_);
        if (!run_) return;
        RunProgress& progress = run_->progress;
        if (complete) {
            progress.filesTotal = totals.files;
            progress.bytesTotal = totals.bytes;
        }
        progress.count = complete ? CountState::Complete : CountState::Stopped;
    }

    // The run goes on without the count: nothing more is reported.
    void Unlink() {
        std::lock_guard guard(lock_);
        if (run_ && run_->progress.count.load() == CountState::Counting) run_->progress.count = CountState::Stopped;
        run_ = nullptr;
        stop = true;
    }

    const std::vector<std::wstring> paths;
    const Settings settings;
    const SelectionConditions conditions;
    FileSystem& files;
    std::atomic<bool> stop{false};

private:
    std::mutex lock_;
    SharedRunState* run_;
};

namespace {

// The walk goes down recursively, and so does the count: as much room as
// the worker has.
constexpr SIZE_T kCountStackBytes = 256u << 20;

// The count's view of the file system: it reads and never writes, and every
// listing (the empty-folder scans' too) ends at the next entry once the
// count is to stop.
class CountReads : public FileSystem {
public:
    explicit CountReads(CountJob& job) : job_(job) {}

    DWORD List(const std::wstring& folder, const Visit& visit) override {
        return job_.files.List(folder, [&](const WIN32_FIND_DATAW& data) { return !job_.Stopping() && visit(data); });
    }
    DWORD Find(const std::wstring& path, WIN32_FIND_DATAW& data) override { return job_.files.Find(path, data); }
    DWORD GetAttributes(const std::wstring& path) override { return job_.files.GetAttributes(path); }
    DWORD SetAttributes(const std::wstring&, DWORD) override { return ERROR_ACCESS_DENIED; }
    DWORD MakeFolder(const std::wstring&) override { return ERROR_ACCESS_DENIED; }
    DWORD Copy(const std::wstring&, const std::wstring&, LPPROGRESS_ROUTINE, void*, DWORD) override {
        return ERROR_ACCESS_DENIED;
    }
    DWORD MoveReplacing(const std::wstring&, const std::wstring&) override { return ERROR_ACCESS_DENIED; }
    DWORD RemoveFile(const std::wstring&) override { return ERROR_ACCESS_DENIED; }
    DWORD RemoveFolder(const std::wstring&) override { return ERROR_ACCESS_DENIED; }
    UniqueKernelHandle Open(const std::wstring&, DWORD, DWORD, DWORD, DWORD, DWORD& error) override {
        error = ERROR_ACCESS_DENIED;
        return {};
    }

private:
    CountJob& job_;
};

// One count over the sources: the walk's decisions, entry by entry.
struct CountWalk {
    const Settings& settings;
    const SelectionConditions& conditions;
    FileSystem& files;
    const std::atomic<bool>& stop;
    CopyableFiles copyable;
    CountedTotals totals;
};

void AddFile(CountWalk& walk, const WIN32_FIND_DATAW& data) {
    ++walk.totals.files;
    walk.totals.bytes += FileSizeOf(data);
}

// As WalkFolder goes: into folders that are no links and, when empty folders
// are tested first, hold a file to copy; files that the conditions select.
void CountFolder(CountWalk& walk, const std::wstring& folder) {
    (void)walk.files.List(folder, [&](const WIN32_FIND_DATAW& data) {
        if (walk.stop.load()) return false;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            if (Selected(walk.conditions, data)) AddFile(walk, data);
            return true;
        }
        if (!EntersFolder(data)) return true;
        const std::wstring path = JoinPath(folder, data.cFileName);
        if (PrecheckEmptyFolders(walk.settings) && !walk.copyable.InFolder(path)) return true;
        CountFolder(walk, path);
        return true;
    });
}

// As CopyOneSource takes a source: found as it finds it, a file tested by
// its name, a folder walked from its root.
void CountSource(CountWalk& walk, const std::wstring& path) {
    std::wstring source;
    WIN32_FIND_DATAW data;
    if (!FindSource(walk.files, path, source, data)) return;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        if (IsFileSelected(walk.conditions, FileNameOf(source), data.ftLastWriteTime)) AddFile(walk, data);
        return;
    }
    CountFolder(walk, ExtendedLengthPath(source));
}

DWORD WINAPI CountThread(void* parameter) {
    const std::shared_ptr<CountJob> job =
        *std::unique_ptr<std::shared_ptr<CountJob>>(static_cast<std::shared_ptr<CountJob>*>(parameter));
    RunBehindBarrier(
        [&job] {
            CountReads reads(*job);
            CountedTotals totals;
            const bool complete = CountSources(job->paths, job->settings, job->conditions, reads, job->stop, totals);
            job->Finish(complete, totals);
        },
        // The copy goes on as if there were no count.
        [&job](const std::wstring&) { job->Finish(false, {}); });
    return 0;
}

}  // namespace

bool CountsTotals(const Settings& s) {
    return s.Select == 1 && !ListOnly(s) && !DeliversZip(s);
}

bool CountSources(const std::vector<std::wstring>& paths, const Settings& settings,
                  const SelectionConditions& conditions, FileSystem& files, const std::atomic<bool>& stop,
                  CountedTotals& totals) {
    CountWalk walk{settings, conditions, files, stop, CopyableFiles(settings, conditions, files, stop), {}};
    for (const std::wstring& path : paths) {
        if (stop.load()) return false;
        CountSource(walk, path);
    }
    totals = walk.totals;
    return !stop.load();
}

TotalsCount::TotalsCount(std::vector<std::wstring> paths, const Settings& settings,
                         const SelectionConditions& conditions, FileSystem& files, SharedRunState& shared)
    : job_(std::make_shared<CountJob>(std::move(paths), settings, conditions, files, shared)) {
    shared.progress.count = CountState::Counting;
    auto handOver = std::make_unique<std::shared_ptr<CountJob>>(job_);
    thread_.reset(::CreateThread(nullptr, kCountStackBytes, CountThread, handOver.get(),
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (thread_)
        (void)handOver.release();
    else
        job_->Finish(false, {});
}

TotalsCount::~TotalsCount() {
    Stop();
}

bool TotalsCount::Stop(DWORD limitMs) {
    job_->stop = true;
    if (!thread_) return true;
    const bool ended = ::WaitForSingleObject(thread_.get(), limitMs) == WAIT_OBJECT_0;
    if (!ended) job_->Unlink();
    thread_.reset();
    return ended;
}
