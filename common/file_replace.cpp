#include "file_replace.h"

#include <windows.h>

#include <array>

#include "handles.h"
#include "paths.h"

namespace {

bool FlushToDisk(const std::wstring& path) {
    const UniqueKernelHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && ::FlushFileBuffers(file.get());
}

}  // namespace

std::optional<std::wstring> CreateTemporaryBeside(const std::wstring& target) {
    const std::wstring folder = FolderOf(target);
    std::array<wchar_t, MAX_PATH> name{};
    if (folder.empty() || ::GetTempFileNameW(folder.c_str(), L"var", 0, name.data()) == 0) return std::nullopt;
    return std::wstring(name.data());
}

bool ReplaceWithTemporary(const std::wstring& temporary, const std::wstring& target) {
    if (FlushToDisk(temporary) &&
        ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(temporary.c_str());
    return false;
}

bool CopyFileWhole(const std::wstring& source, const std::wstring& target) {
    const std::optional<std::wstring> temporary = CreateTemporaryBeside(target);
    if (!temporary) return false;
    if (!::CopyFileW(source.c_str(), temporary->c_str(), FALSE)) {
        ::DeleteFileW(temporary->c_str());
        return false;
    }
    return ReplaceWithTemporary(*temporary, target);
}
