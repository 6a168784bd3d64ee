#include "archive_order.h"

#include <algorithm>
#include <numeric>
#include <string>

#include <windows.h>

#include "text.h"

namespace {

int CompareOrdinal(std::wstring_view a, std::wstring_view b, bool ignoreCase) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                  ignoreCase ? TRUE : FALSE);
}

// The parts of an entry name ("a/b/" -> "a", "b"), as UTF-16 for comparing.
std::vector<std::wstring> NameParts(const std::string& name) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start < name.size()) {
        std::size_t cut = name.find('/', start);
        if (cut == std::string::npos) cut = name.size();
        parts.push_back(Utf8ToWide(std::string_view(name).substr(start, cut - start)));
        start = cut + 1;
    }
    return parts;
}

// A folder's own entry is a prefix of its contents' names and comes first.
bool PartsComeFirst(const std::vector<std::wstring>& a, const std::vector<std::wstring>& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i]) continue;
        return NameComesFirst(a[i], b[i]);
    }
    return a.size() < b.size();
}

}  // namespace

bool NameComesFirst(std::wstring_view a, std::wstring_view b) {
    const int noCase = CompareOrdinal(a, b, true);
    if (noCase != CSTR_EQUAL) return noCase == CSTR_LESS_THAN;
    return CompareOrdinal(a, b, false) == CSTR_LESS_THAN;
}

void SortIntoArchiveOrder(std::vector<SourceItem>& items) {
    std::vector<std::vector<std::wstring>> keys;
    keys.reserve(items.size());
    for (const SourceItem& item : items) keys.push_back(NameParts(item.name));
    std::vector<std::size_t> order(items.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return PartsComeFirst(keys[a], keys[b]); });
    std::vector<SourceItem> sorted;
    sorted.reserve(items.size());
    for (std::size_t i : order) sorted.push_back(std::move(items[i]));
    items = std::move(sorted);
}
