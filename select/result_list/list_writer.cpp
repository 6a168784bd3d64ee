#include "result_list/list_writer.h"

#include <new>

#include "format.h"
#include "handles.h"
#include "result_list/list_render.h"

namespace {

// The fresh name replaces the list's last four characters (its ".txt").
constexpr std::size_t kMarkChars = 4;
constexpr int kFreshNameAttempts = 256;

// Collects lines as UTF-16LE with CR LF and writes them in large pieces.
class ListFile {
public:
    explicit ListFile(UniqueKernelHandle file) : file_(std::move(file)) { buffer_.reserve(kFlushChars + 512); }

    void Append(std::wstring_view text) {
        buffer_.append(text);
        if (buffer_.size() >= kFlushChars) WriteBuffer();
    }
    void AppendLine(std::wstring_view line) {
        Append(line);
        Append(L"\r\n");
    }
    // Writes what is left; false when any write has failed.
    [[nodiscard]] bool Finish() {
        WriteBuffer();
        return !failed_;
    }

private:
    void WriteBuffer() {
        if (!failed_ && !buffer_.empty()) {
            const DWORD bytes = static_cast<DWORD>(buffer_.size() * sizeof(wchar_t));
            DWORD written = 0;
            failed_ = !::WriteFile(file_.get(), buffer_.data(), bytes, &written, nullptr) || written != bytes;
        }
        buffer_.clear();
    }

    static constexpr std::size_t kFlushChars = 32768;
    UniqueKernelHandle file_;
    std::wstring buffer_;
    bool failed_ = false;
};

// The list is written whole under a fresh name beside it and then put in
// place, so an old list of that name is replaced, never appended to, and is
// only lost once the new one exists. The fresh name has the length of the
// list's own, so it fits wherever the list fits.
std::wstring FreshNameBeside(const std::wstring& listPath, int attempt) {
    const std::size_t keep = listPath.size() > kMarkChars ? listPath.size() - kMarkChars : 0;
    return listPath.substr(0, keep) + FormatText(L".~%02x", {attempt});
}

UniqueKernelHandle CreateFresh(FileSystem& files, const std::wstring& listPath, std::wstring& freshPath) {
    for (int attempt = 0; attempt < kFreshNameAttempts; ++attempt) {
        freshPath = FreshNameBeside(listPath, attempt);
        DWORD error = 0;
        UniqueKernelHandle file = files.Open(freshPath, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, error);
        if (file || error != ERROR_FILE_EXISTS) return file;
    }
    return {};
}

}  // namespace

void WriteCopyResultList(const std::wstring& listPath, const std::wstring& destinationPath, ResultEntryTable& table,
                         const ListHeader& header, SharedRunState& shared, FileSystem& files) {
    shared.listWriting = true;
    const std::wstring target = ExtendedLengthPath(listPath);
    std::wstring freshPath;
    UniqueKernelHandle handle = CreateFresh(files, target, freshPath);
    if (!handle) {
        shared.listFailed = true;
        return;
    }
    FreshFile made(files, freshPath);
    bool complete = false;
    bool written = false;
    {
        ListFile file(std::move(handle));
        file.Append(L"\xFEFF");
        try {
            complete = RenderResultList(table, header, destinationPath, shared,
                                        [&file](std::wstring_view line) { file.AppendLine(line); });
        } catch (const std::bad_alloc&) {
            // Out of memory while drawing the tree: what was written stays, the list counts as failed.
            complete = false;
        }
        written = file.Finish();
    }
    // A list stopped by Cancel still takes its place, ending in "Creation was aborted!".
    if (!written || ReplaceWithNewFile(files, freshPath, target) != 0) {
        shared.listFailed = true;
        return;
    }
    made.Keep();
    if (!complete) shared.listFailed = true;
}
