#include "run/zip_delivery.h"

#include <array>
#include <string>

#include <shellapi.h>

#include "cancel_flag.h"
#include "find_data.h"
#include "format.h"
#include "message_box.h"
#include "paths.h"

namespace {

constexpr MessagePair kNotUtf8 = {L"ZIP形式 ユニコード(UTF-8)に変換できませんでした。\n\n%s",
                                  L"ZIP format. Could not be converted to Unicode(UTF-8).\n\n%s"};
constexpr MessagePair kNotCompressed = {L"ZIP形式に圧縮できませんでした。\n7-zip ErrorCD:0x%08x\n\n%s",
                                        L"Could not be converted to ZIP format.\n7-zip ErrorCD:0x%08x\n\n%s"};

constexpr std::wstring_view kHiddenFormat = L"a -tzip -ssw -mmt=on -hide -- \"%s\" \"%s\"";
constexpr std::wstring_view kShownFormat = L"a -tzip -ssw -mmt=on -- \"%s\" \"%s\"";
// The wide command line holds at most this many characters.
constexpr std::size_t kZipCommandChars = 1040;

// The shell's result for an operation the user cancelled.
constexpr int kShellOperationCancelled = 0x75;

bool IsSmallFile(const WIN32_FIND_DATAW& data) {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    const std::uint64_t size = FileSizeOf(data);
    return size < kHideProgressBelowBytes;
}

// The UTF-8 form in a zeroed buffer of kZipCommandBytes; the last byte is
// kept for the terminator, so a line that fills the whole buffer does not fit.
bool ToUtf8Command(const std::wstring& command, std::array<char, kZipCommandBytes>& buffer) {
    buffer.fill('\0');
    if (command.empty()) return false;
    return ::WideCharToMultiByte(CP_UTF8, 0, command.data(), static_cast<int>(command.size()), buffer.data(),
                                 static_cast<int>(buffer.size() - 1), nullptr, nullptr) > 0;
}

// Calls the archiver until it is not busy, at most kMaxArchiverCalls times.
int RunArchiver(const ArchiverApi& archiver, const char* command, const std::atomic<bool>* cancelFlag,
                PauseFunction pause) {
    int code = kArchiverBusy;
    for (int call = 1; call <= kMaxArchiverCalls; ++call) {
        code = archiver.command(nullptr, command, nullptr, 0);
        if (code != kArchiverBusy || call == kMaxArchiverCalls) break;
        pause(kArchiverBusyPauseMs);
        // Cancel pressed while waiting for the archiver stops the wait.
        if (IsCancelled(cancelFlag)) return kArchiverStopped;
    }
    return code;
}

}  // namespace

void PauseMilliseconds(DWORD milliseconds) {
    ::Sleep(milliseconds);
}

int CompressToZip(std::wstring_view sourcePath, std::wstring_view archivePath, const WIN32_FIND_DATAW& sourceFindData,
                  const ArchiverApi& archiver, const std::atomic<bool>* cancelFlag, PauseFunction pause) {
    const std::wstring command = FormatText(IsSmallFile(sourceFindData) ? kHiddenFormat : kShownFormat,
                                            {archivePath, sourcePath}, kZipCommandChars);
    std::array<char, kZipCommandBytes> utf8;
    if (!ToUtf8Command(command, utf8)) {
        ShowMessage(nullptr, MB_ICONERROR, kNotUtf8, {sourcePath});
        return -1;
    }
    archiver.initialize(1);
    archiver.setCancelFlag(cancelFlag);
    const int code = RunArchiver(archiver, utf8.data(), cancelFlag, pause);
    archiver.setCancelFlag(nullptr);
    if (code == kArchiverOk) return 0;
    if (code == kArchiverStopped) return -1;
    const std::wstring archive(archivePath);
    ::DeleteFileW(archive.c_str());
    ShowMessage(nullptr, MB_ICONERROR, kNotCompressed, {static_cast<std::uint32_t>(code), sourcePath});
    return -1;
}

int DeleteWorkFolder(std::wstring_view folder) {
    // The list ends with two NULs: one added here, one by c_str(). The
    // trailing "\" goes, as the shell expects plain item paths.
    std::wstring from = StripTrailingBackslash(folder);
    from.push_back(L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION;
    const int result = ::SHFileOperationW(&operation);
    if (result == 0 && operation.fAnyOperationsAborted) return kShellOperationCancelled;
    return result;
}
