// The reference for the copy benchmark: walks a tree with FindFirstFileW and
// copies every file with CopyFileExW, nothing else. With a thread count, the
// walk lists the files first and that many threads copy them from the list.
//
//   copy_walker.exe [threads] <source folder> <destination folder>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

using FileList = std::vector<std::pair<std::wstring, std::wstring>>;

bool Copy(const std::wstring& from, const std::wstring& to) {
    return ::CopyFileExW(from.c_str(), to.c_str(), nullptr, nullptr, nullptr, 0);
}

// Copies each file at once, or only lists it when `later` is given.
bool CopyTree(const std::wstring& from, const std::wstring& to, FileList* later) {
    if (!::CreateDirectoryW(to.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    WIN32_FIND_DATAW data;
    const HANDLE find = ::FindFirstFileW((from + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return true;
    bool ok = true;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = CopyTree(from + L"\\" + name, to + L"\\" + name, later) && ok;
        else if (later)
            later->emplace_back(from + L"\\" + name, to + L"\\" + name);
        else
            ok = Copy(from + L"\\" + name, to + L"\\" + name) && ok;
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return ok;
}

bool CopyListed(const FileList& files, int threads) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> ok{true};
    std::vector<std::thread> copiers;
    for (int i = 0; i < threads; ++i) {
        copiers.emplace_back([&] {
            for (std::size_t k; (k = next++) < files.size();)
                if (!Copy(files[k].first, files[k].second)) ok = false;
        });
    }
    for (std::thread& copier : copiers) copier.join();
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 && argc != 4) return 2;
    const int threads = argc == 4 ? _wtoi(argv[1]) : 0;
    const std::wstring from = argv[argc - 2];
    const std::wstring to = argv[argc - 1];
    const DWORD attributes = ::GetFileAttributesW(from.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return 1;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Copy(from, to) ? 0 : 1;
    if (threads <= 0) return CopyTree(from, to, nullptr) ? 0 : 1;
    FileList files;
    const bool listed = CopyTree(from, to, &files);
    return CopyListed(files, threads) && listed ? 0 : 1;
}
