// Reading an archive back: every entry is inflated, and its CRC-32 and size
// compared with what the central directory says was written. The archive is
// read past the system's cache (DiskReader), so the check sees what reached
// the disk. The CRC-32 stored was computed from the source's bytes as they
// were read, so a match also says the entry holds the source's bytes.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "file_system.h"
#include "source_tree.h"

// kArchiverOk, kArchiverStopped when *cancel is set, kArchiverCannotRead when
// the file cannot be read, or kArchiverBadArchive when it does not read back
// as the entries `items` (in their order) were written.
int CheckArchive(FileSystem& files, const std::wstring& archivePath, const std::vector<SourceItem>& items,
                 const std::atomic<bool>* cancel);
