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

}  // namespace

SplitOutcome ForEachCommandLinePath(std::wstring_view commandLine,
                                    const std::function<void(const std::wstring& path)>& copy,
                                    const std::function<bool()>& cancelled) {
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
            ShowMessage(nullptr, MB_ICONERROR, quoted ? kTooLongQuoted : kTooLongUnquoted,
                        {static_cast<int>(kMaxPathChars), path});
            return SplitOutcome::TooLong;
        }
        path += c;
    }
    if (commandLine.empty() || closedLast) return SplitOutcome::Completed;
    if (cancelled()) return SplitOutcome::Cancelled;
    copy(path);
    return SplitOutcome::Completed;
}
