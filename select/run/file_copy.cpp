#include "run/file_copy.h"

#include <atomic>

#include "format.h"
#include "paths.h"
#include "result_list/thousands.h"

namespace {

// Fresh names tried for a copy that will replace a file.
constexpr int kFreshNameAttempts = 100;

DWORD CALLBACK CopyProgress(LARGE_INTEGER totalSize, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER, DWORD,
                            DWORD, HANDLE, HANDLE, LPVOID context) {
    auto& shared = *static_cast<SharedRunState*>(context);
    if (shared.copyCancelRequested.load()) return PROGRESS_CANCEL;
    FileCopyProgress::Transferred(static_cast<std::uint64_t>(transferred.QuadPart));
    // Nothing may be thrown through the system's copy; the line is only shown.
    try {
        shared.statusProgressText.Set(
            FormatText(L"%s/ %s Byte", {FormatThousands(std::to_wstring(transferred.QuadPart)),
                                        FormatThousands(std::to_wstring(totalSize.QuadPart))}));
    } catch (...) {
    }
    return PROGRESS_CONTINUE;
}

// A short name in the copy's folder: the long name of the copy may already
// be near the length a name can have.
std::wstring FreshNameIn(const std::wstring& folder) {
    static std::atomic<unsigned> counter{::GetTickCount() ^ (::GetCurrentProcessId() << 16)};
    return folder + FormatText(L"~vc%08x.tmp", {static_cast<std::uint32_t>(counter.fetch_add(1))});
}

DWORD ReplaceExistingFile(FileSystem& files, const std::wstring& from, const std::wstring& to, SharedRunState& shared) {
    const std::wstring folder = FolderOf(to);
    for (int attempt = 0; attempt < kFreshNameAttempts; ++attempt) {
        const std::wstring fresh = FreshNameIn(folder);
        DWORD error = files.Copy(from, fresh, CopyProgress, &shared, COPY_FILE_FAIL_IF_EXISTS);
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
        // The name was free, so whatever is there now is this copy's.
        FreshFile made(files, fresh);
        if (error == 0) error = ReplaceWithNewFile(files, fresh, to);
        if (error == 0) made.Keep();
        return error;
    }
    return ERROR_FILE_EXISTS;
}

}  // namespace

DWORD CopyOneFile(FileSystem& files, const std::wstring& from, const std::wstring& to, SharedRunState& shared,
                  Destination destination) {
    if (destination == Destination::MayExist && files.GetAttributes(to) != INVALID_FILE_ATTRIBUTES)
        return ReplaceExistingFile(files, from, to, shared);
    const DWORD error = files.Copy(from, to, CopyProgress, &shared, 0);
    // The file was not there before: what is there now is this copy's.
    if (error != 0) RemoveMadeFile(files, to);
    return error;
}
