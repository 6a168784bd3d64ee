#include "paths.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "handles.h"
#include "step_trace.h"

namespace {
constexpr std::size_t kBackslashWorkChars = 520;
constexpr DWORD kErrorFileNotFound = 2;
constexpr DWORD kErrorNoMoreFiles = 18;
}  // namespace

std::wstring AddTrailingBackslash(std::wstring_view path) {
    std::wstring out(path.substr(0, kBackslashWorkChars - 1));
    if (!out.empty() && out.back() != L'\\' && out.size() < kBackslashWorkChars - 1) out += L'\\';
    return out;
}

std::wstring StripTrailingBackslash(std::wstring_view path) {
    if (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
    return std::wstring(path);
}

bool PathExists(std::wstring_view path) {
    const std::wstring name = StripTrailingBackslash(path);
    if (name.empty()) return false;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW(name.c_str(), &data));
    if (find) return true;
    const DWORD error = ::GetLastError();
    // A drive root cannot be searched for, but its attributes can be read.
    const std::wstring root = name + L"\\";
    if (::PathIsRootW(root.c_str())) return ::GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES;
    return ::GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES && error != kErrorFileNotFound &&
           error != kErrorNoMoreFiles;
}

bool IsFolder(std::wstring_view path) {
    const std::wstring name(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int CreateFolderTree(std::wstring_view path) {
    const std::wstring folder = AddTrailingBackslash(path);
    if (folder.empty()) return ERROR_BAD_PATHNAME;
    if (IsFolder(folder)) return 0;
    const int result = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (result == ERROR_ALREADY_EXISTS && IsFolder(folder)) return 0;
    return result;
}

std::optional<std::wstring> GetSpecialFolderPath(int csidl, std::wstring_view stepPrefix) {
    std::wstring step(stepPrefix);
    PIDLIST_ABSOLUTE list = nullptr;
    const HRESULT located = ::SHGetSpecialFolderLocation(nullptr, csidl, &list);
    if (FAILED(located) || !list) {
        RecordStep(step + L"GSFP2", 1003, static_cast<std::uint32_t>(located));
        return std::nullopt;
    }
    UniqueCoTaskMem owner(list);
    wchar_t buffer[MAX_PATH] = {};
    if (!::SHGetPathFromIDListW(list, buffer)) {
        RecordStep(step + L"GSFP3", 1006, ::GetLastError());
        return std::nullopt;
    }
    return std::wstring(buffer);
}

std::optional<LANGID> GetUiLanguage() {
    return ::GetUserDefaultUILanguage();
}

std::wstring ProgramFolder() {
    std::wstring buffer(32768, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(length);
    return FolderOf(buffer);
}

std::wstring FolderOf(std::wstring_view path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring_view::npos) return std::wstring(path.substr(0, slash + 1));
    // A bare drive ("C:name") keeps its drive.
    if (path.size() >= 2 && path[1] == L':') return std::wstring(path.substr(0, 2));
    return {};
}

std::wstring LastPathComponent(std::wstring_view path) {
    if (path.size() < 2) return std::wstring(path);
    const std::size_t slash = path.find_last_of(L'\\', path.size() - 2);
    if (slash == std::wstring_view::npos) return std::wstring(path);
    return std::wstring(path.substr(slash + 1));
}

std::wstring FileNameOf(std::wstring_view path) {
    const std::size_t slash = path.find_last_of(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

NameParts SplitExtension(std::wstring_view fileName) {
    const std::size_t dot = fileName.find_last_of(L'.');
    if (dot == std::wstring_view::npos) return {std::wstring(fileName), {}};
    return {std::wstring(fileName.substr(0, dot)), std::wstring(fileName.substr(dot))};
}
