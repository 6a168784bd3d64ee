// Temporary folders and file helpers for the unit tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

// A fresh folder under the temporary folder, deleted with everything in it
// when the object goes away. Path ends with "\".
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(std::wstring_view name) const { return path_ + std::wstring(name); }

private:
    std::wstring path_;
};

std::vector<std::uint8_t> ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::wstring& path, std::string_view utf8);
// A UTF-16LE file's text without its byte-order mark.
std::wstring ReadUtf16File(const std::wstring& path);
// UTF-16LE bytes of a text, optionally with FF FE first.
std::vector<std::uint8_t> Utf16Bytes(std::wstring_view text, bool withBom);

void MakeFolder(const std::wstring& path);
// A local date and time, and the file time it stands for.
SYSTEMTIME LocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
FILETIME LocalFileTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
void SetLastWriteTime(const std::wstring& path, int year, int month, int day, int hour = 12, int minute = 0,
                      int second = 0);
bool Exists(const std::wstring& path);
void DeleteTree(const std::wstring& path);

// Wine's own behaviour differs from Windows in a few places the tests state.
bool RunningUnderWine();
