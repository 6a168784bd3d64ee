#include "run/source_paths.h"

#include <vector>

#include <windows.h>

#include "file_system.h"
#include "paths.h"
#include "text.h"

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// "C:\..." or "\\server\share\...": the length of that root, else 0.
std::size_t RootLength(std::wstring_view path) {
    if (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2])) return 3;
    if (path.size() < 3 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return 0;
    // Server and share names, each ended by a separator or the end.
    std::size_t at = 2;
    for (int part = 0; part < 2; ++part) {
        while (at < path.size() && !IsSeparator(path[at])) ++at;
        if (part == 0 && at < path.size()) ++at;
    }
    return at;
}

void DropTrailingDotsAndSpaces(std::wstring& component) {
    if (component == L"." || component == L"..") return;
    const std::size_t keep = component.find_last_not_of(L". ");
    component.erase(keep == std::wstring::npos ? 0 : keep + 1);
}

}  // namespace

std::wstring NormalizeSourcePath(std::wstring_view path) {
    if (path.starts_with(L"\\\\?\\")) return std::wstring(path);
    std::wstring full(path);
    if (RootLength(full) == 0) full = FullPath(full);
    const std::size_t rootLength = RootLength(full);
    if (rootLength == 0) return full;

    std::wstring root = full.substr(0, rootLength);
    for (wchar_t& c : root)
        if (c == L'/') c = L'\\';
    std::vector<std::wstring> components;
    std::wstring current;
    const auto endComponent = [&](bool last) {
        if (last) DropTrailingDotsAndSpaces(current);
        if (current == L"..") {
            if (!components.empty()) components.pop_back();
        } else if (!current.empty() && current != L".") {
            components.push_back(current);
        }
        current.clear();
    };
    for (std::size_t i = rootLength; i < full.size(); ++i) {
        if (IsSeparator(full[i]))
            endComponent(false);
        else
            current += full[i];
    }
    // A path that ends in a separator keeps its last component as it is.
    const bool endsInSeparator = full.size() > rootLength && IsSeparator(full.back());
    endComponent(!endsInSeparator);

    std::wstring normal = AddTrailingBackslash(root);
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (i > 0) normal += L'\\';
        normal += components[i];
    }
    return normal;
}

bool IsInsideFolder(std::wstring_view path, std::wstring_view folder) {
    const std::wstring inner = AddTrailingBackslash(path);
    const std::wstring outer = AddTrailingBackslash(folder);
    return !outer.empty() && inner.size() > outer.size() && StartsWithNoCase(inner, outer);
}
