// The archiver's command line: "a [switches] -- "archive" "source"".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ArchiveRequest {
    std::wstring archivePath;
    std::wstring sourcePath;
    // -ssw: read files that other programs hold open for writing.
    bool shareWrite = false;
    // -mmt=on (or no -mmt): 0, meaning every core; -mmt=off: 1; -mmt=N: N.
    unsigned threads = 0;
};

// Splits a UTF-8 command line into blank-separated tokens. A token is either
// a run of characters without blanks and quotes, or a quoted text that is
// followed by a blank or the end. Backslashes are ordinary characters (paths
// end in "\"). Returns nothing for an unclosed quote, a quote inside a word,
// or bytes that are not UTF-8.
std::optional<std::vector<std::wstring>> SplitArchiverCommand(std::string_view utf8);

// The command "a" with the switches -tzip, -ssw, -mmt[=on|off|N] and -hide
// (accepted: this component shows no progress display), then exactly two
// paths, after "--" or as the first tokens not starting with "-". Returns
// nothing for anything else.
std::optional<ArchiveRequest> ParseArchiverCommand(std::string_view utf8);
