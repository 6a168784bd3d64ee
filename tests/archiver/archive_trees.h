// Source trees and helpers shared by the archiver's unit tests.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "test_files.h"

// A source folder with a few files, one of them several blocks long.
std::wstring MakeSource(const TempDir& dir);

// A tree of many small files (text, noise, empty) around two files of
// several blocks, with empty folders and Japanese names, so small-file jobs,
// block turns and every kind of entry come up.
std::wstring MakeMixedSource(const TempDir& dir);

// The names in a folder (path ending in "\"), as the file system lists them.
std::vector<std::wstring> NamesIn(const std::wstring& folder);
