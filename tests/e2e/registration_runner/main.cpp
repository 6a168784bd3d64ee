// Plays the settings application's side of the exchange with VaroUAC.exe
// where the registration page cannot: any request (the page sends only 0 and
// 2), the raw answer, and a partner that holds the helper in its wait. Writes
// its result into registration_result.txt (UTF-8, "key=value" lines) beside
// itself.
//   exchange <language> <request>      the exchange with VaroUAC.exe alone
//   gate 0 0                           creates the block and the event, as a
//                                      waiting settings application does, and
//                                      acknowledges once release.txt appears
//                                      beside it and the answer has come
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <fstream>
#include <sstream>
#include <string>

#include "context_menu_exchange.h"
#include "elevation_exchange.h"
#include "handles.h"
#include "kernel_objects.h"
#include "language.h"
#include "paths.h"
#include "settings_paths.h"
#include "text.h"

namespace {

void Line(std::wostringstream& out, const std::wstring& key, const std::wstring& value) {
    out << key << L"=" << value << L"\n";
}

std::wstring RunExchange(const std::wstring& folder, bool japanese, int request) {
    const ElevationAnswer answer = RunContextMenuExchange({nullptr, folder, L"", nullptr}, japanese, request);
    std::wostringstream out;
    Line(out, L"answer", FormatElevationAnswer(answer));
    return out.str();
}

// Holds a helper in its wait for the acknowledgement until the test releases it.
std::wstring RunGate(const std::wstring& folder) {
    const UniqueKernelHandle block = CreateSharedBlock(kElevationBlockName);
    const UniqueKernelHandle event = CreateExchangeEvent(kElevationEventName);
    if (!block || !event) return L"gate=failed\n";
    std::ofstream((folder + L"gate_ready.txt").c_str()) << "ready";
    for (int i = 0; i < 1200 && !PathExists(folder + L"release.txt"); ++i) ::Sleep(50);
    std::wstring answer;
    for (int i = 0; i < 200 && answer.empty(); ++i, ::Sleep(50))
        answer = ReadSharedBlock(kElevationBlockName).value_or(L"");
    ::SetEvent(event.get());
    return L"answer=" + answer + L"\n";
}

int Number(const wchar_t* text) {
    return static_cast<int>(std::wcstol(text, nullptr, 10));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!args || count < 4) return 2;
    const SettingsPaths paths = ResolveSettingsPaths();
    const bool japanese = Number(args[2]) == 1;
    SetJapanese(japanese);
    std::wstring result;
    if (std::wstring(args[1]) == L"exchange") {
        result = RunExchange(paths.programFolder, japanese, Number(args[3]));
    } else if (std::wstring(args[1]) == L"gate") {
        result = RunGate(paths.programFolder);
    } else {
        return 2;
    }
    std::ofstream file((paths.programFolder + L"registration_result.txt").c_str(), std::ios::binary);
    file << WideToUtf8(result);
    return 0;
}
