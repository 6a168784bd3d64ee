#include "settings_paths.h"

#include <windows.h>

#include "handles.h"
#include "paths.h"
#include "step_trace.h"
#include "text.h"

namespace {

std::wstring LowerAscii(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return out;
}

}  // namespace

std::wstring DeriveInstanceSuffix(std::wstring_view programFolder) {
    const std::wstring name = LowerAscii(StripTrailingBackslash(LastPathComponent(programFolder)));
    if (EqualsNoCase(name, L"varo")) return {};
    std::wstring derived = name;
    if (name.size() > 4 && name.starts_with(L"varo"))
        derived = (name.size() > 5 && name[4] == L'_') ? name.substr(5) : name.substr(4);
    return L"_" + derived;
}

std::wstring InstanceName(std::wstring_view instanceSuffix) {
    if (!instanceSuffix.empty() && instanceSuffix.front() == L'_') instanceSuffix.remove_prefix(1);
    return std::wstring(instanceSuffix);
}

SettingsPaths MakeSettingsPaths(std::wstring_view programFolder, const std::optional<std::wstring>& appDataFolder,
                                bool programFolderWritable) {
    SettingsPaths paths;
    paths.programFolder = AddTrailingBackslash(programFolder);
    paths.instanceSuffix = DeriveInstanceSuffix(paths.programFolder);
    if (appDataFolder && !appDataFolder->empty()) {
        paths.settingsFolder = AddTrailingBackslash(*appDataFolder) + L"kestrel\\varo" + paths.instanceSuffix + L"\\";
        paths.settingsFile = paths.settingsFolder + L"varo.ini";
        paths.temporaryFile = paths.settingsFolder + L"varo_tmp.ini";
    }
    const std::wstring& besideFiles =
        programFolderWritable || paths.settingsFolder.empty() ? paths.programFolder : paths.settingsFolder;
    paths.backupFile = besideFiles + L"varo_bk.ini";
    paths.debugLog = besideFiles + std::wstring(kDebugLogName);
    return paths;
}

bool FolderIsWritable(std::wstring_view folder) {
    // Named after the process, so that programs starting at once do not meet.
    const std::wstring probe =
        AddTrailingBackslash(folder) + L"varo_write_probe_" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    const UniqueKernelHandle file(::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.valid();
}

SettingsPaths ResolveSettingsPaths(std::wstring_view stepPrefix) {
    const std::wstring programFolder = ProgramFolder();
    return MakeSettingsPaths(programFolder, GetSpecialFolderPath(kCsidlAppData, stepPrefix),
                             FolderIsWritable(programFolder));
}
