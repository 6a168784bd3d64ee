// VaroSetting: the settings dialog, started by the user or by the copy tool
// with "/k <key>" to answer it before a copy.
#include <windows.h>

#include "setting_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    return RunSettingApp(instance, commandLine);
}
