// The archiver component's entry points: a command-line driven Zip writer.
// The copy tool reaches it only through ArchiverApi, so another library with
// the same entries can take its place.
#pragma once

#include <atomic>
#include <cstdint>

#include <windows.h>

// Result codes of ArchiverApi::command.
constexpr int kArchiverOk = 0;
// The command line is malformed: unbalanced or misplaced quotes, an unknown
// command or switch, not exactly one archive and one source.
constexpr int kArchiverBadCommand = 0x8001;
// The source does not exist, or a file or folder in it could not be read.
constexpr int kArchiverCannotRead = 0x8002;
// The archive could not be created, written or moved into place.
constexpr int kArchiverCannotWrite = 0x8003;
// A name in the source has no UTF-8 form (an unpaired surrogate).
constexpr int kArchiverBadName = 0x8004;
// Memory ran out or an unexpected failure happened inside the component.
constexpr int kArchiverInternalError = 0x8005;
// The archive just written did not read back as it was written.
constexpr int kArchiverBadArchive = 0x8006;
// Another command is running in this process: try again later.
constexpr int kArchiverBusy = 0x801F;
// Stopped on request (the cancel flag was set); no archive was left behind.
constexpr int kArchiverStopped = 0x8020;

struct ArchiverApi {
    // Called once before the first command; the result means nothing.
    int (*initialize)(int mode);
    // Runs one UTF-8 command line:
    //   a -tzip -ssw -mmt=on [-hide] -- "archive" "source"
    // owner and the output buffer may be null. When an output buffer is
    // given, it receives a NUL-terminated UTF-8 description of a failure
    // (the empty text on success).
    int (*command)(HWND owner, const char* commandLine, char* output, DWORD outputSize);
    // The flag watched between files and blocks; set means stop with
    // kArchiverStopped. Null watches nothing.
    void (*setCancelFlag)(const std::atomic<bool>* flag);
};

// Our own Zip writer behind the table.
const ArchiverApi& BuiltInArchiver();
