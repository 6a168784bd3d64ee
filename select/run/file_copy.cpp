#include "run/file_copy.h"

#include <atomic>

#include "format.h"
#include "paths.h"
#include "result_list/thousands.h"
#include "run/copy_check.h"

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

// Reads the copy at `target` (a name this copy made and may overwrite) back
// when verifyAgainst is given; a copy that differs is made once more over
// the first (made writable: a read-only source gives a read-only copy).
CopyResult CheckAndRepair(FileSystem& files, const std::wstring& from, const std::wstring& target,
                          SharedRunState& shared, const WIN32_FIND_DATAW* verifyAgainst) {
    if (!verifyAgainst) return {};
    for (int attempt = 0;; ++attempt) {
        shared.statusProgressText.Set(L"Verifying...");
        DWORD error = 0;
        switch (CheckCopy(files, from, target, *verifyAgainst, error)) {
            case CopyCheck::Same:
                return {};
            case CopyCheck::SourceChanged:
                return {0, false, true};
            case CopyCheck::Unreadable:
                return {error};
            case CopyCheck::Differs:
                break;
        }
        if (attempt == 1) return {0, true, false};
        (void)files.SetAttributes(target, FILE_ATTRIBUTE_NORMAL);
        if (const DWORD copyError = files.Copy(from, target, CopyProgress, &shared, 0); copyError != 0)
            return {copyError};
    }
}

CopyResult ReplaceExistingFile(FileSystem& files, const std::wstring& from, const std::wstring& to,
                               SharedRunState& shared, const WIN32_FIND_DATAW* verifyAgainst) {
    const std::wstring folder = FolderOf(to);
    for (int attempt = 0; attempt < kFreshNameAttempts; ++attempt) {
        const std::wstring fresh = FreshNameIn(folder);
        const DWORD error = files.Copy(from, fresh, CopyProgress, &shared, COPY_FILE_FAIL_IF_EXISTS);
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
        // The name was free, so whatever is there now is this copy's.
        FreshFile made(files, fresh);
        if (error != 0) return {error};
        CopyResult result = CheckAndRepair(files, from, fresh, shared, verifyAgainst);
        if (result.error != 0 || result.differs) return result;
        result.error = ReplaceWithNewFile(files, fresh, to);
        if (result.error == 0) made.Keep();
        return result;
    }
    return {ERROR_FILE_EXISTS};
}

}  // namespace

CopyResult CopyOneFile(FileSystem& files, const std::wstring& from, const std::wstring& to, SharedRunState& shared,
                       Destination destination, const WIN32_FIND_DATAW* verifyAgainst) {
    if (destination == Destination::MayExist && files.GetAttributes(to) != INVALID_FILE_ATTRIBUTES)
        return ReplaceExistingFile(files, from, to, shared, verifyAgainst);
    // The file was not there before: what is there now is this copy's, kept
    // only when it is complete and, if asked, read back and matched.
    FreshFile made(files, to);
    if (const DWORD error = files.Copy(from, to, CopyProgress, &shared, 0); error != 0) return {error};
    const CopyResult result = CheckAndRepair(files, from, to, shared, verifyAgainst);
    if (result.error == 0 && !result.differs) made.Keep();
    return result;
}
