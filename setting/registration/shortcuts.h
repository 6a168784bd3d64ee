// Shortcuts to the copy tool in the Send-To folder and on the desktop. A
// shortcut of any name whose target is the copy tool counts as its shortcut.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct ShortcutInfo {
    std::wstring target;
    std::wstring arguments;
};

// Reads a shortcut file's target (and, when asked, its arguments). Records
// "GSP1".."GSP6" on failure.
std::optional<ShortcutInfo> ReadShortcut(std::wstring_view folder, std::wstring_view fileName, bool withArguments);

// 0 when a shortcut in the folder points to the program (case ignored),
// else 4 (recording "SC1").
[[nodiscard]] int FindShortcut(std::wstring_view folder, std::wstring_view programPath);

// Writes "<folder>\<displayName>.lnk" pointing to the program. Records
// "SC1".."SC7" on failure. Returns 0 or -1.
[[nodiscard]] int CreateShortcut(std::wstring_view folder, std::wstring_view programPath, std::wstring_view arguments,
                                 std::wstring_view displayName);

// Results of RemoveShortcuts.
enum RemoveShortcutsResult : int {
    kShortcutsRemoved = 0,
    kShortcutsNotRemoved = 2,  // some pointed to the program, none could be deleted
    kShortcutsNone = 4,        // none pointed to the program
};

// Deletes every shortcut in the folder that points to the program; `quiet`
// records nothing.
[[nodiscard]] int RemoveShortcuts(std::wstring_view folder, std::wstring_view programPath, bool quiet);

// The Send-To or desktop registration: action 9 checks, 2 registers (old
// shortcuts of any name are removed first), 0 removes. Returns 0, 4 (not
// there), or -1 / 2 on failure.
[[nodiscard]] int ShortcutTarget(std::wstring_view folder, std::wstring_view programPath, std::wstring_view displayName,
                                 int action);
