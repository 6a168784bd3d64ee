#include "test_files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include <shlobj.h>

#include "handles.h"

namespace {
std::atomic<int> g_counter{0};
}

TempDir::TempDir() {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"varo_test_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
            std::to_wstring(g_counter++) + L"\\";
    DeleteTree(path_);
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

TempDir::~TempDir() {
    DeleteTree(path_);
}

void DeleteTree(const std::wstring& path) {
    // In the "\\?\" form, so names Windows cannot look up otherwise (a
    // trailing dot or blank, which some tests make) go too.
    const bool absolute = path.size() > 2 && path[1] == L':';
    std::wstring folder = absolute ? L"\\\\?\\" + path : path;
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(folder.c_str());
        return;
    }
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") DeleteTree(folder + L"\\" + name);
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();
    ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(folder.c_str());
}

std::vector<std::uint8_t> ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::wstring& path, std::string_view utf8) {
    WriteBytes(path, std::vector<std::uint8_t>(utf8.begin(), utf8.end()));
}

std::wstring ReadUtf16File(const std::wstring& path) {
    const auto bytes = ReadBytes(path);
    std::size_t start = (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) ? 2 : 0;
    std::wstring text;
    for (std::size_t i = start; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

std::vector<std::uint8_t> Utf16Bytes(std::wstring_view text, bool withBom) {
    std::vector<std::uint8_t> bytes;
    if (withBom) bytes = {0xFF, 0xFE};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

void MakeFolder(const std::wstring& path) {
    ::SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
}

SYSTEMTIME LocalTime(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(year);
    local.wMonth = static_cast<WORD>(month);
    local.wDay = static_cast<WORD>(day);
    local.wHour = static_cast<WORD>(hour);
    local.wMinute = static_cast<WORD>(minute);
    local.wSecond = static_cast<WORD>(second);
    return local;
}

FILETIME LocalFileTime(int year, int month, int day, int hour, int minute, int second) {
    const SYSTEMTIME local = LocalTime(year, month, day, hour, minute, second);
    SYSTEMTIME utc = {};
    ::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
    FILETIME time = {};
    ::SystemTimeToFileTime(&utc, &time);
    return time;
}

void SetLastWriteTime(const std::wstring& path, int year, int month, int day, int hour, int minute, int second) {
    const FILETIME time = LocalFileTime(year, month, day, hour, minute, second);
    const DWORD flags =
        (::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) ? FILE_FLAG_BACKUP_SEMANTICS : 0;
    UniqueKernelHandle file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, flags, nullptr));
    ASSERT_TRUE(file.valid());
    ::SetFileTime(file.get(), nullptr, nullptr, &time);
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RunningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
