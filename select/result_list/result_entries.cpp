#include "result_list/result_entries.h"

#include <algorithm>
#include <new>

#include "format.h"
#include "find_data.h"
#include "local_time.h"
#include "result_list/thousands.h"

ResultEntryTable::ResultEntryTable(std::size_t entryLimit) : entryLimit_(entryLimit) {
    TakeRoom();
}

void ResultEntryTable::Add(ResultEntry&& entry) {
    if (!memoryOk_) return;
    // The room was taken before, so this never allocates.
    entries_.push_back(std::move(entry));
    if (entries_.size() == room_) TakeRoom();
}

void ResultEntryTable::TakeRoom() {
    if (room_ + kBlockEntries > entryLimit_) {
        memoryOk_ = false;
        return;
    }
    try {
        // Blocks are counted in 1024 entries; the vector itself grows
        // geometrically so that long lists are not moved again and again.
        if (entries_.capacity() < room_ + kBlockEntries)
            entries_.reserve(std::max(room_ + kBlockEntries, entries_.capacity() * 2));
        room_ += kBlockEntries;
    } catch (const std::bad_alloc&) {
        memoryOk_ = false;
    }
}

std::wstring MarkEntryPath(std::wstring_view relativePath, bool isFile) {
    if (relativePath.empty()) return {};
    const std::size_t lastBackslash = relativePath.find_last_of(L'\\');
    std::wstring marked;
    marked.reserve(relativePath.size() + 8);
    marked += lastBackslash == std::wstring_view::npos ? L'<' : L'>';
    marked += relativePath[0];
    for (std::size_t j = 1; j < relativePath.size(); ++j) {
        const wchar_t c = relativePath[j];
        marked += c;
        if (c != L'\\') continue;
        if (j != lastBackslash)
            marked += L'>';
        else if (isFile)
            marked += L'<';
    }
    return marked;
}

std::wstring EntryDateText(const FILETIME& lastWriteTime) {
    // Local time of that date (with its own daylight-saving rule), as
    // Explorer shows it; a time that cannot be converted prints as zeros.
    const SYSTEMTIME local = LocalTimeOf(lastWriteTime).value_or(SYSTEMTIME{});
    return FormatText(L"%04d/%02d/%02d %02d:%02d", {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute});
}

std::wstring EntrySizeText(std::uint64_t bytes) {
    const std::uint64_t kilobytes = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
    return FormatThousands(std::to_wstring(kilobytes)) + L" KB";
}

void AddResultEntry(ResultEntryTable& table, std::wstring_view markedPath, const WIN32_FIND_DATAW& findData) {
    if (!table.MemoryOk()) return;
    ResultEntry entry;
    try {
        entry.path.assign(markedPath);
        if (!(findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            entry.date = EntryDateText(findData.ftLastWriteTime);
            entry.size = EntrySizeText(FileSizeOf(findData));
        }
    } catch (const std::bad_alloc&) {
        table.MarkOutOfMemory();
        return;
    }
    table.Add(std::move(entry));
}
