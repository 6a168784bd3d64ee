// VaroUAC: writes or removes the copy tool's Explorer context-menu entries
// with administrator rights on behalf of the settings application.
#include <windows.h>

#include "uac_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    return RunElevationHelper(instance, commandLine);
}
