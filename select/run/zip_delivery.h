// Delivering a copy as a Zip archive straight from the sources: the entries
// the walk selects (or the one file) are packed into the archive, with no
// copy made first.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "archive_items.h"
#include "archive_writer.h"
#include "file_system.h"
#include "run/folder_tree.h"

// The single entry of a file source's archive, named like the file.
[[nodiscard]] int FileArchiveItems(const std::wstring& sourceFile, const WIN32_FIND_DATAW& data,
                                   std::vector<SourceItem>& items, std::wstring& badPath);

// How one archive is delivered.
struct DeliveryOptions {
    FileSystem* files = &SystemFileSystem();
    const std::atomic<bool>* cancel = nullptr;
    ArchiveProgress* progress = nullptr;
    // The archive is read back before it takes its place; one that does not
    // read back is written once more, and if that fails too, not kept.
    bool verify = false;
    // Called when the reading back begins.
    std::function<void()> onChecking;
};

// Packs items into archivePath. True when the archive is in place. Cancel
// (the flag set) ends it silently; other failures show why, naming the file
// that could not be read or the archive that could not be written. Either
// way no archive is left, and a file that was at archivePath before is left
// as it was.
[[nodiscard]] bool DeliverArchive(const std::vector<SourceItem>& items, const std::wstring& archivePath,
                                  const DeliveryOptions& options);

// Shows that a name has no UTF-8 form and cannot go into an archive.
void ReportNameWithoutUtf8(const std::wstring& path);

// A folder source packed while the walk is still listing it: the walk hands
// in the folders it enters and the files it selects, in archive order, and a
// writer thread packs each as soon as it comes. The archive holds one folder
// named topName (the archive's name without ".zip") with every entry at its
// place; sourceRoot and its find data give that folder's times. Under
// dropEmptyFolders a folder is held back until a file below it comes, so
// folders that hold no file at any depth are left out. The progress totals
// are published when the list is complete.
class TreePack final : public PackedEntrySink {
public:
    TreePack(const std::wstring& sourceRoot, const WIN32_FIND_DATAW& rootData, const std::wstring& topName,
             bool dropEmptyFolders);
    // An archive not finished is abandoned: its writer stops and leaves no
    // archive.
    ~TreePack();
    TreePack(const TreePack&) = delete;
    TreePack& operator=(const TreePack&) = delete;

    // Starts the writer of archivePath.
    void Start(const std::wstring& archivePath, const DeliveryOptions& options);

    void EnterFolder(const PackedEntry& folder) override;
    void LeaveFolder() override;
    void AddFile(const PackedEntry& file) override;

    // A file was handed in.
    bool HoldsFile() const { return files_ > 0; }
    // A name had no UTF-8 form: the walk should stop (the archive is
    // abandoned), and Finish shows the name.
    bool Failed() const { return !badPath_.empty(); }

    // Ends the list and waits for the writer. keep: the archive is wanted;
    // otherwise it is abandoned. True when the archive is in place, or when
    // it was not wanted and nothing failed. A failure is shown as
    // DeliverArchive shows it; Cancel ends it silently.
    [[nodiscard]] bool Finish(bool keep);

private:
    void Emit(const std::wstring& sourcePath, const std::wstring& relativePath, const WIN32_FIND_DATAW& data);

    const std::wstring topName_;
    const bool dropEmptyFolders_;
    ArchiveItems items_;
    BatchedItems batches_{items_};
    // Folders entered whose entries wait for a file below them; true once
    // handed to the archive.
    std::vector<std::pair<PackedEntry, bool>> open_;
    std::uint64_t files_ = 0;
    std::uint64_t entries_ = 0;
    std::uint64_t bytes_ = 0;
    std::wstring badPath_;
    std::wstring archivePath_;
    ArchiveProgress* progress_ = nullptr;
    ArchiveOutcome outcome_;
    std::thread writer_;
};
