#include "run/copy_check.h"

#include <cstring>
#include <vector>

#include "disk_reader.h"
#include "find_data.h"

namespace {

// The source is asked through its open handle: looking it up by name
// again cost several times the copy of a small file under Wine.
bool Unchanged(HANDLE source, const WIN32_FIND_DATAW& before) {
    BY_HANDLE_FILE_INFORMATION now;
    if (!::GetFileInformationByHandle(source, &now)) return false;
    return now.nFileSizeHigh == before.nFileSizeHigh && now.nFileSizeLow == before.nFileSizeLow &&
           ::CompareFileTime(&now.ftLastWriteTime, &before.ftLastWriteTime) == 0;
}

// Compares the rest of the copy with the source, piece by piece.
CopyCheck Compare(HANDLE source, DiskReader& copy, std::uint64_t size, DWORD& error) {
    std::vector<std::uint8_t> piece(DiskReader::PieceBytesFor(size));
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
    UniqueKernelHandle sourceFile = files.Open(source, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                               FILE_FLAG_SEQUENTIAL_SCAN, error);
    // A source that has gone or changed since the copy began is not the one copied.
    if (!sourceFile) return error == ERROR_FILE_NOT_FOUND ? CopyCheck::SourceChanged : CopyCheck::Unreadable;
    if (!Unchanged(sourceFile.get(), sourceBefore)) return CopyCheck::SourceChanged;
    const std::uint64_t size = FileSizeOf(sourceBefore);
    DiskReader copyFile(files, copy, size);
    if ((error = copyFile.error()) != 0) return CopyCheck::Unreadable;
    const CopyCheck result = Compare(sourceFile.get(), copyFile, size, error);
    // A source written to while it was read back proves nothing either way.
    if (result != CopyCheck::Unreadable && !Unchanged(sourceFile.get(), sourceBefore)) return CopyCheck::SourceChanged;
    return result;
}
