// File operations that follow Windows' documented rules where Wine bends
// them, over the real files: what passes here would pass on Windows, what
// Windows refuses fails here with the error Windows gives. Wine runs every
// process as an elevated root, accepts plain paths of any length, never
// calls a copy's progress routine, and has no junctions in a profile.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>

#include "file_system.h"

class WindowsRulesFiles : public FileSystem {
public:
    explicit WindowsRulesFiles(FileSystem& inner = SystemFileSystem()) : inner_(inner) {}

    // Makes an existing folder report itself as a reparse point with `tag`
    // (and the extra attributes, e.g. hidden and system for a profile's
    // compatibility junction). With refuseListing, listing it fails with
    // ERROR_ACCESS_DENIED, as the compatibility junctions' access list says.
    void MarkReparsePoint(const std::wstring& folder, DWORD tag, DWORD extraAttributes, bool refuseListing);

    // Bytes between two calls of a copy's progress routine.
    static constexpr std::uint64_t kProgressChunk = 64 * 1024;

    std::atomic<int> progressCalls{0};
    // The longest path handed over without the extended-length prefix.
    std::atomic<std::size_t> longestPlainPath{0};

    DWORD List(const std::wstring& folder, const Visit& visit) override;
    DWORD Find(const std::wstring& path, WIN32_FIND_DATAW& data) override;
    DWORD GetAttributes(const std::wstring& path) override;
    DWORD SetAttributes(const std::wstring& path, DWORD attributes) override;
    DWORD MakeFolder(const std::wstring& folder) override;
    DWORD Copy(const std::wstring& from, const std::wstring& to, LPPROGRESS_ROUTINE progress, void* context,
               DWORD flags) override;
    DWORD MoveReplacing(const std::wstring& from, const std::wstring& to) override;
    DWORD RemoveFile(const std::wstring& path) override;
    DWORD RemoveFolder(const std::wstring& path) override;
    UniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                            DWORD& error) override;

private:
    struct Reparse {
        DWORD tag;
        DWORD extraAttributes;
        bool refuseListing;
    };

    // ERROR_PATH_NOT_FOUND for a plain path of MAX_PATH characters or more
    // (`limit` 248 for a folder to create), else 0.
    DWORD CheckLength(const std::wstring& path, std::size_t limit = MAX_PATH);
    void Decorate(const std::wstring& path, WIN32_FIND_DATAW& data) const;
    const Reparse* ReparseAt(const std::wstring& path) const;

    FileSystem& inner_;
    mutable std::mutex lock_;
    std::map<std::wstring, Reparse> reparse_;  // lower-case extended-length paths
};
