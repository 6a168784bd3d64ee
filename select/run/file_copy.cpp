#include "run/file_copy.h"

#include "format.h"
#include "result_list/thousands.h"

namespace {

DWORD CALLBACK CopyProgress(LARGE_INTEGER totalSize, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER, DWORD,
                            DWORD, HANDLE, HANDLE, LPVOID context) {
    auto& shared = *static_cast<SharedRunState*>(context);
    if (shared.copyCancelRequested.load()) return PROGRESS_CANCEL;
    shared.statusProgressText.Set(FormatText(L"%s/ %s Byte", {FormatThousands(std::to_wstring(transferred.QuadPart)),
                                                              FormatThousands(std::to_wstring(totalSize.QuadPart))}));
    return PROGRESS_CONTINUE;
}

}  // namespace

DWORD CopyOneFile(const std::wstring& from, const std::wstring& to, SharedRunState& shared) {
    // Only a file this copy creates may be removed again; one that was there
    // before belongs to the user. Asking the copy itself to refuse an
    // existing file tells which it is without a look-up of its own, which
    // would cost as much again for every small file.
    bool existed = false;
    if (::CopyFileExW(from.c_str(), to.c_str(), CopyProgress, &shared, nullptr, COPY_FILE_FAIL_IF_EXISTS)) return 0;
    DWORD error = ::GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
        existed = true;
        if (::CopyFileExW(from.c_str(), to.c_str(), CopyProgress, &shared, nullptr, 0)) return 0;
        error = ::GetLastError();
    }
    // Windows removes the part file of a failed or cancelled copy, Wine does
    // not: make sure none is left either way.
    if (!existed) ::DeleteFileW(to.c_str());
    return error;
}
