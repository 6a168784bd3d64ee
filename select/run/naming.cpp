#include "run/naming.h"

#include <algorithm>
#include <array>
#include <cwchar>

#include "format.h"
#include "handles.h"
#include "paths.h"
#include "run/copy_rules.h"
#include "text.h"

namespace {

// Serials are padded to ZeroSuppress digits; a stored value outside 1 to 19
// is brought into that range (19 digits hold the largest serial).
constexpr int kMinSerialDigits = 1;
constexpr int kMaxSerialDigits = 19;

int SerialDigits(const Settings& settings) {
    return std::clamp(settings.ZeroSuppress, kMinSerialDigits, kMaxSerialDigits);
}

std::wstring SerialText(std::uint64_t serial, int digits) {
    std::wstring text = std::to_wstring(serial);
    if (text.size() < static_cast<std::size_t>(digits)) text.insert(0, digits - text.size(), L'0');
    return text;
}

std::wstring DateStamp(const SYSTEMTIME& now) {
    return FormatText(L"%04d%02d%02d", {now.wYear, now.wMonth, now.wDay});
}

// What a name holds around the serial of one slot, without the destination folder.
struct SerialFrame {
    std::wstring prefix;
    std::array<std::wstring, 4> endings;
};

SerialFrame FrameOf(const Settings& settings, const DestinationName& name, int slot) {
    std::wstring_view prefixText = name.folderAndPrefix;
    if (StartsWithNoCase(prefixText, name.folder)) prefixText.remove_prefix(name.folder.size());
    SerialFrame frame;
    std::wstring after;
    if (slot == 0) {
        frame.prefix = std::wstring(prefixText) + name.before;
        after = name.prefixBef2 + name.base + name.prefixAft1 + name.after + name.suffix;
    } else {
        frame.prefix =
            std::wstring(prefixText) + name.before + name.prefixBef2 + name.base + name.prefixAft1 + name.after;
        after = name.suffix;
    }
    // A plain copy, its archive and the result lists of both share one count,
    // whichever CompressMode made them.
    if (DeliversZip(settings) && EndsWithNoCase(after, L".zip")) after.resize(after.size() - 4);
    const std::wstring zipped = after + L".zip";
    frame.endings = {after, zipped, MakeListFilePath(after), MakeListFilePath(zipped)};
    return frame;
}

// The serial that `entry` carries between prefix and ending: digits only,
// exactly `digits` of them or more without a leading zero. Values past the
// largest serial come back as that value plus one.
std::optional<std::uint64_t> SerialIn(std::wstring_view entry, std::wstring_view prefix, std::wstring_view ending,
                                      int digits) {
    if (entry.size() <= prefix.size() + ending.size()) return std::nullopt;
    if (!EndsWithNoCase(entry, ending)) return std::nullopt;
    const std::wstring_view number = entry.substr(prefix.size(), entry.size() - prefix.size() - ending.size());
    const auto wanted = static_cast<std::size_t>(digits);
    if (number.size() < wanted || (number.size() > wanted && number.front() == L'0')) return std::nullopt;
    constexpr std::uint64_t kTooLarge = kMaxSerial + 1;
    std::uint64_t value = 0;
    for (const wchar_t c : number) {
        if (c < L'0' || c > L'9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        value = value > (kMaxSerial - digit) / 10 ? kTooLarge : value * 10 + digit;
    }
    return value;
}

}  // namespace

std::wstring DestinationName::Joined() const {
    return folderAndPrefix + before + prefixBef2 + base + prefixAft1 + after + suffix;
}

std::optional<std::uint64_t> FindNextSerial(const Settings& settings, const DestinationName& name, int slot) {
    const SerialFrame frame = FrameOf(settings, name, slot);
    const int digits = SerialDigits(settings);
    const std::wstring search = name.folder + L"*";
    WIN32_FIND_DATAW data;
    // Basic information and large fetches: the short names are not needed,
    // and a folder of many copies is read in fewer round trips.
    UniqueFindHandle find(::FindFirstFileExW(search.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
    std::uint64_t highest = 0;
    if (!find) {
        // An empty drive root has no entries at all, not even "." and "..".
        if (::GetLastError() != ERROR_FILE_NOT_FOUND) return std::nullopt;
    } else {
        do {
            const std::wstring_view entry(data.cFileName, std::wcslen(data.cFileName));
            if (!StartsWithNoCase(entry, frame.prefix)) continue;
            for (const std::wstring& ending : frame.endings)
                if (const auto serial = SerialIn(entry, frame.prefix, ending, digits))
                    highest = std::max(highest, *serial);
        } while (::FindNextFileW(find.get(), &data));
        if (::GetLastError() != ERROR_NO_MORE_FILES) return std::nullopt;
    }
    if (highest >= kMaxSerial) return std::nullopt;
    return highest + 1;
}

std::optional<DestinationName> BuildDestinationName(const Settings& settings, std::wstring_view destinationFolder,
                                                    bool isFile, std::wstring_view sourceName, const SYSTEMTIME& now) {
    DestinationName name;
    name.folder = destinationFolder;
    name.folderAndPrefix = name.folder + settings.PrefixBef1;
    name.prefixBef2 = settings.PrefixBef2;
    name.prefixAft1 = settings.PrefixAft1;
    name.suffix = settings.PrefixAft2;
    if (isFile) {
        NameParts parts = SplitExtension(sourceName);
        name.base = std::move(parts.base);
        name.suffix += parts.extension;
    } else {
        name.base = sourceName;
    }
    if (DeliversZip(settings)) name.suffix += L".zip";

    const int digits = SerialDigits(settings);
    const std::array<int, 2> kinds = {settings.AddStringsBef, settings.AddStringsAft};
    // A date after the name is part of what earlier copies of the same day
    // are called, so it must be in place for the search of a serial before it.
    if (settings.AddStringsAft == kAddDate) name.after = DateStamp(now);
    for (int slot = 0; slot < 2; ++slot) {
        std::wstring& text = slot == 0 ? name.before : name.after;
        switch (kinds[slot]) {
            case kAddDateTime:
                text = DateTimeStamp(now);
                break;
            case kAddDate:
                text = DateStamp(now);
                break;
            case kAddDateSerial: {
                text = DateStamp(now) + L"_";
                const auto serial = FindNextSerial(settings, name, slot);
                if (!serial) return std::nullopt;
                text += SerialText(*serial, digits);
                break;
            }
            case kAddSerial: {
                const auto serial = FindNextSerial(settings, name, slot);
                if (!serial) return std::nullopt;
                text = SerialText(*serial, digits);
                break;
            }
            default:
                break;
        }
    }
    return name;
}

std::wstring DateTimeStamp(const SYSTEMTIME& now) {
    return FormatText(L"%04d%02d%02d_%02d%02d%02d",
                      {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
}

std::wstring MakeListFilePath(std::wstring_view path) {
    return StripTrailingBackslash(path) + L".txt";
}
