// The copy tool with two seams for tests and benchmarks, set through the
// environment it is started with (the shipped program reads none of this):
//
//   VARO_TEST_COPY_GATE=<event name>,<count>
//       the first <count> file copies (or files opened for reading, as
//       packing an archive does) go ahead; every later one waits until the
//       named manual-reset event (made here) is set, so a test can look at
//       the window with a known part of a tree copied.
//   VARO_TEST_NO_COUNT=1
//       no counting pass: the benchmark's reference for what counting costs.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "forwarding_files.h"
#include "handles.h"
#include "startup/copy_tool.h"

namespace {

// A held copy goes ahead after this long anyway, so a test that dies never
// leaves the program waiting.
constexpr DWORD kGateLimitMs = 120000;

std::wstring Environment(const wchar_t* name) {
    wchar_t value[512] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, static_cast<DWORD>(std::size(value)));
    return length > 0 && length < std::size(value) ? std::wstring(value, length) : std::wstring();
}

class GatedCopies : public ForwardingFiles {
public:
    GatedCopies(HANDLE gate, long passing) : gate_(gate), passing_(passing) {}

    DWORD Copy(const std::wstring& from, const std::wstring& to, LPPROGRESS_ROUTINE progress, void* context,
               DWORD flags) override {
        Pass();
        return ForwardingFiles::Copy(from, to, progress, context, flags);
    }
    UniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                            DWORD& error) override {
        if ((access & GENERIC_WRITE) == 0) Pass();
        return ForwardingFiles::Open(path, access, share, disposition, flags, error);
    }

private:
    void Pass() {
        if (passing_.fetch_sub(1) <= 0) ::WaitForSingleObject(gate_, kGateLimitMs);
    }

    HANDLE gate_;
    std::atomic<long> passing_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    CopyToolSeams seams;
    seams.countTotals = Environment(L"VARO_TEST_NO_COUNT") != L"1";
    const std::wstring gate = Environment(L"VARO_TEST_COPY_GATE");
    const std::size_t comma = gate.rfind(L',');
    if (comma != std::wstring::npos) {
        // Both live as long as the process: the copies use them to the end.
        static const UniqueKernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, gate.substr(0, comma).c_str()));
        static GatedCopies files(event.get(), std::wcstol(gate.c_str() + comma + 1, nullptr, 10));
        seams.files = &files;
    }
    return RunCopyTool(instance, commandLine ? commandLine : L"", seams);
}
