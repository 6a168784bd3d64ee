#include "archive_command.h"

#include "text.h"

namespace {

constexpr unsigned kMaxThreads = 64;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool ToWide(std::string_view utf8, std::wstring& out) {
    out = Utf8ToWide(utf8);
    return utf8.empty() || !out.empty();
}

// "-mmt", "-mmt=on", "-mmt=off", "-mmt=N" with N from 1 to kMaxThreads.
bool ParseThreads(std::wstring_view value, unsigned& threads) {
    if (value.empty() || EqualsNoCase(value, L"=on")) {
        threads = 0;
        return true;
    }
    if (EqualsNoCase(value, L"=off")) {
        threads = 1;
        return true;
    }
    if (value.front() != L'=' || value.size() > 3) return false;
    unsigned n = 0;
    for (wchar_t c : value.substr(1)) {
        if (c < L'0' || c > L'9') return false;
        n = n * 10 + static_cast<unsigned>(c - L'0');
    }
    if (n == 0 || n > kMaxThreads) return false;
    threads = n;
    return true;
}

bool ApplySwitch(std::wstring_view token, ArchiveRequest& request) {
    if (EqualsNoCase(token, L"-tzip") || EqualsNoCase(token, L"-hide")) return true;
    if (EqualsNoCase(token, L"-ssw")) {
        request.shareWrite = true;
        return true;
    }
    if (StartsWithNoCase(token, L"-mmt")) return ParseThreads(token.substr(4), request.threads);
    return false;
}

}  // namespace

std::optional<std::vector<std::wstring>> SplitArchiverCommand(std::string_view utf8) {
    std::vector<std::wstring> tokens;
    std::size_t i = 0;
    while (true) {
        while (i < utf8.size() && IsBlank(utf8[i])) ++i;
        if (i == utf8.size()) break;
        std::string_view raw;
        if (utf8[i] == '"') {
            const std::size_t close = utf8.find('"', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            raw = utf8.substr(i + 1, close - i - 1);
            i = close + 1;
            if (i < utf8.size() && !IsBlank(utf8[i])) return std::nullopt;
        } else {
            const std::size_t start = i;
            while (i < utf8.size() && !IsBlank(utf8[i])) {
                if (utf8[i] == '"') return std::nullopt;
                ++i;
            }
            raw = utf8.substr(start, i - start);
        }
        std::wstring token;
        if (!ToWide(raw, token)) return std::nullopt;
        tokens.push_back(std::move(token));
    }
    return tokens;
}

std::optional<ArchiveRequest> ParseArchiverCommand(std::string_view utf8) {
    const auto tokens = SplitArchiverCommand(utf8);
    if (!tokens || tokens->empty() || !EqualsNoCase(tokens->front(), L"a")) return std::nullopt;
    ArchiveRequest request;
    std::vector<std::wstring> paths;
    bool switchesEnded = false;
    for (std::size_t i = 1; i < tokens->size(); ++i) {
        const std::wstring& token = (*tokens)[i];
        if (!switchesEnded && token == L"--") {
            switchesEnded = true;
        } else if (!switchesEnded && !token.empty() && token.front() == L'-') {
            if (!ApplySwitch(token, request)) return std::nullopt;
        } else {
            // Switches come first: a switch after a path is a mistake.
            switchesEnded = true;
            paths.push_back(token);
        }
    }
    if (paths.size() != 2 || paths[0].empty() || paths[1].empty()) return std::nullopt;
    request.archivePath = paths[0];
    request.sourcePath = paths[1];
    return request;
}
