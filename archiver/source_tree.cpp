#include "source_tree.h"

#include <algorithm>

#include "archiver_api.h"
#include "cancel_flag.h"
#include "find_data.h"
#include "handles.h"
#include "text.h"
#include "zip_records.h"

namespace {

std::wstring WithoutTrailingSeparators(std::wstring_view path) {
    while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) path.remove_suffix(1);
    return std::wstring(path);
}

// The last part of a path ("C:\a\work" -> "work"); empty for a drive root.
std::wstring LastPart(std::wstring_view path) {
    const std::size_t cut = path.find_last_of(L"\\/:");
    return std::wstring(cut == std::wstring_view::npos ? path : path.substr(cut + 1));
}

SourceItem ItemFromFindData(const std::wstring& path, std::string name, const WIN32_FIND_DATAW& data) {
    SourceItem item;
    item.path = path;
    item.name = std::move(name);
    item.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    item.size = item.isFolder ? 0 : FileSizeOf(data);
    item.writeTime = data.ftLastWriteTime;
    item.accessTime = data.ftLastAccessTime;
    item.creationTime = data.ftCreationTime;
    item.attributes = StoredAttributes(data.dwFileAttributes);
    return item;
}

class TreeScanner {
public:
    explicit TreeScanner(const std::atomic<bool>* cancel) : cancel_(cancel) {}

    // Adds the entries under folder (a path without trailing "\") whose
    // entry names start with prefix ("" or "work/").
    bool AddContents(const std::wstring& folder, const std::string& prefix) {
        if (IsCancelled(cancel_)) return Fail(kArchiverStopped, folder);
        std::vector<WIN32_FIND_DATAW> children;
        if (!ListFolder(folder, children)) return Fail(kArchiverCannotRead, folder);
        for (const WIN32_FIND_DATAW& child : children) {
            const std::wstring path = folder + L"\\" + child.cFileName;
            const std::string utf8 = WideToUtf8(child.cFileName);
            if (utf8.empty()) return Fail(kArchiverBadName, path);
            const bool isFolder = (child.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const std::string name = prefix + utf8 + (isFolder ? "/" : "");
            scan.items.push_back(ItemFromFindData(path, name, child));
            const bool isLink = (child.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if (isFolder && !isLink && !AddContents(path, name)) return false;
        }
        return true;
    }

    bool Fail(int code, const std::wstring& path) {
        scan.code = code;
        scan.failedPath = path;
        return false;
    }

    SourceScan scan;

private:
    static bool ListFolder(const std::wstring& folder, std::vector<WIN32_FIND_DATAW>& children) {
        WIN32_FIND_DATAW data;
        UniqueFindHandle find(::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data,
                                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
        if (!find) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
        do {
            const std::wstring_view name = data.cFileName;
            if (name != L"." && name != L"..") children.push_back(data);
        } while (::FindNextFileW(find.get(), &data));
        if (::GetLastError() != ERROR_NO_MORE_FILES) return false;
        // Sorted, so the same tree gives the same archive on every file system.
        std::sort(children.begin(), children.end(), [](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
            return ::CompareStringOrdinal(a.cFileName, -1, b.cFileName, -1, TRUE) == CSTR_LESS_THAN;
        });
        return true;
    }

    const std::atomic<bool>* cancel_;
};

// Find data of the source itself; a drive root has none and reads as a
// folder without times.
bool FindSource(const std::wstring& path, WIN32_FIND_DATAW& data) {
    data = {};
    if (LastPart(path).empty()) {
        const DWORD attributes = ::GetFileAttributesW((path + L"\\").c_str());
        data.dwFileAttributes = attributes;
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    if (path.find_first_of(L"*?") != std::wstring::npos) return false;
    UniqueFindHandle find(::FindFirstFileW(path.c_str(), &data));
    return find.valid();
}

}  // namespace

std::uint32_t StoredAttributes(DWORD fileAttributes) {
    if (fileAttributes & FILE_ATTRIBUTE_DIRECTORY) return kDosFolder;
    return kDosArchive | (fileAttributes & kDosReadOnly);
}

SourceScan ScanSource(std::wstring_view source, const std::atomic<bool>* cancel) {
    TreeScanner scanner(cancel);
    const std::wstring path = WithoutTrailingSeparators(source);
    WIN32_FIND_DATAW data;
    if (!FindSource(path, data)) {
        scanner.Fail(kArchiverCannotRead, std::wstring(source));
        return std::move(scanner.scan);
    }
    const std::wstring ownName = LastPart(path);
    const std::string utf8 = WideToUtf8(ownName);
    if (!ownName.empty() && utf8.empty()) {
        scanner.Fail(kArchiverBadName, path);
        return std::move(scanner.scan);
    }
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        scanner.scan.items.push_back(ItemFromFindData(path, utf8, data));
        return std::move(scanner.scan);
    }
    // A drive root has no name of its own: its contents go to the top level.
    const std::string prefix = utf8.empty() ? std::string() : utf8 + "/";
    if (!prefix.empty()) scanner.scan.items.push_back(ItemFromFindData(path, prefix, data));
    scanner.AddContents(path, prefix);
    return std::move(scanner.scan);
}
