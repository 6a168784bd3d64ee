// VaroSelect: copies the files and folders given on its command line.
#include <windows.h>

#include "startup/copy_tool.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    return RunCopyTool(instance, commandLine ? commandLine : L"");
}
