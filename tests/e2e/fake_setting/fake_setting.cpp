// Stands in for the settings application in end-to-end tests of the copy
// tool's hand-off. Started as "VaroSetting.exe /k <name>", it writes the
// command line it got to fake_setting_args.txt, "saves" fake_varo.ini from
// its folder as varo.ini (answer 0) or varo_tmp.ini (answer 1) when that file
// is there, and hands back the answer found in fake_setting_answer.txt: a
// number, or "silent" to end without answering.
#include <windows.h>

#include <fstream>
#include <string>

#include "kernel_objects.h"
#include "paths.h"
#include "settings_paths.h"

namespace {

std::wstring ReadAnswer(const std::wstring& folder) {
    std::wifstream in((folder + L"fake_setting_answer.txt").c_str());
    std::wstring answer;
    std::getline(in, answer);
    return answer;
}

void WriteArguments(const std::wstring& folder, const wchar_t* commandLine) {
    std::wofstream out((folder + L"fake_setting_args.txt").c_str());
    out << commandLine;
}

void SaveSettingsAs(const SettingsPaths& paths, const std::wstring& answer) {
    const std::wstring prepared = paths.programFolder + L"fake_varo.ini";
    if (!PathExists(prepared)) return;
    const std::wstring& target = answer == L"1" ? paths.temporaryFile : paths.settingsFile;
    ::CopyFileW(prepared.c_str(), target.c_str(), FALSE);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    const SettingsPaths paths = ResolveSettingsPaths();
    WriteArguments(paths.programFolder, commandLine);
    const std::wstring line = commandLine;
    if (line.rfind(L"/k ", 0) != 0) return 1;
    const std::wstring name = line.substr(3);
    const std::wstring answer = ReadAnswer(paths.programFolder);
    if (answer == L"silent") return 0;

    SaveSettingsAs(paths, answer);
    if (!WriteSharedBlock(name, answer)) return 2;
    UniqueKernelHandle set = OpenExchangeEvent(name + L"_KEY_SET_SET_WAIT");
    UniqueKernelHandle got = OpenExchangeEvent(name + L"_KEY_SEL_GET_WAIT");
    if (!set || !got) return 3;
    ::SetEvent(set.get());
    // The copy tool confirms that it read the answer; a test that went wrong
    // must not leave this process behind.
    return ::WaitForSingleObject(got.get(), 30000) == WAIT_OBJECT_0 ? 0 : 4;
}
