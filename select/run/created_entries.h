// What a copy run made, recorded at the moment it was made. The run removes
// only entries it finds here: an entry that merely has the name the run
// wanted may be the user's.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>

#include "file_system.h"

class CreatedEntries {
public:
    // Records a folder (or file) this run has just created. Safe from any thread.
    void Add(std::wstring_view path);
    [[nodiscard]] bool Contains(std::wstring_view path) const;

    // Removes the folder when this run made it and it is empty; true when it
    // is gone. A folder the run did not make is never touched.
    bool RemoveEmptyFolder(FileSystem& files, std::wstring_view folder);

private:
    // Lower case (as the file system compares names), extended-length form,
    // no trailing "\".
    static std::wstring KeyOf(std::wstring_view path);

    mutable std::mutex lock_;
    std::unordered_set<std::wstring> entries_;
};
