#include "windows_rules_files.h"

#include <algorithm>

#include "paths.h"
#include "text.h"

namespace {

// Naming Files, Paths, and Namespaces, "Maximum Path Length Limitation":
// a path is limited to MAX_PATH (260) characters, its terminating NUL
// included, unless it carries the "\\?\" prefix.
constexpr std::size_t kMaxPlainPath = MAX_PATH;
// CreateDirectoryW: "There is a default string size limit for paths of 248
// characters" (room left for an 8.3 name inside the folder).
constexpr std::size_t kMaxPlainFolderPath = 248;

bool IsExtended(const std::wstring& path) {
    return path.starts_with(L"\\\\?\\");
}

std::wstring KeyOf(const std::wstring& path) {
    return ToLowerText(ExtendedLengthPath(StripTrailingBackslash(path)));
}

bool Has(DWORD attributes, DWORD flag) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & flag) != 0;
}

}  // namespace

void WindowsRulesFiles::MarkReparsePoint(const std::wstring& folder, DWORD tag, DWORD extraAttributes,
                                         bool refuseListing) {
    std::lock_guard guard(lock_);
    reparse_[KeyOf(folder)] = {tag, extraAttributes | FILE_ATTRIBUTE_REPARSE_POINT, refuseListing};
}

const WindowsRulesFiles::Reparse* WindowsRulesFiles::ReparseAt(const std::wstring& path) const {
    std::lock_guard guard(lock_);
    const auto found = reparse_.find(KeyOf(path));
    return found == reparse_.end() ? nullptr : &found->second;
}

DWORD WindowsRulesFiles::CheckLength(const std::wstring& path, std::size_t limit) {
    if (IsExtended(path)) return 0;
    std::size_t longest = longestPlainPath.load();
    while (path.size() > longest && !longestPlainPath.compare_exchange_weak(longest, path.size())) {
    }
    // The terminating NUL counts: 259 characters are the most that fit.
    if (path.size() + 1 <= limit) return 0;
    return limit == kMaxPlainFolderPath ? ERROR_FILENAME_EXCED_RANGE : ERROR_PATH_NOT_FOUND;
}

void WindowsRulesFiles::Decorate(const std::wstring& path, WIN32_FIND_DATAW& data) const {
    if (const Reparse* mark = ReparseAt(path)) {
        data.dwFileAttributes |= mark->extraAttributes;
        data.dwReserved0 = mark->tag;
    }
}

DWORD WindowsRulesFiles::List(const std::wstring& folder, const Visit& visit) {
    if (const DWORD error = CheckLength(JoinPath(folder, L"*"))) return error;
    // The compatibility junctions of a profile ("My Music", "Application
    // Data", ...) deny listing to everyone: "Everyone: Deny List folder".
    if (const Reparse* mark = ReparseAt(folder); mark && mark->refuseListing) return ERROR_ACCESS_DENIED;
    return inner_.List(folder, [&](const WIN32_FIND_DATAW& entry) {
        WIN32_FIND_DATAW data = entry;
        Decorate(JoinPath(folder, data.cFileName), data);
        return visit(data);
    });
}

DWORD WindowsRulesFiles::Find(const std::wstring& path, WIN32_FIND_DATAW& data) {
    if (const DWORD error = CheckLength(path)) return error;
    const DWORD error = inner_.Find(path, data);
    if (error == 0) Decorate(path, data);
    return error;
}

DWORD WindowsRulesFiles::GetAttributes(const std::wstring& path) {
    if (CheckLength(path) != 0) return INVALID_FILE_ATTRIBUTES;
    DWORD attributes = inner_.GetAttributes(path);
    if (const Reparse* mark = ReparseAt(path); mark && attributes != INVALID_FILE_ATTRIBUTES)
        attributes |= mark->extraAttributes;
    return attributes;
}

DWORD WindowsRulesFiles::SetAttributes(const std::wstring& path, DWORD attributes) {
    if (const DWORD error = CheckLength(path)) return error;
    return inner_.SetAttributes(path, attributes);
}

DWORD WindowsRulesFiles::MakeFolder(const std::wstring& folder) {
    if (const DWORD error = CheckLength(folder, kMaxPlainFolderPath)) return error;
    return inner_.MakeFolder(folder);
}

// CopyFileExW as Windows does it:
// - CopyFile, Remarks: "This function fails with ERROR_ACCESS_DENIED if the
//   destination file already exists and has the FILE_ATTRIBUTE_HIDDEN or
//   FILE_ATTRIBUTE_READONLY attribute set", and "File attributes for the
//   existing file are copied to the new file".
// - CopyFileEx, lpProgressRoutine: "called each time another portion of the
//   file has been copied"; CopyProgressRoutine, PROGRESS_CANCEL: "Cancel the
//   copy operation and delete the destination file", and CopyFileEx then
//   fails with ERROR_REQUEST_ABORTED. The destination is deleted whoever it
//   belonged to: an existing file of that name is gone.
DWORD WindowsRulesFiles::Copy(const std::wstring& from, const std::wstring& to, LPPROGRESS_ROUTINE progress,
                              void* context, DWORD flags) {
    if (const DWORD error = CheckLength(from)) return error;
    if (const DWORD error = CheckLength(to)) return error;
    const DWORD existing = inner_.GetAttributes(to);
    if (existing != INVALID_FILE_ATTRIBUTES) {
        if (flags & COPY_FILE_FAIL_IF_EXISTS) return ERROR_FILE_EXISTS;
        if (Has(existing, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY))
            return ERROR_ACCESS_DENIED;
    }
    WIN32_FIND_DATAW source;
    if (const DWORD error = inner_.Find(from, source)) return error;
    if (const DWORD error = inner_.Copy(from, to, nullptr, nullptr, flags)) return error;
    (void)inner_.SetAttributes(to, source.dwFileAttributes & ~FILE_ATTRIBUTE_DIRECTORY);
    if (!progress) return 0;

    const std::uint64_t total = (std::uint64_t{source.nFileSizeHigh} << 32) | source.nFileSizeLow;
    LARGE_INTEGER totalSize;
    totalSize.QuadPart = static_cast<LONGLONG>(total);
    std::uint64_t done = 0;
    DWORD reason = CALLBACK_STREAM_SWITCH;
    for (;;) {
        LARGE_INTEGER transferred;
        transferred.QuadPart = static_cast<LONGLONG>(done);
        ++progressCalls;
        const DWORD answer =
            progress(totalSize, transferred, totalSize, transferred, 1, reason, nullptr, nullptr, context);
        if (answer == PROGRESS_CANCEL) {
            (void)inner_.SetAttributes(to, FILE_ATTRIBUTE_NORMAL);
            (void)inner_.RemoveFile(to);
            return ERROR_REQUEST_ABORTED;
        }
        if (done == total && reason == CALLBACK_CHUNK_FINISHED) return 0;
        done = std::min(total, done + kProgressChunk);
        reason = CALLBACK_CHUNK_FINISHED;
    }
}

// A rename that replaces a file needs to delete it: MoveFileEx fails with
// ERROR_ACCESS_DENIED when the target is a read-only file (DeleteFile,
// Remarks: "If an application attempts to delete a file that is read-only,
// the function fails with ERROR_ACCESS_DENIED") or a folder.
DWORD WindowsRulesFiles::MoveReplacing(const std::wstring& from, const std::wstring& to) {
    if (const DWORD error = CheckLength(from)) return error;
    if (const DWORD error = CheckLength(to)) return error;
    if (Has(inner_.GetAttributes(to), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return ERROR_ACCESS_DENIED;
    return inner_.MoveReplacing(from, to);
}

DWORD WindowsRulesFiles::RemoveFile(const std::wstring& path) {
    if (const DWORD error = CheckLength(path)) return error;
    if (Has(inner_.GetAttributes(path), FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
    return inner_.RemoveFile(path);
}

DWORD WindowsRulesFiles::RemoveFolder(const std::wstring& path) {
    if (const DWORD error = CheckLength(path)) return error;
    return inner_.RemoveFolder(path);
}

// CreateFileW, Remarks: "If CREATE_ALWAYS and FILE_ATTRIBUTE_NORMAL are
// specified, CreateFile fails and sets the last error to ERROR_ACCESS_DENIED
// if the file exists and has the FILE_ATTRIBUTE_HIDDEN or
// FILE_ATTRIBUTE_SYSTEM attribute" (TRUNCATE_EXISTING likewise); and File
// Attribute Constants, FILE_ATTRIBUTE_READONLY: "Applications can read the
// file, but cannot write to it or delete it."
UniqueKernelHandle WindowsRulesFiles::Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                                           DWORD flags, DWORD& error) {
    if ((error = CheckLength(path)) != 0) return {};
    const DWORD existing = inner_.GetAttributes(path);
    if (existing != INVALID_FILE_ATTRIBUTES) {
        const DWORD kept = existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        const bool truncates = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
        const bool writes = (access & (GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA)) != 0;
        if ((truncates && (flags & kept) != kept) || (writes && Has(existing, FILE_ATTRIBUTE_READONLY))) {
            error = ERROR_ACCESS_DENIED;
            return {};
        }
    }
    return inner_.Open(path, access, share, disposition, flags, error);
}
