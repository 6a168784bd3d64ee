// The order of the copy result list: marked relative paths compared
// character by character by our own rules, the same on every system and
// locale.
#pragma once

#include <string_view>

// True when marked path a sorts before b. Characters are ranked as follows
// (the first difference decides; a text that is the start of the other
// comes first):
//   1. "\" before everything: a folder's contents follow the folder directly,
//      before any name that merely starts like it ("A\x" before "A B");
//   2. then "<" before ">": within a folder its files come before its
//      sub-folders;
//   3. then space and ASCII punctuation, by character code;
//   4. then the digits 0-9;
//   5. then the ASCII letters, upper and lower case ranked alike;
//   6. then every other character (accented letters, kana, ideographs,
//      full-width forms) by its UTF-16 code unit.
// Case is ignored as the file system ignores it, so the entries of one
// folder stay together however its name is spelled; only texts that are
// equal without case are then ordered by it, lower case first
// ("data" < "Data" < "data\x"). Different texts never compare equal.
bool MarkedPathLess(std::wstring_view a, std::wstring_view b);

// Two names are the same without regard to the case of ASCII letters, the
// case rule of MarkedPathLess.
bool SameNameNoCase(std::wstring_view a, std::wstring_view b);
