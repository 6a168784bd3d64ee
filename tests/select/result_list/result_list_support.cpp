#include "result_list_support.h"

#include <gtest/gtest.h>

#include <sstream>

#include "paths.h"
#include "test_files.h"
#include "text.h"

WIN32_FIND_DATAW FileFindData(std::uint64_t bytes, int year, int month, int day, int hour, int minute) {
    WIN32_FIND_DATAW data = {};
    data.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    data.ftLastWriteTime = LocalFileTime(year, month, day, hour, minute);
    data.nFileSizeHigh = static_cast<DWORD>(bytes >> 32);
    data.nFileSizeLow = static_cast<DWORD>(bytes & 0xFFFFFFFFu);
    return data;
}

WIN32_FIND_DATAW FolderFindData() {
    WIN32_FIND_DATAW data = {};
    data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    return data;
}

void RecordFile(ResultEntryTable& table, std::wstring_view relativePath, std::uint64_t bytes, int year, int month,
                int day, int hour, int minute) {
    AddResultEntry(table, MarkEntryPath(relativePath, true), FileFindData(bytes, year, month, day, hour, minute));
}

void RecordFolder(ResultEntryTable& table, std::wstring_view relativePath) {
    AddResultEntry(table, MarkEntryPath(std::wstring(relativePath) + L"\\", false), FolderFindData());
}

ListHeader PlainHeader() {
    ListHeader header;
    header.select = 0;
    return header;
}

namespace {

std::wstring Utf16Text(const std::vector<std::uint8_t>& bytes) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

std::vector<std::uint8_t> GoldenListBytes(std::string_view goldenName) {
    const std::wstring path = ProgramFolder() + L"golden\\result_list\\" + Utf8ToWide(goldenName);
    const std::vector<std::uint8_t> utf8 = ReadBytes(path);
    EXPECT_FALSE(utf8.empty()) << "golden file missing: " << goldenName;
    std::wstring text = Utf8ToWide(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
    std::wstring crlf;
    for (const wchar_t c : text) {
        if (c == L'\n') crlf += L'\r';
        crlf += c;
    }
    return Utf16Bytes(crlf, true);
}

void ExpectListMatchesGolden(const std::wstring& listPath, std::string_view goldenName) {
    const std::vector<std::uint8_t> expected = GoldenListBytes(goldenName);
    const std::vector<std::uint8_t> actual = ReadBytes(listPath);
    if (actual == expected) return;
    const std::vector<std::string> want = SplitLines(WideToUtf8(Utf16Text(expected)));
    const std::vector<std::string> got = SplitLines(WideToUtf8(Utf16Text(actual)));
    std::size_t line = 0;
    while (line < want.size() && line < got.size() && want[line] == got[line]) ++line;
    ADD_FAILURE() << goldenName << ": " << actual.size() << " bytes written, " << expected.size()
                  << " expected; first difference in line " << line + 1 << "\n  expected: ["
                  << (line < want.size() ? want[line] : "<end>") << "]\n  written:  ["
                  << (line < got.size() ? got[line] : "<end>") << "]";
}
