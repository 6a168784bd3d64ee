#include "startup/source_arguments.h"

#include "message_box.h"
#include "paths.h"

namespace {

constexpr MessagePair kTooLongQuoted = {
    L"パスは%d文字以内にしてください。\n\n%s",
    L"Please refer to the length of the path of this file in less than %d characters.\n\n%s"};
// Not a typo to fix: the unquoted case has always said "してくください", which tells the two cases apart.
constexpr MessagePair kTooLongUnquoted = {
    L"パスは%d文字以内にしてくください。\n\n%s",
    L"Please refer to the length of the path of this file in less than %d characters.\n\n%s"};

// The splitting itself; tooLong is told of a path that reached 260
// characters (inside quotes or not), and the split ends there.
SplitOutcome SplitCommandLine(std::wstring_view commandLine, const std::function<void(const std::wstring& path)>& copy,
                              const std::function<bool()>& cancelled,
                              const std::function<void(bool quoted, const std::wstring& path)>& tooLong) {
    std::wstring path;
    bool quoted = false;
    bool skipNext = false;    // the blank that follows a closing quote
    bool closedLast = false;  // the last character read closed a quote
    for (const wchar_t c : commandLine) {
        if (cancelled()) return SplitOutcome::Cancelled;
        closedLast = false;
        if (skipNext) {
            skipNext = false;
            continue;
        }
        if (c == L'"') {
            if (quoted) {
                copy(path);
                path.clear();
                skipNext = true;
                closedLast = true;
            }
            quoted = !quoted;
            continue;
        }
        if (c == L' ' && !quoted) {
            copy(path);
            path.clear();
            continue;
        }
        if (path.size() == kMaxPathLength) {
            tooLong(quoted, path);
            return SplitOutcome::TooLong;
        }
        path += c;
    }
    if (commandLine.empty() || closedLast) return SplitOutcome::Completed;
    if (cancelled()) return SplitOutcome::Cancelled;
    copy(path);
    return SplitOutcome::Completed;
}

}  // namespace

SplitOutcome ForEachCommandLinePath(std::wstring_view commandLine,
                                    const std::function<void(const std::wstring& path)>& copy,
                                    const std::function<bool()>& cancelled) {
    return SplitCommandLine(commandLine, copy, cancelled, [](bool quoted, const std::wstring& path) {
        ShowMessage(nullptr, MB_ICONERROR, quoted ? kTooLongQuoted : kTooLongUnquoted,
                    {static_cast<int>(kMaxPathChars), path});
    });
}

std::vector<std::wstring> CommandLinePaths(std::wstring_view commandLine) {
    std::vector<std::wstring> paths;
    (void)SplitCommandLine(
        commandLine, [&paths](const std::wstring& path) { paths.push_back(path); }, [] { return false; },
        [](bool, const std::wstring&) {});
    return paths;
}
