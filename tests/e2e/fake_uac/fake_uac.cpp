// Stands in for VaroUAC.exe where the settings dialog must wait for a helper
// that takes its time. Started as "VaroUAC.exe <language> <request>", it
// appends its command line to fake_uac_starts.txt beside itself, holds its
// answer until release.txt appears there (at most a minute), then answers
// "1 0 0" and waits for the acknowledgement as the real helper does. Its
// outcome goes to fake_uac_result.txt: "answered" or "no partner".
#include <windows.h>

#include <fstream>
#include <string>

#include "elevation_exchange.h"
#include "handles.h"
#include "kernel_objects.h"
#include "paths.h"
#include "settings_paths.h"

namespace {

constexpr int kHoldPolls = 1200;  // 50 ms apart: a minute
constexpr DWORD kPollMs = 50;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    const std::wstring folder = ResolveSettingsPaths().programFolder;
    std::wofstream((folder + L"fake_uac_starts.txt").c_str(), std::ios::app) << commandLine << L"\n";
    for (int i = 0; i < kHoldPolls && !PathExists(folder + L"release.txt"); ++i) ::Sleep(kPollMs);

    const bool answered = WriteSharedBlock(kElevationBlockName, L"1 0 0");
    if (answered) {
        const UniqueKernelHandle event = OpenExchangeEvent(kElevationEventName);
        if (event) ::WaitForSingleObject(event.get(), 10000);
    }
    std::ofstream((folder + L"fake_uac_result.txt").c_str()) << (answered ? "answered" : "no partner");
    return 0;
}
