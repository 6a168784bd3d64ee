#include "temporary_archive.h"

#include <atomic>

#include "format.h"

namespace {

// Names tried before giving up: each is taken only when another file has it.
constexpr int kNameAttempts = 100;

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t cut = path.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

// "~vzp" with the process id and a count of this process: two runs, in this
// process or in two, seldom try the same name.
std::wstring CandidateName() {
    static std::atomic<unsigned> count{0};
    return FormatText(L"~vzp%x_%x.tmp", {static_cast<unsigned>(::GetCurrentProcessId()), count++});
}

}  // namespace

TemporaryArchive::TemporaryArchive(FileSystem& files, const std::wstring& archivePath, DWORD& error) : files_(files) {
    const std::wstring folder = FolderOf(archivePath);
    error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < kNameAttempts && error == ERROR_FILE_EXISTS; ++attempt) {
        const std::wstring candidate = folder + CandidateName();
        file_ = files_.Open(candidate, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, error);
        if (file_) {
            path_ = candidate;
            error = 0;
        }
    }
}

TemporaryArchive::~TemporaryArchive() {
    file_.reset();
    if (!path_.empty()) (void)files_.RemoveFile(path_);
}

DWORD TemporaryArchive::MoveTo(const std::wstring& archivePath) {
    file_.reset();
    const DWORD error = ReplaceWithNewFile(files_, path_, archivePath);
    if (error == 0) path_.clear();
    return error;
}
