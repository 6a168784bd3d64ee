// What a copy run records for its copy result list: one marked relative path
// per copied file or created folder, files with their date and size texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

struct ResultEntry {
    std::wstring path;  // marked relative path, see MarkEntryPath
    std::wstring date;  // files only: local last-write time "yyyy/MM/dd HH:mm"
    std::wstring size;  // files only: kilobytes rounded up, digit groups, " KB"
};

// The entries of one source. Room is taken in blocks of 1024 entries; the
// first block is taken when the table is made, the next one as soon as the
// last free entry has been filled. When room cannot be had, MemoryOk() turns
// false for good and nothing more is recorded (the copy run then lets the
// command interpreter write the list).
class ResultEntryTable {
public:
    static constexpr std::size_t kBlockEntries = 1024;
    static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

    // entryLimit stands for the memory there is: room beyond it cannot be
    // had, exactly as when an allocation fails (tests use it).
    explicit ResultEntryTable(std::size_t entryLimit = kNoLimit);

    [[nodiscard]] bool MemoryOk() const { return memoryOk_; }
    [[nodiscard]] std::size_t size() const { return entries_.size(); }
    std::vector<ResultEntry>& entries() { return entries_; }
    const std::vector<ResultEntry>& entries() const { return entries_; }

    // Keeps the entry in the room taken before (nothing while MemoryOk() is
    // false), then takes the next block when the room is full.
    void Add(ResultEntry&& entry);
    // An allocation for an entry failed.
    void MarkOutOfMemory() { memoryOk_ = false; }

private:
    void TakeRoom();

    std::vector<ResultEntry> entries_;
    std::size_t room_ = 0;  // entries that fit without taking another block
    std::size_t entryLimit_;
    bool memoryOk_ = true;
};

// The marked form of a relative path: ">" before every folder component, "<"
// before the file name. Pass a folder with a trailing "\" and isFile false
// ("A\B\" -> ">A\>B\"), a file with isFile true ("A\x.txt" -> ">A\<x.txt").
// Exactly: the first character gets ">" before it when the path holds a "\",
// else "<"; every "\" but the last is followed by ">"; the last "\" is
// followed by "<" for a file and by nothing for a folder.
std::wstring MarkEntryPath(std::wstring_view relativePath, bool isFile);

// Records a marked path; a file (no directory attribute in the find data)
// also gets its date and size texts. Does nothing while MemoryOk() is false.
void AddResultEntry(ResultEntryTable& table, std::wstring_view markedPath, const WIN32_FIND_DATAW& findData);

// "yyyy/MM/dd HH:mm" of a file time in local time.
std::wstring EntryDateText(const FILETIME& lastWriteTime);

// The size in kilobytes, rounded up when there is a remainder, with digit
// groups and " KB": 0 -> "0 KB", 1 -> "1 KB", 1025 -> "2 KB".
std::wstring EntrySizeText(std::uint64_t bytes);
