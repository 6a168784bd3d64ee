// Path helpers shared by the three programs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include <windows.h>

// The platform's path limit, terminator included: a path holds at most 259 characters.
constexpr std::size_t kMaxPathChars = 260;
constexpr std::size_t kMaxPathLength = kMaxPathChars - 1;

// Appends "\" to a non-empty path that does not end in one. Works on at most
// 520 characters of the path, as the settings paths and histories expect.
std::wstring AddTrailingBackslash(std::wstring_view path);
std::wstring StripTrailingBackslash(std::wstring_view path);

// True when a file or folder of that name exists; a drive root exists too.
bool PathExists(std::wstring_view path);
bool IsFolder(std::wstring_view path);

// Creates the folder and its missing parents. Returns 0 when the folder
// exists or was made, else the platform's error number.
[[nodiscard]] int CreateFolderTree(std::wstring_view path);

// Path of a shell special folder (CSIDL). On failure records the step
// stepPrefix + "GSFP1".."GSFP3" and returns nothing.
std::optional<std::wstring> GetSpecialFolderPath(int csidl, std::wstring_view stepPrefix = L"");

constexpr int kCsidlDesktop = 0;        // CSIDL_DESKTOP
constexpr int kCsidlDocuments = 5;      // CSIDL_PERSONAL
constexpr int kCsidlSendTo = 9;         // CSIDL_SENDTO
constexpr int kCsidlAppData = 26;       // CSIDL_APPDATA
constexpr int kCsidlLocalAppData = 28;  // CSIDL_LOCAL_APPDATA

// The user's UI language, when the system tells it.
std::optional<LANGID> GetUiLanguage();

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();

// Drive and folder of a path, with a trailing backslash ("C:\a\b.txt" -> "C:\a\").
std::wstring FolderOf(std::wstring_view path);

// The text after the last "\" that is not the final character (a trailing
// "\" included); the whole path when there is no such "\".
std::wstring LastPathComponent(std::wstring_view path);

// The name after the last "\" of a path without a trailing "\".
std::wstring FileNameOf(std::wstring_view path);

// Splits a file name at its last dot: "a.b.txt" -> {"a.b", ".txt"}.
struct NameParts {
    std::wstring base;
    std::wstring extension;
};
NameParts SplitExtension(std::wstring_view fileName);
