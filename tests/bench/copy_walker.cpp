// The floor for the copy benchmark: walks a tree with FindFirstFileW and
// copies every file with CopyFileExW, nothing else.
//
//   copy_walker.exe <source folder> <destination folder>
#include <windows.h>

#include <string>

namespace {

bool CopyTree(const std::wstring& from, const std::wstring& to) {
    if (!::CreateDirectoryW(to.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    WIN32_FIND_DATAW data;
    const HANDLE find = ::FindFirstFileW((from + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return true;
    bool ok = true;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = CopyTree(from + L"\\" + name, to + L"\\" + name) && ok;
        else
            ok = ::CopyFileExW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), nullptr, nullptr, nullptr,
                               0) &&
                 ok;
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::wstring from = argv[1];
    const DWORD attributes = ::GetFileAttributesW(from.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return 1;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ::CopyFileExW(from.c_str(), argv[2], nullptr, nullptr, nullptr, 0) ? 0 : 1;
    return CopyTree(from, argv[2]) ? 0 : 1;
}
