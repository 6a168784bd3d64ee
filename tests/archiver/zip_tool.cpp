// varo_zip.exe: hands its arguments to the built-in archiver as one command
// line, the way the copy tool does (the two paths after "--" in quotes), and
// prints the result code and the archiver's description of a failure.
//   varo_zip a -tzip -ssw -mmt=on -- C:\out\x.zip C:\in\folder\ (folder source)
#include <cstdio>
#include <string>

#include <windows.h>
#include <shellapi.h>

#include "archiver_api.h"
#include "handles.h"
#include "text.h"

namespace {

std::wstring CommandFromArguments() {
    int count = 0;
    const UniqueLocalPointer<wchar_t*> arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
    std::wstring line;
    bool paths = false;
    for (int i = 1; arguments.valid() && i < count; ++i) {
        const std::wstring argument = arguments.get()[i];
        if (!line.empty()) line += L' ';
        line += paths ? L"\"" + argument + L"\"" : argument;
        if (argument == L"--") paths = true;
    }
    return line;
}

}  // namespace

int main() {
    const std::string command = WideToUtf8(CommandFromArguments());
    const ArchiverApi& archiver = BuiltInArchiver();
    archiver.initialize(1);
    char output[2048] = {};
    const int code = archiver.command(nullptr, command.c_str(), output, sizeof output);
    std::printf("code=0x%04x\n%s\n", static_cast<unsigned>(code), output);
    return code == kArchiverOk ? 0 : 1;
}
