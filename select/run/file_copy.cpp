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

DWORD CopyOneFile(const std::wstring& from, const std::wstring& to, SharedRunState& shared, Destination destination) {
    // Only a file this copy creates may be removed again; one that was there
    // before belongs to the user.
    const bool existed =
        destination == Destination::MayExist && ::GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (::CopyFileExW(from.c_str(), to.c_str(), CopyProgress, &shared, nullptr, 0)) return 0;
    const DWORD error = ::GetLastError();
    // Windows removes the part file of a failed or cancelled copy, Wine does
    // not: make sure none is left either way.
    if (!existed) ::DeleteFileW(to.c_str());
    return error;
}
