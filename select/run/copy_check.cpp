#include "run/copy_check.h"

#include <cstring>
#include <vector>

#include "disk_reader.h"
#include "find_data.h"

namespace {

constexpr std::size_t kSourcePieceBytes = 1 << 20;

bool Unchanged(FileSystem& files, const std::wstring& source, const WIN32_FIND_DATAW& before) {
    WIN32_FIND_DATAW now;
    if (files.Find(source, now) != 0) return false;
    return FileSizeOf(now) == FileSizeOf(before) &&
           ::CompareFileTime(&now.ftLastWriteTime, &before.ftLastWriteTime) == 0;
}

// Compares the rest of the copy with the source, piece by piece.
CopyCheck Compare(HANDLE source, DiskReader& copy, DWORD& error) {
    std::vector<std::uint8_t> piece(kSourcePieceBytes);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(source, piece.data(), static_cast<DWORD>(piece.size()), &read, nullptr)) {
            error = ::GetLastError();
            return CopyCheck::Unreadable;
        }
        if (read == 0) break;
        std::size_t compared = 0;
        while (compared < read) {
            const auto part = copy.Next(read - compared);
            if (part.empty()) {
                error = copy.error();
                return error != 0 ? CopyCheck::Unreadable : CopyCheck::Differs;  // the copy is shorter
            }
            if (std::memcmp(part.data(), piece.data() + compared, part.size()) != 0) return CopyCheck::Differs;
            compared += part.size();
        }
    }
    if (!copy.Next(1).empty()) return CopyCheck::Differs;  // the copy is longer
    error = copy.error();
    return error != 0 ? CopyCheck::Unreadable : CopyCheck::Same;
}

}  // namespace

CopyCheck CheckCopy(FileSystem& files, const std::wstring& source, const std::wstring& copy,
                    const WIN32_FIND_DATAW& sourceBefore, DWORD& error) {
    error = 0;
    if (!Unchanged(files, source, sourceBefore)) return CopyCheck::SourceChanged;
    UniqueKernelHandle sourceFile = files.Open(source, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                               FILE_FLAG_SEQUENTIAL_SCAN, error);
    if (!sourceFile) return CopyCheck::Unreadable;
    DiskReader copyFile(files, copy);
    if ((error = copyFile.error()) != 0) return CopyCheck::Unreadable;
    const CopyCheck result = Compare(sourceFile.get(), copyFile, error);
    // A source written to while it was read back proves nothing either way.
    if (result != CopyCheck::Unreadable && !Unchanged(files, source, sourceBefore)) return CopyCheck::SourceChanged;
    return result;
}
