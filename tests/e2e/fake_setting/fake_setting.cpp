// Stands in for the settings application where the copy tool's hand-off
// must meet a settings application that ends without answering, which the
// real one never does. Started as "VaroSetting.exe /k <name>", it writes the
// command line it got to fake_setting_args.txt and ends.
#include <windows.h>

#include <fstream>
#include <string>

#include "settings_paths.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    const SettingsPaths paths = ResolveSettingsPaths();
    std::wofstream out((paths.programFolder + L"fake_setting_args.txt").c_str());
    out << commandLine;
    return 0;
}
