// The file an archive is written into before it takes the archive's name.
#pragma once

#include <string>

#include "file_system.h"
#include "handles.h"

// A new file beside the archive, under a name that no entry had (created
// with CREATE_NEW, so nobody else's file is ever opened or removed), deleted
// again unless it was moved into place.
class TemporaryArchive {
public:
    // archivePath is full; it may be extended-length and longer than 260
    // characters. error is 0 or why no file could be created.
    TemporaryArchive(FileSystem& files, const std::wstring& archivePath, DWORD& error);
    ~TemporaryArchive();
    TemporaryArchive(const TemporaryArchive&) = delete;
    TemporaryArchive& operator=(const TemporaryArchive&) = delete;

    const std::wstring& path() const { return path_; }
    // The open file, for writing; taken once.
    UniqueKernelHandle TakeFile() { return std::move(file_); }
    // Puts the complete file (closed by now) in the archive's place,
    // replacing an earlier file of that name; 0 or the error.
    [[nodiscard]] DWORD MoveTo(const std::wstring& archivePath);

private:
    FileSystem& files_;
    std::wstring path_;
    UniqueKernelHandle file_;
};
