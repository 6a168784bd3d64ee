// Measures the serial search and the per-file selection test on a folder of
// many entries, each against listing that folder once in the same run.
//
//   selection_bench.exe <folder>
//
// scripts/bench-selection.sh fills the folder first (natively: under Wine,
// creating each file costs more the more the folder holds). Prints the
// median of several rounds.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "run/conditions.h"
#include "format.h"
#include "handles.h"
#include "run/naming.h"
#include "paths.h"

namespace {

constexpr int kRounds = 7;

struct Entry {
    std::wstring name;
    FILETIME lastWriteTime;
};

double Seconds() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::vector<Entry> ListFolder(const std::wstring& folder) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((folder + L"*").c_str(), &data));
    if (!find) return entries;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            entries.push_back({data.cFileName, data.ftLastWriteTime});
    } while (::FindNextFileW(find.get(), &data));
    return entries;
}

// The reference: one plain listing of the folder, names only looked at.
double TimeListing(const std::wstring& folder, std::size_t& seen) {
    const double start = Seconds();
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((folder + L"*").c_str(), &data));
    seen = 0;
    if (find) {
        do {
            seen += data.cFileName[0] != 0;
        } while (::FindNextFileW(find.get(), &data));
    }
    return Seconds() - start;
}

double TimeSerial(const Settings& settings, const std::wstring& folder, std::uint64_t& serial) {
    DestinationName name;
    name.folder = folder;
    name.folderAndPrefix = folder;
    name.base = L"a";
    name.prefixAft1 = L"_";
    name.suffix = L".txt";
    const double start = Seconds();
    serial = FindNextSerial(settings, name, 1).value_or(0);
    return Seconds() - start;
}

double TimeSelection(const SelectionConditions& conditions, const std::vector<Entry>& entries, std::size_t& selected) {
    const double start = Seconds();
    selected = 0;
    for (const Entry& e : entries) selected += IsFileSelected(conditions, e.name, e.lastWriteTime);
    return Seconds() - start;
}

// Fifty patterns; most names meet none of them and are tried against all.
std::wstring FiftyPatterns() {
    std::wstring text = L"*.pdf : REPORT_1*.XLS* : *notes 9*.docx : img_0000*.jpg";
    for (int i = 0; i < 23; ++i) text += FormatText(L" : *.ext%d : file%d*.doc*", {i, i});
    return text;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: selection_bench <folder>\n");
        return 2;
    }
    const std::wstring folder = AddTrailingBackslash(argv[1]);
    const std::vector<Entry> entries = ListFolder(folder);
    if (entries.empty()) {
        std::fprintf(stderr, "the folder holds no files\n");
        return 2;
    }

    Settings serialSettings;
    serialSettings.AddStringsAft = kAddSerial;
    serialSettings.ZeroSuppress = 6;

    Settings conditionSettings;
    conditionSettings.SelectMode = 0;
    conditionSettings.UpdateDateType = 1;
    conditionSettings.UpdateDateStr = L"2000/1/1";
    SelectionConditions conditions;
    conditions.selectMode = 0;
    conditions.updateDateType = 1;
    std::wstring targets = FiftyPatterns();
    if (ParseConditionList(targets, conditions.lists[kTargetList])) return 1;
    conditions.bounds = ComputeDateBounds(conditionSettings, LocalToday());

    std::vector<double> listing, serial, selection;
    std::size_t seen = 0;
    std::size_t selected = 0;
    std::uint64_t next = 0;
    for (int round = 0; round < kRounds; ++round) {
        listing.push_back(TimeListing(folder, seen));
        serial.push_back(TimeSerial(serialSettings, folder, next));
        selection.push_back(TimeSelection(conditions, entries, selected));
    }
    const double list = Median(listing);
    const double ser = Median(serial);
    const double sel = Median(selection);
    std::printf("entries listed: %llu, patterns: %llu, files selected: %llu, next serial: %llu\n",
                static_cast<unsigned long long>(seen),
                static_cast<unsigned long long>(conditions.lists[kTargetList].patterns.size()),
                static_cast<unsigned long long>(selected), static_cast<unsigned long long>(next));
    std::printf("listing the folder once (reference): %8.1f ms\n", list * 1000);
    std::printf("FindNextSerial:                      %8.1f ms   ratio %.2f\n", ser * 1000, ser / list);
    std::printf("IsFileSelected, every file:          %8.1f ms   ratio %.2f   (%.0f ns per file)\n", sel * 1000,
                sel / list, sel * 1e9 / static_cast<double>(entries.size()));
    return 0;
}
