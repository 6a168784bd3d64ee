#include "result_list/list_writer.h"

#include <new>

#include "handles.h"
#include "result_list/list_render.h"

namespace {

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

// Opens the list for appending; the handle is empty when that fails.
UniqueKernelHandle OpenForAppend(const std::wstring& listPath, bool& isEmpty) {
    UniqueKernelHandle file(::CreateFileW(listPath.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    isEmpty = file && ::GetFileSizeEx(file.get(), &size) && size.QuadPart == 0;
    return file;
}

}  // namespace

void WriteCopyResultList(const std::wstring& listPath, const std::wstring& destinationPath, ResultEntryTable& table,
                         const ListHeader& header, SharedRunState& shared) {
    shared.ListWriting = true;
    bool isEmpty = false;
    UniqueKernelHandle handle = OpenForAppend(listPath, isEmpty);
    if (!handle) {
        shared.ListFailed = true;
        return;
    }
    ListFile file(std::move(handle));
    // A new file starts with the byte-order mark; an existing list is
    // continued without a second one.
    if (isEmpty) file.Append(L"\xFEFF");
    bool complete = false;
    try {
        complete = RenderResultList(table, header, destinationPath, shared,
                                    [&file](std::wstring_view line) { file.AppendLine(line); });
    } catch (const std::bad_alloc&) {
        // Out of memory while drawing the tree: what was written stays, the list counts as failed.
        complete = false;
    }
    if (!file.Finish() || !complete) shared.ListFailed = true;
}
