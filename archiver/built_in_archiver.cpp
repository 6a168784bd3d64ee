// The function table of our own Zip writer.
#include <string>

#include "archive_writer.h"
#include "archiver_api.h"
#include "archive_command.h"
#include "text.h"

namespace {

std::atomic<bool> g_running{false};
std::atomic<const std::atomic<bool>*> g_cancel{nullptr};

std::wstring Describe(const ArchiveOutcome& outcome) {
    switch (outcome.code) {
        case kArchiverOk:
            return {};
        case kArchiverBadCommand:
            return L"Malformed command line.";
        case kArchiverCannotRead:
            return L"Cannot read: " + outcome.path;
        case kArchiverCannotWrite:
            return L"Cannot write: " + outcome.path;
        case kArchiverBadName:
            return L"Name without a UTF-8 form: " + outcome.path;
        case kArchiverStopped:
            return L"Stopped.";
        default:
            return L"Internal error.";
    }
}

// NUL-terminated, cut at a character boundary when it does not fit.
void WriteOutput(char* output, DWORD outputSize, const std::wstring& text) {
    if (!output || outputSize == 0) return;
    std::string utf8 = WideToUtf8(text);
    if (utf8.size() >= outputSize) {
        std::size_t cut = outputSize - 1;
        while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
        utf8.resize(cut);
    }
    utf8.copy(output, utf8.size());
    output[utf8.size()] = '\0';
}

ArchiveOutcome Run(const char* commandLine) {
    const auto request = ParseArchiverCommand(commandLine ? commandLine : "");
    if (!request) return {kArchiverBadCommand, {}};
    return CreateArchive(*request, g_cancel.load());
}

int Initialize(int) {
    return TRUE;
}

int Command(HWND, const char* commandLine, char* output, DWORD outputSize) {
    // One archive at a time: a second caller is told to try again.
    if (g_running.exchange(true)) return kArchiverBusy;
    ArchiveOutcome outcome;
    try {
        outcome = Run(commandLine);
    } catch (...) {
        // Nothing may escape into the caller (a plain C interface).
        outcome = {kArchiverInternalError, {}};
    }
    WriteOutput(output, outputSize, Describe(outcome));
    g_running = false;
    return outcome.code;
}

void SetCancelFlag(const std::atomic<bool>* flag) {
    g_cancel = flag;
}

constexpr ArchiverApi kBuiltIn{Initialize, Command, SetCancelFlag};

}  // namespace

const ArchiverApi& BuiltInArchiver() {
    return kBuiltIn;
}
