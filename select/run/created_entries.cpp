#include "run/created_entries.h"

#include "paths.h"
#include "text.h"

std::wstring CreatedEntries::KeyOf(std::wstring_view path) {
    return ToLowerText(ExtendedLengthPath(StripTrailingBackslash(path)));
}

void CreatedEntries::Add(std::wstring_view path) {
    std::wstring key = KeyOf(path);
    std::lock_guard guard(lock_);
    entries_.insert(std::move(key));
}

bool CreatedEntries::Contains(std::wstring_view path) const {
    const std::wstring key = KeyOf(path);
    std::lock_guard guard(lock_);
    return entries_.count(key) != 0;
}

bool CreatedEntries::RemoveEmptyFolder(FileSystem& files, std::wstring_view folder) {
    const std::wstring key = KeyOf(folder);
    std::lock_guard guard(lock_);
    if (entries_.count(key) == 0) return false;
    if (files.RemoveFolder(ExtendedLengthPath(StripTrailingBackslash(folder))) != 0) return false;
    entries_.erase(key);
    return true;
}
