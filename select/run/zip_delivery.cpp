#include "run/zip_delivery.h"

#include "archiver_api.h"
#include "message_box.h"
#include "thread_barrier.h"

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

namespace {

ArchiveOptions ArchiveOptionsFor(const DeliveryOptions& delivery) {
    ArchiveOptions options;
    options.shareWrite = true;  // files other programs are writing are packed as they are
    options.cancel = delivery.cancel;
    options.files = delivery.files;
    options.progress = delivery.progress;
    options.verify = delivery.verify;
    options.onChecking = delivery.onChecking;
    return options;
}

// An archive that does not read back is written once more.
ArchiveOutcome WriteDelivered(ArchiveItems& items, const std::wstring& archivePath, const ArchiveOptions& options) {
    const std::wstring target = ExtendedLengthPath(archivePath);
    ArchiveOutcome outcome = WriteArchive(items, target, options);
    if (outcome.code == kArchiverBadArchive) outcome = WriteArchive(items, target, options);
    return outcome;
}

bool ReportOutcome(const ArchiveOutcome& outcome, const std::wstring& archivePath) {
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

}  // namespace

bool DeliverArchive(const std::vector<SourceItem>& items, const std::wstring& archivePath,
                    const DeliveryOptions& delivery) {
    ArchiveItems list(items);
    SetArchiveTotals(items, delivery.progress);
    return ReportOutcome(WriteDelivered(list, archivePath, ArchiveOptionsFor(delivery)), archivePath);
}

TreePack::TreePack(const std::wstring& sourceRoot, const WIN32_FIND_DATAW& rootData, const std::wstring& topName,
                   bool dropEmptyFolders)
    : topName_(topName), dropEmptyFolders_(dropEmptyFolders) {
    SourceItem top;
    if (MakeSourceItem(sourceRoot, topName + L"\\", rootData, top) != kArchiverOk) {
        badPath_ = sourceRoot;
        items_.Abandon();
        return;
    }
    batches_.Add(std::move(top));
    entries_ = 1;
}

TreePack::~TreePack() {
    if (!writer_.joinable()) return;
    items_.Abandon();
    writer_.join();
}

void TreePack::Start(const std::wstring& archivePath, const DeliveryOptions& options) {
    archivePath_ = archivePath;
    progress_ = options.progress;
    if (progress_) {
        progress_->entriesTotal = 0;  // not known until the walk ends
        progress_->bytesTotal = 0;
    }
    writer_ = std::thread([this, archiveOptions = ArchiveOptionsFor(options)] {
        RunBehindBarrier([&] { outcome_ = WriteDelivered(items_, archivePath_, archiveOptions); },
                         [&](const std::wstring&) {
                             outcome_ = {kArchiverInternalError, archivePath_};
                         });
    });
}

void TreePack::Emit(const std::wstring& sourcePath, const std::wstring& relativePath, const WIN32_FIND_DATAW& data) {
    if (Failed()) return;
    SourceItem item;
    if (MakeSourceItem(sourcePath, topName_ + L"\\" + relativePath, data, item) != kArchiverOk) {
        badPath_ = sourcePath;
        items_.Abandon();
        return;
    }
    ++entries_;
    if (!item.isFolder) bytes_ += item.size;
    batches_.Add(std::move(item));
}

void TreePack::EnterFolder(const PackedEntry& folder) {
    const bool now = !dropEmptyFolders_;
    if (now) Emit(folder.sourcePath, folder.relativePath, folder.data);
    open_.push_back({folder, now});
}

void TreePack::LeaveFolder() {
    if (!open_.empty()) open_.pop_back();
}

void TreePack::AddFile(const PackedEntry& file) {
    ++files_;
    for (auto& [folder, emitted] : open_) {
        if (emitted) continue;
        Emit(folder.sourcePath, folder.relativePath, folder.data);
        emitted = true;
    }
    Emit(file.sourcePath, file.relativePath, file.data);
}

bool TreePack::Finish(bool keep) {
    if (keep && !Failed()) {
        if (progress_) {
            progress_->bytesTotal = bytes_;
            progress_->entriesTotal = entries_;
        }
        batches_.Close();
    } else {
        items_.Abandon();
    }
    if (writer_.joinable()) writer_.join();
    if (Failed()) {
        ReportNameWithoutUtf8(badPath_);
        return false;
    }
    return !keep || ReportOutcome(outcome_, archivePath_);
}
