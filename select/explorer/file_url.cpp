#include "explorer/file_url.h"

#include <algorithm>

#include "paths.h"
#include "text.h"

namespace {

constexpr std::wstring_view kFileScheme = L"file:";
constexpr std::wstring_view kLocalFilePrefix = L"file:///";
constexpr std::wstring_view kLocalHostPrefix = L"//localhost/";

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Appends the bytes collected from a run of escapes as UTF-8 text.
bool FlushEscapedBytes(std::string& bytes, std::wstring& out) {
    if (bytes.empty()) return true;
    if (bytes.find('\0') != std::string::npos) return false;
    const std::wstring text = Utf8ToWide(bytes);
    if (text.empty()) return false;
    out += text;
    bytes.clear();
    return true;
}

}  // namespace

std::optional<std::wstring> PercentDecode(std::wstring_view text) {
    std::wstring out;
    std::string bytes;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != L'%') {
            if (!FlushEscapedBytes(bytes, out)) return std::nullopt;
            out += text[i++];
            continue;
        }
        if (text.size() - i < 3) return std::nullopt;
        const int high = HexDigitValue(text[i + 1]);
        const int low = HexDigitValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 3;
    }
    if (!FlushEscapedBytes(bytes, out)) return std::nullopt;
    return out;
}

std::optional<std::wstring> FileUrlToPath(std::wstring_view url) {
    std::wstring path;
    if (StartsWithNoCase(url, kLocalFilePrefix)) {
        if (url.size() <= kLocalFilePrefix.size()) return std::nullopt;
        path = url.substr(kLocalFilePrefix.size());
        // No drive letter: a path on this machine named through its host.
        if (path.find(L':') == std::wstring::npos) path.insert(0, kLocalHostPrefix);
    } else if (StartsWithNoCase(url, kFileScheme)) {
        if (url.size() <= kFileScheme.size()) return std::nullopt;
        path = url.substr(kFileScheme.size());
    } else {
        return std::nullopt;
    }
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::optional<std::wstring> LocationUrlToFolder(std::wstring_view locationUrl) {
    if (locationUrl.size() >= kMaxLocationUrlChars) return std::nullopt;
    std::wstring url(locationUrl);
    std::replace(url.begin(), url.end(), L'\\', L'/');
    if (!url.empty() && url.back() == L'/') url.pop_back();
    if (!StartsWithNoCase(url, kFileScheme)) return std::nullopt;
    const std::optional<std::wstring> decoded = PercentDecode(url);
    if (!decoded) return std::nullopt;
    std::optional<std::wstring> path = FileUrlToPath(*decoded);
    // The folder must fit a 260-character path with its terminator.
    if (!path || path->size() > kMaxPathLength) return std::nullopt;
    return path;
}
