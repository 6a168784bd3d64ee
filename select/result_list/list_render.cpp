#include "result_list/list_render.h"

#include <algorithm>
#include <cstdint>

#include "result_list/display_width.h"
#include "format.h"
#include "result_list/list_order.h"
#include "paths.h"

namespace {

// What each component of an entry draws in its column.
enum class Piece : std::uint8_t {
    None,
    Folder,                 // "├─" and the name
    LastFolder,             // "└─" and the name
    Bar,                    // "│  " below a folder that has more after it
    Blank,                  // "    " below a last folder
    FileBeforeFolders,      // "│  " and the name: files, sub-folders follow
    LastFileBeforeFolders,  // as FileBeforeFolders, then the extra line
    FileOnly,               // "    " and the name: no sub-folder follows
    LastFileOnly,           // as FileOnly, then the extra line
};

// One component of an entry's marked path: its marker and name, and the
// piece it is given.
struct Component {
    std::uint32_t start = 0;  // index of the marker
    std::uint32_t length = 0;
    Piece piece = Piece::None;
};

struct EntryShape {
    std::size_t first = 0;  // index of its first component in Layout::components
    std::uint32_t count = 0;
    bool isFile = false;
};

struct Layout {
    std::vector<Component> components;
    std::vector<EntryShape> shapes;
    std::size_t maxDepth = 0;
    std::size_t totalPieces = 0;
    int nameColumn = 0;
    int sizeColumn = 0;
};

// Sets a progress text only when its percentage changed, so that long
// lists do not format the same text for every entry.
class ProgressText {
public:
    ProgressText(StatusText& status, std::wstring_view format) : status_(status), format_(format) {}
    void Show(std::uint64_t done, std::uint64_t total) {
        const int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
        if (percent == shown_) return;
        shown_ = percent;
        status_.Set(FormatText(format_, {percent}));
    }

private:
    StatusText& status_;
    std::wstring_view format_;
    int shown_ = -1;
};

// Pass 1: splits every marked path at "\" and finds the columns.
Layout Analyze(std::vector<ResultEntry>& entries) {
    Layout layout;
    layout.shapes.reserve(entries.size());
    layout.components.reserve(entries.size() * 3);
    for (ResultEntry& entry : entries) {
        if (!entry.path.empty() && entry.path.back() == L'\\') entry.path.pop_back();
        EntryShape shape;
        shape.first = layout.components.size();
        std::size_t start = 0;
        while (true) {
            const std::size_t slash = entry.path.find(L'\\', start);
            const std::size_t end = slash == std::wstring::npos ? entry.path.size() : slash;
            layout.components.push_back(
                {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start), Piece::None});
            if (slash == std::wstring::npos) break;
            start = slash + 1;
        }
        shape.count = static_cast<std::uint32_t>(layout.components.size() - shape.first);
        const Component& last = layout.components.back();
        const std::wstring_view lastText = std::wstring_view(entry.path).substr(last.start, last.length);
        shape.isFile = lastText.empty() || lastText[0] != L'>';
        layout.maxDepth = std::max<std::size_t>(layout.maxDepth, shape.count);
        layout.totalPieces += shape.count;
        layout.nameColumn = std::max(layout.nameColumn, DisplayWidth(lastText) + 4 * static_cast<int>(shape.count) + 8);
        if (shape.isFile) layout.sizeColumn = std::max(layout.sizeColumn, DisplayWidth(entry.size) + 2);
        layout.shapes.push_back(shape);
    }
    return layout;
}

// Pass 2: gives every component its piece, level by level.
class PieceAssigner {
public:
    PieceAssigner(const std::vector<ResultEntry>& entries, Layout& layout) : entries_(entries), layout_(layout) {}

    [[nodiscard]] bool Run(SharedRunState& shared) {
        ProgressText progress(shared.statusProgressText, L"Analyzing a Copy result list ... %d%%");
        std::uint64_t visited = 0;
        for (std::size_t level = 0; level < layout_.maxDepth; ++level) {
            std::size_t groupFirst = 0;
            bool groupOpen = false;
            for (std::size_t a = 0; a < entries_.size(); ++a) {
                if (shared.listAbortRequested) return false;
                if (HasLevel(a, level)) {
                    ++visited;
                    if (!groupOpen) {
                        groupFirst = a;
                        groupOpen = true;
                    }
                    const GroupEnd end = TestGroupEnd(a, level);
                    if (end.ends) {
                        AssignGroup(groupFirst, a, level, end);
                        groupOpen = false;
                    }
                }
                progress.Show(visited, layout_.totalPieces);
            }
        }
        return true;
    }

private:
    struct GroupEnd {
        bool ends = false;
        bool lastAtLevel = false;
        bool followedBySibling = false;
    };

    bool HasLevel(std::size_t entry, std::size_t level) const { return layout_.shapes[entry].count > level; }
    Component& At(std::size_t entry, std::size_t level) {
        return layout_.components[layout_.shapes[entry].first + level];
    }
    std::wstring_view Text(std::size_t entry, std::size_t level) {
        const Component& c = At(entry, level);
        return std::wstring_view(entries_[entry].path).substr(c.start, c.length);
    }
    bool IsFileName(std::size_t entry, std::size_t level) {
        const std::wstring_view text = Text(entry, level);
        return !text.empty() && text[0] == L'<';
    }
    std::wstring_view Name(std::size_t entry, std::size_t level) {
        const std::wstring_view text = Text(entry, level);
        return text.empty() ? text : text.substr(1);
    }

    // Whether the group at `level` that holds entry a ends there. It ends
    // when the next entry leaves a folder of a lower level or starts a new
    // one there (a was the last at its level), when the next entry does not
    // reach this level, or when it holds a different item at this level.
    GroupEnd TestGroupEnd(std::size_t a, std::size_t level) {
        if (a + 1 == entries_.size()) return {true, true, false};
        const std::size_t next = a + 1;
        if (layout_.shapes[next].count < level) return {true, true, false};
        for (std::size_t i = 0; i < level; ++i) {
            const Piece piece = At(next, i).piece;
            if (piece == Piece::Folder || piece == Piece::LastFolder) return {true, true, false};
        }
        if (!HasLevel(next, level)) return {true, false, false};
        const bool aFile = IsFileName(a, level);
        const bool nextFile = IsFileName(next, level);
        if (aFile && nextFile) return {};
        // One folder however its name is spelled: the file system ignores case.
        if (!aFile && !nextFile && SameNameNoCase(Name(a, level), Name(next, level))) return {};
        return {true, false, true};
    }

    void AssignGroup(std::size_t first, std::size_t a, std::size_t level, const GroupEnd& end) {
        const bool files = IsFileName(a, level);
        for (std::size_t d = first; d <= a; ++d) {
            if (!HasLevel(d, level)) continue;
            Piece piece;
            if (files && d == a)
                piece = end.followedBySibling ? Piece::LastFileBeforeFolders : Piece::LastFileOnly;
            else if (files)
                piece = end.followedBySibling ? Piece::FileBeforeFolders : Piece::FileOnly;
            else if (d == first)
                piece = end.lastAtLevel ? Piece::LastFolder : Piece::Folder;
            else
                piece = end.lastAtLevel ? Piece::Blank : Piece::Bar;
            At(d, level).piece = piece;
        }
    }

    const std::vector<ResultEntry>& entries_;
    Layout& layout_;
};

// Trailing blanks removed, for the line after the last file of a folder.
std::wstring TrimmedEnd(const std::wstring& line) {
    const std::size_t last = line.find_last_not_of(L' ');
    return last == std::wstring::npos ? std::wstring() : line.substr(0, last + 1);
}

// Pass 3: one line per entry, and the extra line after a folder's last file.
[[nodiscard]] bool WriteLines(const std::vector<ResultEntry>& entries, const Layout& layout, SharedRunState& shared,
                              const LineSink& sink) {
    ProgressText progress(shared.statusProgressText, L"Writing a Copy result list ... %d%%");
    std::wstring line;
    std::wstring extra;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        if (shared.listAbortRequested) {
            sink(kListAbortedLine);
            return false;
        }
        const ResultEntry& entry = entries[e];
        const EntryShape& shape = layout.shapes[e];
        line.clear();
        bool hasExtra = false;
        for (std::uint32_t level = 0; level < shape.count; ++level) {
            const Component& c = layout.components[shape.first + level];
            const std::wstring_view name =
                c.length == 0 ? std::wstring_view() : std::wstring_view(entry.path).substr(c.start + 1, c.length - 1);
            switch (c.piece) {
                case Piece::Folder:
                    line.append(L"├─").append(name);
                    break;
                case Piece::LastFolder:
                    line.append(L"└─").append(name);
                    break;
                case Piece::Bar:
                    line.append(L"│  ");
                    break;
                case Piece::Blank:
                    line.append(L"    ");
                    break;
                case Piece::FileBeforeFolders:
                    line.append(L"│  ").append(name);
                    break;
                case Piece::FileOnly:
                    line.append(L"    ").append(name);
                    break;
                case Piece::LastFileBeforeFolders:
                case Piece::LastFileOnly:
                    line.append(c.piece == Piece::LastFileBeforeFolders ? L"│  " : L"    ");
                    extra = TrimmedEnd(line);
                    hasExtra = true;
                    line.append(name);
                    break;
                case Piece::None:
                    break;
            }
        }
        if (shape.isFile) {
            PadSpaces(layout.nameColumn - DisplayWidth(line), line);
            line.append(entry.date);
            PadSpaces(layout.sizeColumn - DisplayWidth(entry.size), line);
            line.append(entry.size);
        }
        sink(line);
        if (hasExtra) sink(extra);
        progress.Show(e, entries.size());
    }
    progress.Show(entries.size(), entries.size());
    return true;
}

}  // namespace

bool RenderResultList(ResultEntryTable& table, const ListHeader& header, std::wstring_view destinationPath,
                      SharedRunState& shared, const LineSink& sink) {
    const std::wstring root = StripTrailingBackslash(destinationPath);
    shared.statusItemText.Set(FileNameOf(root));
    for (const std::wstring& line : ListHeaderLines(header)) sink(line);
    sink(root);

    std::vector<ResultEntry>& entries = table.entries();
    if (entries.empty()) {
        sink(kListNoDataLine);
        shared.statusItemText.Set(kListNoDataLine);
        return true;
    }
    std::sort(entries.begin(), entries.end(),
              [](const ResultEntry& a, const ResultEntry& b) { return MarkedPathLess(a.path, b.path); });
    Layout layout = Analyze(entries);
    if (!PieceAssigner(entries, layout).Run(shared)) {
        sink(kListAbortedLine);
        return false;
    }
    return WriteLines(entries, layout, shared, sink);
}
