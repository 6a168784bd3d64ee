// Turns the "file:" location of an Explorer window into the Windows path of
// the folder it shows.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Locations this long or longer are not looked at.
constexpr std::size_t kMaxLocationUrlChars = 1384;

// Replaces every "%" and two hexadecimal digits by the byte they stand for;
// runs of bytes are read as UTF-8, so "%E6%97%A5" becomes one character.
// Nothing when an escape is cut short or not hexadecimal, the bytes are not
// valid UTF-8, or a NUL character would result.
std::optional<std::wstring> PercentDecode(std::wstring_view text);

// The Windows path of a decoded "file:" location: "file:///C:/a" -> "C:\a",
// "file://server/share" -> "\\server\share", "file:///a" (no drive) ->
// "\\localhost\a". Nothing when no path follows the prefix.
std::optional<std::wstring> FileUrlToPath(std::wstring_view url);

// The whole way from an Explorer window's location to the folder path it
// shows; one trailing "/" of the location is dropped. Nothing for locations
// that are not "file:", too long, badly escaped, or whose path does not fit
// in a 260-character path.
std::optional<std::wstring> LocationUrlToFolder(std::wstring_view locationUrl);
