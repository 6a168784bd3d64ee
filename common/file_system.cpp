#include "file_system.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kExtendedUncPrefix = L"\\\\?\\UNC\\";

bool IsDots(std::wstring_view name) {
    return name == L"." || name == L"..";
}

class SystemFiles final : public FileSystem {
public:
    DWORD List(const std::wstring& folder, const Visit& visit) override {
        WIN32_FIND_DATAW data;
        std::wstring pattern = folder;
        if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
        pattern += L'*';
        UniqueFindHandle find(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                                 nullptr, FIND_FIRST_EX_LARGE_FETCH));
        if (!find) {
            // A drive root without entries has no "." either: nothing found is empty.
            const DWORD error = ::GetLastError();
            return error == ERROR_FILE_NOT_FOUND ? 0 : error;
        }
        do {
            if (!IsDots(data.cFileName) && !visit(data)) return 0;
        } while (::FindNextFileW(find.get(), &data));
        const DWORD error = ::GetLastError();
        return error == ERROR_NO_MORE_FILES ? 0 : error;
    }

    DWORD Find(const std::wstring& path, WIN32_FIND_DATAW& data) override {
        UniqueFindHandle find(::FindFirstFileW(path.c_str(), &data));
        return find ? 0 : ::GetLastError();
    }

    DWORD GetAttributes(const std::wstring& path) override { return ::GetFileAttributesW(path.c_str()); }

    DWORD SetAttributes(const std::wstring& path, DWORD attributes) override {
        return ::SetFileAttributesW(path.c_str(), attributes) ? 0 : ::GetLastError();
    }

    DWORD MakeFolder(const std::wstring& folder) override {
        return ::CreateDirectoryW(folder.c_str(), nullptr) ? 0 : ::GetLastError();
    }

    DWORD Copy(const std::wstring& from, const std::wstring& to, LPPROGRESS_ROUTINE progress, void* context,
               DWORD flags) override {
        return ::CopyFileExW(from.c_str(), to.c_str(), progress, context, nullptr, flags) ? 0 : ::GetLastError();
    }

    DWORD MoveReplacing(const std::wstring& from, const std::wstring& to) override {
        return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : ::GetLastError();
    }

    DWORD RemoveFile(const std::wstring& path) override { return ::DeleteFileW(path.c_str()) ? 0 : ::GetLastError(); }

    DWORD RemoveFolder(const std::wstring& path) override {
        return ::RemoveDirectoryW(path.c_str()) ? 0 : ::GetLastError();
    }

    UniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                            DWORD& error) override {
        UniqueKernelHandle file(::CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
        const DWORD last = ::GetLastError();
        // Opening an existing file under OPEN_ALWAYS or CREATE_ALWAYS succeeds
        // and says so through ERROR_ALREADY_EXISTS.
        const bool opensExisting = disposition == OPEN_ALWAYS || disposition == CREATE_ALWAYS;
        error = !file ? last : (opensExisting && last == ERROR_ALREADY_EXISTS ? ERROR_ALREADY_EXISTS : 0);
        return file;
    }
};

// The part of a path that has no parent: "C:", "\\?\C:", "\\server\share",
// "\\?\UNC\server\share".
std::size_t RootLength(std::wstring_view path) {
    std::size_t prefix = 0;
    bool unc = false;
    if (path.starts_with(kExtendedUncPrefix)) {
        prefix = kExtendedUncPrefix.size();
        unc = true;
    } else if (path.starts_with(kExtendedPrefix)) {
        prefix = kExtendedPrefix.size();
    } else if (path.starts_with(L"\\\\")) {
        prefix = 2;
        unc = true;
    }
    if (!unc) return std::min(path.size(), prefix + 2);
    const std::size_t server = path.find(L'\\', prefix);
    if (server == std::wstring_view::npos) return path.size();
    const std::size_t share = path.find(L'\\', server + 1);
    return share == std::wstring_view::npos ? path.size() : share;
}

std::wstring ParentOf(std::wstring_view folder) {
    const std::size_t slash = folder.find_last_of(L'\\');
    return slash == std::wstring_view::npos ? std::wstring() : std::wstring(folder.substr(0, slash));
}

bool IsFolderAttribute(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

FileSystem& SystemFileSystem() {
    static SystemFiles files;
    return files;
}

std::wstring ExtendedLengthPath(std::wstring_view path) {
    if (path.starts_with(kExtendedPrefix)) return std::wstring(path);
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return std::wstring(kExtendedPrefix) + std::wstring(path);
    if (path.starts_with(L"\\\\") && path.size() > 2 && path[2] != L'\\' && path[2] != L'.')
        return std::wstring(kExtendedUncPrefix) + std::wstring(path.substr(2));
    return std::wstring(path);
}

std::wstring FullPath(std::wstring_view path) {
    const std::wstring given(path);
    const DWORD size = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (size == 0) return given;
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return given;
    full.resize(length);
    return full;
}

std::wstring DisplayPath(std::wstring_view path) {
    if (path.starts_with(kExtendedUncPrefix)) return L"\\\\" + std::wstring(path.substr(kExtendedUncPrefix.size()));
    if (path.starts_with(kExtendedPrefix)) return std::wstring(path.substr(kExtendedPrefix.size()));
    return std::wstring(path);
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring path(folder);
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path + std::wstring(name);
}

DWORD MakeFolders(FileSystem& fs, std::wstring_view folder, const std::function<void(const std::wstring&)>& created) {
    std::wstring path(folder);
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    if (path.empty()) return ERROR_BAD_PATHNAME;
    if (IsFolderAttribute(fs.GetAttributes(path))) return 0;
    // The missing folders from the innermost out; made from the outermost in.
    std::vector<std::wstring> missing;
    const std::size_t root = RootLength(path);
    for (std::wstring at = path; at.size() > root && !IsFolderAttribute(fs.GetAttributes(at)); at = ParentOf(at))
        missing.push_back(at);
    for (auto at = missing.rbegin(); at != missing.rend(); ++at) {
        const DWORD error = fs.MakeFolder(*at);
        if (error == ERROR_ALREADY_EXISTS && IsFolderAttribute(fs.GetAttributes(*at))) continue;
        if (error != 0) return error;
        if (created) created(*at);
    }
    return 0;
}

DWORD ReplaceWithNewFile(FileSystem& fs, const std::wstring& newFile, const std::wstring& target) {
    const DWORD old = fs.GetAttributes(target);
    const bool readOnly = old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY);
    if (readOnly) {
        if (const DWORD error = fs.SetAttributes(target, old & ~FILE_ATTRIBUTE_READONLY); error != 0) return error;
    }
    const DWORD error = fs.MoveReplacing(newFile, target);
    if (error != 0 && readOnly) (void)fs.SetAttributes(target, old);
    return error;
}

void RemoveMadeFile(FileSystem& fs, const std::wstring& path) {
    if (fs.RemoveFile(path) == 0) return;
    (void)fs.SetAttributes(path, FILE_ATTRIBUTE_NORMAL);
    (void)fs.RemoveFile(path);
}
