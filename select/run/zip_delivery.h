// Delivering a copy as a Zip archive: the compression step through the
// archiver's function table, and the removal of the work folder afterwards.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include <windows.h>

#include "archiver_api.h"

// A file below this size is compressed with "-hide" (10 MiB).
constexpr std::uint64_t kHideProgressBelowBytes = 0xA00000;
// The UTF-8 command line, its terminator included, fits in this many bytes.
constexpr std::size_t kZipCommandBytes = 1040;
// A busy archiver is asked again every 500 ms, 601 calls in all (about five minutes).
constexpr int kMaxArchiverCalls = 601;
constexpr DWORD kArchiverBusyPauseMs = 500;

using PauseFunction = void (*)(DWORD milliseconds);
void PauseMilliseconds(DWORD milliseconds);

// Compresses sourcePath (a file, or the Zip work folder with its trailing
// "\") into archivePath through archiver, which watches cancelFlag while it
// works. sourceFindData tells a file from a folder and gives the file's size.
// Returns 0 on success, else -1 after showing why. A stopped run (code
// 0x8020, or Cancel while the archiver is busy) returns -1 silently and
// deletes nothing; other failures delete the archive file. pause is the
// wait between busy retries (tests pass one that returns at once).
[[nodiscard]] int CompressToZip(std::wstring_view sourcePath, std::wstring_view archivePath,
                                const WIN32_FIND_DATAW& sourceFindData, const ArchiverApi& archiver,
                                const std::atomic<bool>* cancelFlag, PauseFunction pause = PauseMilliseconds);

// Deletes the Zip work folder with everything in it through the shell's
// delete operation (no confirmation; the shell may show its own progress and
// error windows). Returns the shell's result code, 0 on success; a delete the
// user aborted in the shell's windows returns 0x75 (cancelled). The caller
// shows the message.
[[nodiscard]] int DeleteWorkFolder(std::wstring_view folder);
