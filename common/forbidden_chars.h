// The characters a text typed into the settings may not hold, one rule set
// per kind of field. Both programs check with it and word their own message.
#pragma once

#include <string>
#include <string_view>

enum class CharRules {
    AddString,   // fixed texts of a destination name: nothing a file name cannot hold
    Condition,   // condition lists: ":" separates items, "*" is the wildcard
    FolderPath,  // folder paths of the history organiser: "\", "/" and ":" belong to a path
};

// The NG list: each forbidden character found in text, in a fixed order
// ("\", "/", ":", "*", "?", double quote, "<", ">", "|", then BEL, BS, FF,
// LF, CR, TAB, VT), each followed by one space; a control code is written
// as a backslash and a letter ("\t"). Empty when the text passes.
std::wstring CheckForbiddenChars(std::wstring_view text, CharRules rules);
