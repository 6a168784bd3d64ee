// Writes one Zip archive of a source, all or nothing.
#pragma once

#include <atomic>
#include <string>

#include "archive_command.h"

struct ArchiveOutcome {
    int code = 0;       // kArchiverOk or a failure code of archiver_api.h
    std::wstring path;  // the path the failure concerns
};

// Compresses the request's source into a temporary file beside the archive
// and moves it over the archive path only when it is complete, so a failed
// or stopped run leaves no partial archive (and an earlier file of that name
// untouched). An existing archive is replaced, not added to. *cancel set
// stops the run between files and blocks with kArchiverStopped.
ArchiveOutcome CreateArchive(const ArchiveRequest& request, const std::atomic<bool>* cancel);
