#include "run/zip_delivery.h"

#include "archive_order.h"
#include "archiver_api.h"
#include "message_box.h"

namespace {

constexpr MessagePair kNotUtf8 = {L"ZIP形式 ユニコード(UTF-8)に変換できませんでした。\n\n%s",
                                  L"ZIP format. Could not be converted to Unicode(UTF-8).\n\n%s"};
constexpr MessagePair kNotCompressed = {L"ZIP形式に圧縮できませんでした。\n7-zip ErrorCD:0x%08x\n\n%s",
                                        L"Could not be converted to ZIP format.\n7-zip ErrorCD:0x%08x\n\n%s"};
constexpr MessagePair kArchiveDiffers = {
    L"作成したZipファイルを読み戻すと内容が一致しませんでした。もう一度作成しても一致しなかったため、残していません。\n"
    L"\n%s",
    L"The archive did not read back as it was written, not even when it was made a second time. It has not been "
    L"kept.\n\n%s"};

}  // namespace

void ReportNameWithoutUtf8(const std::wstring& path) {
    ShowMessage(nullptr, MB_ICONERROR, kNotUtf8, {DisplayPath(path)});
}

int TreeArchiveItems(const std::wstring& sourceRoot, const WIN32_FIND_DATAW& rootData, const std::wstring& topName,
                     const std::vector<PackedEntry>& packed, std::vector<SourceItem>& items, std::wstring& badPath) {
    items.clear();
    items.reserve(packed.size() + 1);
    SourceItem item;
    if (MakeSourceItem(sourceRoot, topName + L"\\", rootData, item) != kArchiverOk) {
        badPath = sourceRoot;
        return kArchiverBadName;
    }
    items.push_back(std::move(item));
    for (const PackedEntry& entry : packed) {
        if (MakeSourceItem(entry.sourcePath, topName + L"\\" + entry.relativePath, entry.data, item) != kArchiverOk) {
            badPath = entry.sourcePath;
            return kArchiverBadName;
        }
        items.push_back(std::move(item));
    }
    SortIntoArchiveOrder(items);
    return kArchiverOk;
}

int FileArchiveItems(const std::wstring& sourceFile, const WIN32_FIND_DATAW& data, std::vector<SourceItem>& items,
                     std::wstring& badPath) {
    items.clear();
    SourceItem item;
    if (MakeSourceItem(sourceFile, data.cFileName, data, item) != kArchiverOk) {
        badPath = sourceFile;
        return kArchiverBadName;
    }
    items.push_back(std::move(item));
    return kArchiverOk;
}

bool DeliverArchive(const std::vector<SourceItem>& items, const std::wstring& archivePath,
                    const DeliveryOptions& delivery) {
    ArchiveOptions options;
    options.shareWrite = true;  // files other programs are writing are packed as they are
    options.cancel = delivery.cancel;
    options.files = delivery.files;
    options.progress = delivery.progress;
    options.verify = delivery.verify;
    options.onChecking = delivery.onChecking;
    const std::wstring target = ExtendedLengthPath(archivePath);
    ArchiveOutcome outcome = WriteArchive(items, target, options);
    if (outcome.code == kArchiverBadArchive) outcome = WriteArchive(items, target, options);
    if (outcome.code == kArchiverOk) return true;
    if (outcome.code == kArchiverBadArchive) {
        ShowMessage(nullptr, MB_ICONERROR, kArchiveDiffers, {DisplayPath(archivePath)});
        return false;
    }
    if (outcome.code == kArchiverStopped) return false;
    if (outcome.code == kArchiverBadName) {
        ReportNameWithoutUtf8(outcome.path);
        return false;
    }
    ShowMessage(nullptr, MB_ICONERROR, kNotCompressed,
                {static_cast<std::uint32_t>(outcome.code), DisplayPath(outcome.path)});
    return false;
}
