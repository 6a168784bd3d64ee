#include "settings_paths.h"

#include "paths.h"
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

SettingsPaths MakeSettingsPaths(std::wstring_view programFolder, const std::optional<std::wstring>& appDataFolder) {
    SettingsPaths paths;
    paths.programFolder = AddTrailingBackslash(programFolder);
    paths.instanceSuffix = DeriveInstanceSuffix(paths.programFolder);
    paths.backupFile = paths.programFolder + L"varo_bk.ini";
    paths.debugLog = paths.programFolder + L"varo_debug.log";
    if (appDataFolder && !appDataFolder->empty()) {
        paths.settingsFolder = AddTrailingBackslash(*appDataFolder) + L"kestrel\\varo" + paths.instanceSuffix + L"\\";
        paths.settingsFile = paths.settingsFolder + L"varo.ini";
        paths.temporaryFile = paths.settingsFolder + L"varo_tmp.ini";
    }
    return paths;
}

SettingsPaths ResolveSettingsPaths(std::wstring_view stepPrefix) {
    return MakeSettingsPaths(ProgramFolder(), GetSpecialFolderPath(kCsidlAppData, stepPrefix));
}
