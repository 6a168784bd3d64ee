#include "shortcuts.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "handles.h"
#include "paths.h"
#include "registration_decisions.h"
#include "step_trace.h"
#include "text.h"

namespace {

constexpr std::wstring_view kShortcutExtension = L".lnk";

std::vector<std::wstring> ShortcutFiles(std::wstring_view folder) {
    const std::wstring pattern = AddTrailingBackslash(folder) + L"*" + std::wstring(kShortcutExtension);
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW(pattern.c_str(), &data));
    if (!find) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (::FindNextFileW(find.get(), &data));
    return names;
}

bool PointsTo(std::wstring_view folder, const std::wstring& fileName, std::wstring_view programPath) {
    const auto info = ReadShortcut(folder, fileName, false);
    return info && EqualsNoCase(info->target, programPath);
}

std::uint32_t ErrorOf(HRESULT result) {
    return static_cast<std::uint32_t>(result);
}

}  // namespace

std::optional<ShortcutInfo> ReadShortcut(std::wstring_view folder, std::wstring_view fileName, bool withArguments) {
    const ScopedCom com;
    if (!com.ok()) {
        RecordStep(L"GSP1", 1050, 0);
        return std::nullopt;
    }
    ComPtr<IShellLinkW> link;
    HRESULT result =
        ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void());
    if (FAILED(result)) {
        RecordStep(L"GSP2", 1053, ErrorOf(result));
        return std::nullopt;
    }
    ComPtr<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.put_void());
    if (FAILED(result)) {
        RecordStep(L"GSP3", 1056, ErrorOf(result));
        return std::nullopt;
    }
    const std::wstring path = AddTrailingBackslash(folder) + std::wstring(fileName);
    result = file->Load(path.c_str(), STGM_READ | STGM_SHARE_DENY_WRITE);
    if (FAILED(result)) {
        RecordStep(L"GSP4", 1059, ErrorOf(result));
        return std::nullopt;
    }
    wchar_t target[kMaxPathChars] = {};
    result = link->GetPath(target, static_cast<int>(kMaxPathChars), nullptr, 0);
    if (FAILED(result)) {
        RecordStep(L"GSP5", 1062, ErrorOf(result));
        return std::nullopt;
    }
    ShortcutInfo info{target, {}};
    if (!withArguments) return info;
    wchar_t arguments[INFOTIPSIZE] = {};
    result = link->GetArguments(arguments, INFOTIPSIZE);
    if (FAILED(result)) {
        RecordStep(L"GSP6", 1065, ErrorOf(result));
        return std::nullopt;
    }
    info.arguments = arguments;
    return info;
}

int FindShortcut(std::wstring_view folder, std::wstring_view programPath) {
    for (const std::wstring& name : ShortcutFiles(folder))
        if (PointsTo(folder, name, programPath)) return 0;
    RecordStep(L"SC1", 0, 0);
    return 4;
}

int CreateShortcut(std::wstring_view folder, std::wstring_view programPath, std::wstring_view arguments,
                   std::wstring_view displayName) {
    const std::wstring path =
        AddTrailingBackslash(folder) + std::wstring(displayName) + std::wstring(kShortcutExtension);
    if (path.size() >= kMaxPathChars) {
        RecordStep(L"SC1", 1020, 0);
        return -1;
    }
    const ScopedCom com;
    if (!com.ok()) {
        RecordStep(L"SC2", 1021, 0);
        return -1;
    }
    ComPtr<IShellLinkW> link;
    HRESULT result =
        ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void());
    if (FAILED(result)) {
        RecordStep(L"SC3", 1023, ErrorOf(result));
        return -1;
    }
    ComPtr<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.put_void());
    if (FAILED(result)) {
        RecordStep(L"SC4", 1026, ErrorOf(result));
        return -1;
    }
    const std::wstring target(programPath);
    result = link->SetPath(target.c_str());
    if (FAILED(result)) {
        RecordStep(L"SC5", 1029, ErrorOf(result));
        return -1;
    }
    const std::wstring argumentText(arguments);
    result = link->SetArguments(argumentText.c_str());
    if (FAILED(result)) {
        RecordStep(L"SC6", 1032, ErrorOf(result));
        return -1;
    }
    result = file->Save(path.c_str(), TRUE);
    if (FAILED(result)) {
        RecordStep(L"SC7", 1035, ErrorOf(result));
        return -1;
    }
    return 0;
}

int RemoveShortcuts(std::wstring_view folder, std::wstring_view programPath, bool quiet) {
    bool matched = false;
    bool deleted = false;
    for (const std::wstring& name : ShortcutFiles(folder)) {
        if (!PointsTo(folder, name, programPath)) continue;
        matched = true;
        const std::wstring path = AddTrailingBackslash(folder) + name;
        if (::DeleteFileW(path.c_str())) {
            deleted = true;
        } else if (!quiet) {
            RecordStep(L"SR1", 1040, ::GetLastError());
        }
    }
    if (deleted) return kShortcutsRemoved;
    if (!matched) {
        if (!quiet) RecordStep(L"SR2", 0, 0);
        return kShortcutsNone;
    }
    if (!quiet) RecordStep(L"SR3", 1046, 0);
    return kShortcutsNotRemoved;
}

int ShortcutTarget(std::wstring_view folder, std::wstring_view programPath, std::wstring_view displayName, int action) {
    if (folder.empty()) {
        RecordStep(L"SP1", 1010, 0);
        return -1;
    }
    if (action == kActionCheck) {
        if (FindShortcut(folder, programPath) == 0) return 0;
        RecordStep(L"SP2", 0, 0);
        return 4;
    }
    if (action == kPositionOn) {
        if (!PathExists(programPath)) {
            RecordStep(L"SP3", 1013, ::GetLastError());
            return -1;
        }
        (void)RemoveShortcuts(folder, programPath, true);
        if (CreateShortcut(folder, programPath, L"", displayName) != 0) {
            RecordStep(L"SP4", 0, 0);
            return -1;
        }
        return 0;
    }
    if (action != kPositionOff) return 0;
    const int removed = RemoveShortcuts(folder, programPath, false);
    if (removed != kShortcutsRemoved) RecordStep(L"SP5", 0, 0);
    return removed;
}
