#include "result_list/list_fallback.h"

#include <algorithm>
#include <optional>
#include <vector>

#include <windows.h>

#include "format.h"
#include "handles.h"
#include "message_box.h"
#include "paths.h"
#include "run/output_path.h"
#include "text.h"

namespace {

constexpr MessagePair kMemoryWarning = {
    L"メモリが確保できませんでした。Windowsコマンドでコピー結果リストを出力します。",
    L"The memory could not be allocated. And it outputs the copy result list in the Windows command."};
constexpr MessagePair kSelectionDisabled = {L"※ファイル選択は無効になります。\n", L"*File selection is disabled.\n"};
constexpr MessagePair kListNotWritten = {
    L"コピー結果リストが出力できませんでした。\n\n%s\n\n出力先を変更して下さい。",
    L"Copy result list could not be output.\n\n%s\n\nPlease change the output destination."};

constexpr std::wstring_view kItemVariable = L"VARO_LIST_ITEM";
constexpr std::wstring_view kFileVariable = L"VARO_LIST_FILE";

std::wstring_view VariableName(std::wstring_view entry) {
    // Entries such as "=C:=C:\x" keep the leading "=" in their name.
    return entry.substr(0, entry.find(L'=', 1));
}

bool NameLess(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_LESS_THAN;
}

// This process's environment with the two path variables set, sorted by
// name as CreateProcessW wants it, ending with two zero characters.
std::wstring EnvironmentWith(std::wstring_view item, std::wstring_view listFile) {
    std::vector<std::wstring> entries;
    if (const UniqueEnvironmentStrings block(::GetEnvironmentStringsW()); block) {
        for (const wchar_t* p = block.get(); *p; p += std::wcslen(p) + 1) {
            const std::wstring_view entry(p);
            const std::wstring_view name = VariableName(entry);
            if (!EqualsNoCase(name, kItemVariable) && !EqualsNoCase(name, kFileVariable)) entries.emplace_back(entry);
        }
    }
    entries.push_back(std::wstring(kItemVariable) + L"=" + std::wstring(item));
    entries.push_back(std::wstring(kFileVariable) + L"=" + std::wstring(listFile));
    std::stable_sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
        return NameLess(VariableName(a), VariableName(b));
    });
    std::wstring environment;
    for (const std::wstring& entry : entries) environment.append(entry).push_back(L'\0');
    environment.push_back(L'\0');
    return environment;
}

std::wstring CommandInterpreterPath() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return AddTrailingBackslash(folder) + L"cmd.exe";
}

// Runs the command hidden and waits until it has ended. False when it
// cannot be started.
bool RunHidden(std::wstring commandLine, std::wstring environment) {
    // The full path, so that no cmd.exe in the current folder is started.
    const std::wstring program = CommandInterpreterPath();
    if (program.empty()) return false;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    UniqueProcessInformation process;
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS | CREATE_UNICODE_ENVIRONMENT,
                          environment.data(), nullptr, &startup, process.put()))
        return false;
    // The command ends by itself once it has written what it lists.
    ::WaitForSingleObject(process.process(), INFINITE);
    return true;
}

void ShowMemoryWarning(const CommandListRequest& request) {
    std::wstring text(Pick(kMemoryWarning));
    if (request.dirTree == 2 && request.select == 1) text += Pick(kSelectionDisabled);
    ShowMessageText(nullptr, MB_ICONWARNING, text);
}

// Asks for a folder until the new list path fits; nothing when the user
// chose no folder.
std::optional<std::wstring> AskNewListPath(const CommandListRequest& request, const FolderBrowser& browse) {
    const std::wstring sourceName = SplitExtension(FileNameOf(StripTrailingBackslash(request.sourcePath))).base;
    while (true) {
        const std::wstring folder = browse(request.browseFolder);
        if (folder.empty()) return std::nullopt;
        const std::wstring path =
            FormatText(L"%s%s_%s", {AddTrailingBackslash(folder), sourceName, request.timeStamp}) + L".txt";
        if (OutputPathFits(path, kMaxPathLength)) return path;
    }
}

}  // namespace

std::wstring ListCommandLine(bool sourceIsFile, int dirTree, int select) {
    if (sourceIsFile) return L"cmd /c echo \"%VARO_LIST_ITEM%\" >> \"%VARO_LIST_FILE%\"";
    if (dirTree == 2 && select == 0) return L"cmd /c tree \"%VARO_LIST_ITEM%\" >> \"%VARO_LIST_FILE%\"";
    return L"cmd /c tree /f \"%VARO_LIST_ITEM%\" >> \"%VARO_LIST_FILE%\"";
}

int WriteResultListWithCommand(const CommandListRequest& request, const FolderBrowser& browse) {
    ShowMemoryWarning(request);
    const std::wstring item = StripTrailingBackslash(request.destinationPath);
    const std::wstring command = ListCommandLine(request.sourceIsFile, request.dirTree, request.select);
    std::wstring listPath = request.listPath;
    while (true) {
        if (!RunHidden(command, EnvironmentWith(item, listPath))) return -1;
        if (PathExists(listPath)) return 0;
        ShowMessage(nullptr, MB_ICONWARNING, kListNotWritten, {listPath});
        std::optional<std::wstring> next = AskNewListPath(request, browse);
        if (!next) return -1;
        listPath = std::move(*next);
    }
}
