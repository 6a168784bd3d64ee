// The settings application's command line: nothing, or "/k <key>" when the
// copy tool waits for an answer under that key.
#pragma once

#include <string>
#include <string_view>

struct HandOffRequest {
    bool handOffMode = false;
    std::wstring key;  // the base name of the copy tool's block and events
};

// Finds "/k " or "/K ", skips the spaces after it and takes the text up to the
// next space as the key. An empty key, or one longer than
// kHandOffKeyMaxChars, leaves hand-off mode off. Other text is ignored.
HandOffRequest ParseCommandLine(std::wstring_view commandLine);
