// The file operations of a copy run and of the archiver, behind one
// interface. The programs use the system's own; tests put a layer in its
// place that applies Windows' rules where Wine does not, or that fails on
// purpose. Paths are full paths; a path that may grow past the platform's
// limit is handed over in its extended-length form (ExtendedLengthPath).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include <windows.h>

#include "handles.h"

class FileSystem {
public:
    using Visit = std::function<bool(const WIN32_FIND_DATAW&)>;

    virtual ~FileSystem() = default;

    // Calls visit for every entry of the folder but "." and "..", until it
    // answers false. Returns 0 when the listing reached its end or visit
    // stopped it, else the error that ended it (an unreadable folder, or a
    // listing that broke off part-way).
    virtual DWORD List(const std::wstring& folder, const Visit& visit) = 0;
    // The find data of one file or folder; 0 or the error.
    virtual DWORD Find(const std::wstring& path, WIN32_FIND_DATAW& data) = 0;
    // The attributes, or INVALID_FILE_ATTRIBUTES when there is no such entry.
    virtual DWORD GetAttributes(const std::wstring& path) = 0;
    virtual DWORD SetAttributes(const std::wstring& path, DWORD attributes) = 0;
    // Creates one folder whose parent exists; ERROR_ALREADY_EXISTS when an
    // entry of that name is there.
    virtual DWORD MakeFolder(const std::wstring& folder) = 0;
    // Copies a file as CopyFileExW does: over an existing `to`, or failing
    // on it with COPY_FILE_FAIL_IF_EXISTS in flags; progress (when given) is
    // called as the bytes go.
    virtual DWORD Copy(const std::wstring& from, const std::wstring& to, LPPROGRESS_ROUTINE progress, void* context,
                       DWORD flags) = 0;
    // Renames `from` to `to` in one step, replacing a file there.
    virtual DWORD MoveReplacing(const std::wstring& from, const std::wstring& to) = 0;
    virtual DWORD RemoveFile(const std::wstring& path) = 0;
    // Removes an empty folder.
    virtual DWORD RemoveFolder(const std::wstring& path) = 0;
    // Opens or creates a file as CreateFileW does; an empty handle sets error.
    virtual UniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                                    DWORD& error) = 0;
};

// The system's file operations.
FileSystem& SystemFileSystem();

// "C:\a" -> "\\?\C:\a", "\\server\share\a" -> "\\?\UNC\server\share\a": the
// form that Windows does not cut at 260 characters. The path must be full
// and normal (no "." or ".." parts, "\" between parts); other paths, and
// paths that already carry the prefix, are returned as they are.
std::wstring ExtendedLengthPath(std::wstring_view path);
// The full form of a path as the system resolves it against the current
// folder ("." and ".." applied, "/" made "\\"); the path as it is when the
// system cannot.
std::wstring FullPath(std::wstring_view path);
// The path as the user knows it, without the extended-length prefix.
std::wstring DisplayPath(std::wstring_view path);
// folder, one "\", then name, for paths of any length (an extended-length
// path must not hold "\\" inside).
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// Creates the folder and its missing parents through fs, calling created
// for each folder it made (outermost first). Returns 0 when the folder
// exists or was made, else the error.
[[nodiscard]] DWORD MakeFolders(FileSystem& fs, std::wstring_view folder,
                                const std::function<void(const std::wstring&)>& created = {});

// Moves a complete new file over `target` in one step. A read-only target
// is replaced too (the rename refuses it): its attribute is cleared first
// and put back if the move fails, so a failure leaves the old file as it was.
[[nodiscard]] DWORD ReplaceWithNewFile(FileSystem& fs, const std::wstring& newFile, const std::wstring& target);

// Removes a file the caller made. A read-only copy of a read-only source is
// made writable first (the system refuses to delete it otherwise).
void RemoveMadeFile(FileSystem& fs, const std::wstring& path);

// A file the caller has just made under a fresh name: removed again when the
// guard goes, however the work ends, unless Keep() says it took its place.
class FreshFile {
public:
    FreshFile(FileSystem& fs, std::wstring path) : fs_(fs), path_(std::move(path)) {}
    ~FreshFile() {
        if (!path_.empty()) RemoveMadeFile(fs_, path_);
    }
    FreshFile(const FreshFile&) = delete;
    FreshFile& operator=(const FreshFile&) = delete;
    void Keep() { path_.clear(); }

private:
    FileSystem& fs_;
    std::wstring path_;
};
