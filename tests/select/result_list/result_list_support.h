// Helpers of the copy result list tests: entries from made-up find data and
// golden files compared with written lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "result_list/list_header.h"
#include "result_list/result_entries.h"

// Find data of a file of `bytes` bytes last written at a local time.
WIN32_FIND_DATAW FileFindData(std::uint64_t bytes, int year, int month, int day, int hour, int minute);
WIN32_FIND_DATAW FolderFindData();

// Records a file or a folder the way the copy run does: the relative path
// marked (a folder with a trailing "\" added), then added with its find data.
void RecordFile(ResultEntryTable& table, std::wstring_view relativePath, std::uint64_t bytes, int year = 2018,
                int month = 10, int day = 1, int hour = 8, int minute = 0);
void RecordFolder(ResultEntryTable& table, std::wstring_view relativePath);

// A header that prints nothing (no selection, no empty-folder rule).
ListHeader PlainHeader();

// The bytes a golden file stands for: its UTF-8 lines as UTF-16LE with CR LF,
// after the byte-order mark. Golden files lie in golden\result_list beside the test program.
std::vector<std::uint8_t> GoldenListBytes(std::string_view goldenName);

// Compares the whole file with the golden one; on a difference names the
// first line that differs.
void ExpectListMatchesGolden(const std::wstring& listPath, std::string_view goldenName);
