// The settings record shared by the three programs and its file, varo.ini:
// one section "Env", UTF-16LE, one key per field.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t kHistoryEntries = 10;
using History = std::array<std::wstring, kHistoryEntries>;

// Field capacities in characters, terminator included. A key is read with
// one less than its capacity, so at most capacity - 2 characters survive a load.
constexpr std::size_t kLangCapacity = 32;
constexpr std::size_t kPathFieldCapacity = 292;
constexpr std::size_t kConditionCapacity = 8197;
constexpr std::size_t kDateTextCapacity = 256;

// Field names are the keys of the file. Values are kept as read: nothing is
// clamped here, each user of a field decides what it does with odd values.
struct Settings {
    int Tab = 0;
    std::wstring Lang;
    int StartSetting = 1;
    int AutoClose = 1;
    int CopyMode = 0;
    std::wstring Path;
    History PathHis;
    int SelDir = 0;
    int OpenDir = 0;
    std::wstring PrefixBef1;
    int AddStringsBef = 0;
    std::wstring PrefixBef2;
    std::wstring PrefixAft1 = L"_";
    int AddStringsAft = 1;
    std::wstring PrefixAft2;
    int ZeroSuppress = 1;
    int CompressMode = 0;
    int DirTree = 0;
    int Select = 1;
    int SelectMode = 2;
    std::wstring TargetFile;
    History TargetFileHis;
    std::wstring ExNoTargetFile;
    History ExNoTargetFileHis;
    std::wstring NoTargetFile;
    History NoTargetFileHis;
    std::wstring ExTargetFile;
    History ExTargetFileHis;
    int UpdateDateType = 0;
    int UpdateDateVal = 0;
    std::wstring UpdateDateStr;
    std::wstring UpdateDateEnd;
    int EmptyDirNoCopy = 0;
    int Verify = 0;           // 1: every copy is read back and compared with its source
    std::uint16_t Debug = 0;  // only the low 16 bits count; never written
};

// The defaults: Lang "ja" for a Japanese (or unknown) UI language, else "en";
// Path the Documents folder followed by "My Copy\", empty without one.
Settings DefaultSettings(bool uiJapanese, const std::optional<std::wstring>& documentsFolder);

// One key of the file, in the order in which the keys are read and written.
struct SettingsKey {
    std::wstring name;
    int Settings::*integer = nullptr;
    std::wstring Settings::*text = nullptr;
    History Settings::*history = nullptr;
    std::size_t historyIndex = 0;
    std::size_t capacity = 0;  // text keys only

    bool IsText() const { return integer == nullptr; }
    std::wstring& Text(Settings& s) const { return history ? (s.*history)[historyIndex] : s.*text; }
    const std::wstring& Text(const Settings& s) const { return history ? (s.*history)[historyIndex] : s.*text; }
};

// The 79 keys that are saved (Debug is read only, never written).
const std::vector<SettingsKey>& SettingsKeys();

constexpr std::wstring_view kSettingsSection = L"Env";

// Called after each key has been read; returning false ends the load there.
using KeyReadHook = std::function<bool(const SettingsKey& key, Settings& settings)>;

// Fills `settings` from the file; keys that are missing keep the values that
// `settings` holds (the defaults). An empty path reads nothing (the hook
// still sees every key). Returns false
// when the hook stopped the load.
[[nodiscard]] bool ReadSettingsFile(const std::wstring& file, Settings& settings, bool readDebug,
                                    const KeyReadHook& afterKey = {});

// Writes one key of section Env into a profile file; false when the write
// failed. The programs use WritePrivateProfileStringW; tests put in one that
// fails part-way.
using ProfileKeyWriter =
    std::function<bool(const std::wstring& file, const std::wstring& key, const std::wstring& value)>;
ProfileKeyWriter SystemProfileKeyWriter();

// Writes the file whole or not at all: a new file beside it gets the UTF-16LE
// byte-order mark and then every key but Debug, one by one through
// `writeKey`, and replaces the old file in one step once every write has
// succeeded. Returns false, with the old file as it was and nothing left
// beside it, when any step failed.
[[nodiscard]] bool WriteSettingsFile(const std::wstring& file, const Settings& settings,
                                     const ProfileKeyWriter& writeKey = SystemProfileKeyWriter());

// Puts `current` (trimmed; for a path list with a trailing "\") first in its
// history and drops entries equal to it or to an earlier entry.
void PushHistory(std::wstring& current, History& list, bool isPath);

// Pushes Path, TargetFile, ExNoTargetFile, NoTargetFile and ExTargetFile into their lists.
void UpdateHistories(Settings& settings);
