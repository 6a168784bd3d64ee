#include "source_tree.h"

#include <algorithm>

#include "archive_order.h"
#include "archiver_api.h"
#include "cancel_flag.h"
#include "find_data.h"
#include "folder_links.h"
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

bool IsFolder(const WIN32_FIND_DATAW& data) {
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

SourceItem ItemFromFindData(std::wstring path, std::string name, const WIN32_FIND_DATAW& data) {
    SourceItem item;
    item.path = std::move(path);
    item.name = std::move(name);
    item.isFolder = IsFolder(data);
    item.size = item.isFolder ? 0 : FileSizeOf(data);
    item.writeTime = data.ftLastWriteTime;
    item.accessTime = data.ftLastAccessTime;
    item.creationTime = data.ftCreationTime;
    item.attributes = StoredAttributes(data.dwFileAttributes);
    return item;
}

class TreeScanner {
public:
    TreeScanner(const std::atomic<bool>* cancel, FileSystem& files, const ScanSink& sink)
        : cancel_(cancel), files_(files), sink_(sink) {}

    // Adds the entries under folder (a path without trailing "\") whose
    // entry names start with prefix ("" or "work/").
    bool AddContents(const std::wstring& folder, const std::string& prefix) {
        if (IsCancelled(cancel_)) return Fail(kArchiverStopped, folder);
        std::vector<WIN32_FIND_DATAW> children;
        if (!ListFolder(folder, children)) return Fail(kArchiverCannotRead, folder);
        for (const WIN32_FIND_DATAW& child : children) {
            std::wstring path = folder + L"\\" + child.cFileName;
            const std::string utf8 = WideToUtf8(child.cFileName);
            if (utf8.empty()) return Fail(kArchiverBadName, path);
            // A link to a folder is left out, as the copy walk leaves it out:
            // its content belongs to another place, and an empty folder in
            // its stead would tell of content that is not there.
            if (IsFolder(child) && !EntersFolder(child)) continue;
            const std::string name = prefix + utf8 + (IsFolder(child) ? "/" : "");
            if (name.size() > kZip16Limit) return Fail(kArchiverBadName, path);
            sink_(ItemFromFindData(path, name, child));
            if (IsFolder(child) && !AddContents(path, name)) return false;
        }
        return true;
    }

    bool Fail(int code, const std::wstring& path) {
        scan.code = code;
        scan.failedPath = DisplayPath(path);
        return false;
    }

    SourceScan scan;

private:
    bool ListFolder(const std::wstring& folder, std::vector<WIN32_FIND_DATAW>& children) {
        const DWORD error = files_.List(folder, [&children](const WIN32_FIND_DATAW& data) {
            children.push_back(data);
            return true;
        });
        if (error != 0) return false;
        std::sort(children.begin(), children.end(), [](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
            return NameComesFirst(a.cFileName, b.cFileName);
        });
        return true;
    }

    const std::atomic<bool>* cancel_;
    FileSystem& files_;
    const ScanSink& sink_;
};

// Find data of the source itself; a drive root has none and reads as a
// folder without times.
bool FindSource(const std::wstring& path, FileSystem& files, WIN32_FIND_DATAW& data) {
    data = {};
    if (LastPart(path).empty()) {
        const DWORD attributes = files.GetAttributes(path + L"\\");
        data.dwFileAttributes = attributes;
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    if (DisplayPath(path).find_first_of(L"*?") != std::wstring::npos) return false;
    return files.Find(path, data) == 0;
}

}  // namespace

std::uint32_t StoredAttributes(DWORD fileAttributes) {
    if (fileAttributes & FILE_ATTRIBUTE_DIRECTORY) return kDosFolder;
    return kDosArchive | (fileAttributes & kDosReadOnly);
}

int MakeSourceItem(std::wstring path, std::wstring_view archiveName, const WIN32_FIND_DATAW& data, SourceItem& item) {
    std::wstring name(archiveName);
    std::replace(name.begin(), name.end(), L'\\', L'/');
    while (!name.empty() && name.back() == L'/') name.pop_back();
    std::string utf8 = WideToUtf8(name);
    if (utf8.empty()) return kArchiverBadName;
    if (IsFolder(data)) utf8 += '/';
    if (utf8.size() > kZip16Limit) return kArchiverBadName;
    item = ItemFromFindData(std::move(path), std::move(utf8), data);
    return kArchiverOk;
}

SourceScan ScanSource(std::wstring_view source, const std::atomic<bool>* cancel, FileSystem& files,
                      const ScanSink& sink) {
    TreeScanner scanner(cancel, files, sink);
    // Extended-length, so that reads deep in the tree are not cut at 260 characters.
    const std::wstring path = WithoutTrailingSeparators(ExtendedLengthPath(FullPath(source)));
    WIN32_FIND_DATAW data;
    if (!FindSource(path, files, data)) {
        scanner.scan.code = kArchiverCannotRead;
        scanner.scan.failedPath = std::wstring(source);
        return std::move(scanner.scan);
    }
    const std::wstring ownName = LastPart(path);
    const std::string utf8 = WideToUtf8(ownName);
    if (!ownName.empty() && utf8.empty()) {
        scanner.Fail(kArchiverBadName, path);
        return std::move(scanner.scan);
    }
    if (!IsFolder(data)) {
        sink(ItemFromFindData(path, utf8, data));
        return std::move(scanner.scan);
    }
    // A drive root has no name of its own: its contents go to the top level.
    const std::string prefix = utf8.empty() ? std::string() : utf8 + "/";
    if (!prefix.empty()) sink(ItemFromFindData(path, prefix, data));
    scanner.AddContents(path, prefix);
    return std::move(scanner.scan);
}

SourceScan ScanSource(std::wstring_view source, const std::atomic<bool>* cancel, FileSystem& files) {
    std::vector<SourceItem> items;
    SourceScan scan =
        ScanSource(source, cancel, files, [&items](SourceItem item) { items.push_back(std::move(item)); });
    scan.items = std::move(items);
    return scan;
}
