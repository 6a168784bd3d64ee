// Times the copy result list against a plain walk of the same tree: (a) a
// FindFirstFileW walk, (b) the same walk recording every entry, then the
// list written. Prints the best of three runs of each, their ratio and the
// peak working set.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "handles.h"
#include "result_list/list_header.h"
#include "result_list/list_writer.h"
#include "result_list/result_entries.h"
#include "startup/run_state.h"

namespace {

struct Counts {
    std::size_t files = 0;
    std::size_t folders = 0;
};

// Depth-first walk; `visit` gets the path relative to the root and the find data.
void Walk(const std::wstring& root, const std::wstring& relative,
          const std::function<void(const std::wstring&, const WIN32_FIND_DATAW&)>& visit) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((root + relative + L"*").c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        visit(relative + name, data);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Walk(root, relative + name + L"\\", visit);
    } while (::FindNextFileW(find.get(), &data));
}

Counts PlainWalk(const std::wstring& root) {
    Counts counts;
    Walk(root, L"", [&](const std::wstring&, const WIN32_FIND_DATAW& data) {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ++counts.folders;
        else
            ++counts.files;
    });
    return counts;
}

std::size_t WalkAndWriteList(const std::wstring& root, const std::wstring& list) {
    ::DeleteFileW(list.c_str());
    ResultEntryTable table;
    Walk(root, L"", [&](const std::wstring& relative, const WIN32_FIND_DATAW& data) {
        const bool isFolder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        AddResultEntry(table, MarkEntryPath(isFolder ? relative + L"\\" : relative, !isFolder), data);
    });
    ListHeader header;
    header.select = 1;
    SharedRunState shared;
    WriteCopyResultList(list, root, table, header, shared);
    if (!table.MemoryOk() || shared.listFailed) std::printf("the list failed\n");
    return table.size();
}

double Milliseconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::printf("usage: result_list_bench <source folder> <list file>\n");
        return 2;
    }
    std::wstring root = argv[1];
    if (root.back() != L'\\') root += L'\\';
    const std::wstring list = argv[2];

    Counts counts = PlainWalk(root);  // warms the cache
    double walkBest = 1e300;
    double listBest = 1e300;
    double peakBeforeList = 0;
    std::size_t entries = 0;
    for (int round = 0; round < 3; ++round) {
        walkBest = std::min(walkBest, Milliseconds([&] { counts = PlainWalk(root); }));
        if (round == 0) peakBeforeList = PeakMegabytes();
        listBest = std::min(listBest, Milliseconds([&] { entries = WalkAndWriteList(root, list); }));
    }
    WIN32_FILE_ATTRIBUTE_DATA listData = {};
    ::GetFileAttributesExW(list.c_str(), GetFileExInfoStandard, &listData);

    std::printf("tree:                  %zu files in %zu folders, %zu entries recorded\n", counts.files, counts.folders,
                entries);
    std::printf("(a) walk:              %8.0f ms (best of 3)\n", walkBest);
    std::printf("(b) walk + list:       %8.0f ms (best of 3)\n", listBest);
    std::printf("ratio (b)/(a):         %8.2f (aim: under 3)\n", listBest / walkBest);
    std::printf("list file:             %8.1f MB\n", listData.nFileSizeLow / (1024.0 * 1024.0));
    std::printf("peak working set:      %8.1f MB after the walks, %.1f MB with the list\n", peakBeforeList,
                PeakMegabytes());
    return 0;
}
