// Column widths of the copy result list's text in a fixed-pitch font.
#pragma once

#include <string>
#include <string_view>

// Columns of one text: two for a character that East Asian fixed-pitch
// fonts draw full width, one for any other. The first character is not
// counted when it is a "<" or ">" marker. The rules are our own table, so
// the width is the same on every system and locale:
//   two columns: Hangul Jamo (U+1100-115F); box drawing, blocks and geometric
//   shapes (U+2500-25FF), so every tree piece is four columns wide; CJK
//   symbols and punctuation, kana, ideographs, Yi (U+2E80-A4CF); Hangul
//   (U+A960-A97F, U+AC00-D7A3); CJK compatibility ideographs (U+F900-FAFF)
//   and forms (U+FE30-FE4F); full-width forms (U+FF01-FF60, U+FFE0-FFE6);
//   a surrogate pair (a character beyond U+FFFF) counts two in all;
//   one column: everything else, ASCII and half-width katakana included.
int DisplayWidth(std::wstring_view text);

// Appends `count` spaces; nothing when count <= 0.
void PadSpaces(int count, std::wstring& text);
