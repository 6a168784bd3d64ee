#include "run/file_copy.h"

#include "format.h"
#include "result_list/thousands.h"

namespace {

DWORD CALLBACK CopyProgress(LARGE_INTEGER totalSize, LARGE_INTEGER transferred, LARGE_INTEGER, LARGE_INTEGER, DWORD,
                            DWORD, HANDLE, HANDLE, LPVOID context) {
    auto& shared = *static_cast<SharedRunState*>(context);
    if (shared.CopyCancelRequested.load()) return PROGRESS_CANCEL;
    shared.StatusProgressText.Set(FormatText(L"%s/ %s Byte", {FormatThousands(std::to_wstring(transferred.QuadPart)),
                                                              FormatThousands(std::to_wstring(totalSize.QuadPart))}));
    return PROGRESS_CONTINUE;
}

}  // namespace

DWORD CopyOneFile(const std::wstring& from, const std::wstring& to, SharedRunState& shared) {
    if (::CopyFileExW(from.c_str(), to.c_str(), CopyProgress, &shared, nullptr, 0)) return 0;
    const DWORD error = ::GetLastError();
    // Windows deletes the destination of a cancelled copy; make sure no part
    // file is left where a platform does not.
    if (error == ERROR_REQUEST_ABORTED) ::DeleteFileW(to.c_str());
    return error;
}
