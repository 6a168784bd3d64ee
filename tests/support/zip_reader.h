// A small Zip reader of its own for the unit tests: the central directory's
// entries and their inflated bytes, checked against the CRC-32 stored. The
// archives' conformance is checked with unzip, 7zz and Python's zipfile;
// this lets a test in the process look into an archive it just made.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct ZipContent {
    // Entry name (UTF-8, "/" between parts) -> bytes; a folder entry ends in
    // "/" and has no bytes. In archive order as a list, too.
    std::map<std::string, std::vector<std::uint8_t>> entries;
    std::vector<std::string> order;
};

// Nothing when the file is not a readable archive, or an entry's bytes do
// not match its CRC-32 or size.
std::optional<ZipContent> ReadZip(const std::wstring& path);
