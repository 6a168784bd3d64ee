// Test driver for the Explorer view: lets a script call ShowResultInExplorer
// and look at the windows it leads to. Prints UTF-8, one item per line.
//   explorer_probe list                  the windows the shell's collection reports
//   explorer_probe show FOLDER ITEM      ShowResultInExplorer(FOLDER, ITEM)
//   explorer_probe windows               every visible top-level window
//   explorer_probe close HWND            asks that window to close
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "explorer/explorer_view.h"
#include "explorer/explorer_windows.h"
#include "format.h"
#include "text.h"

namespace {

void PrintLine(std::wstring_view line) {
    const std::string bytes = WideToUtf8(std::wstring(line) + L"\n");
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

std::wstring ClassText(HWND window) {
    wchar_t text[256] = {};
    ::GetClassNameW(window, text, 256);
    return text;
}

int ListCollection() {
    std::vector<ExplorerWindowRecord> records;
    const int result = EnumerateExplorerWindows(records);
    PrintLine(FormatText(L"result\t%d\t%u", {result, records.size()}));
    for (const ExplorerWindowRecord& record : records) {
        PrintLine(FormatText(L"record\t%s\t%I64x\t%u",
                             {record.path, reinterpret_cast<std::uintptr_t>(record.window), record.placement.showCmd}));
    }
    return 0;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
    if (!::IsWindowVisible(window)) return TRUE;
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    PrintLine(FormatText(L"window\t%I64x\t%u\t%s\t%s",
                         {reinterpret_cast<std::uintptr_t>(window), process, ClassText(window), WindowText(window)}));
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring_view command = argc > 1 ? argv[1] : L"";
    if (command == L"list") return ListCollection();
    if (command == L"show" && argc == 4) {
        ShowResultInExplorer(argv[2], argv[3]);
        return 0;
    }
    if (command == L"windows") {
        ::EnumWindows(PrintWindow, 0);
        return 0;
    }
    if (command == L"close" && argc == 3) {
        const auto window = reinterpret_cast<HWND>(std::wcstoull(argv[2], nullptr, 16));
        return ::PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    PrintLine(L"usage: explorer_probe list | show FOLDER ITEM | windows | close HWND");
    return 2;
}
