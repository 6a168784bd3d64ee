#include "dpi.h"

#include "handles.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kMdtEffectiveDpi = 0;

// Set once at start-up, before any window exists.
GetDpiForWindowFn g_dpiForWindow = nullptr;
GetDpiForMonitorFn g_dpiForMonitor = nullptr;

template <typename Fn>
Fn LookUp(const wchar_t* library, const char* name) {
    HMODULE module = ::GetModuleHandleW(library);
    if (!module) module = ::LoadLibraryW(library);  // stays loaded for the process
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace

void LookUpDpiFunctions() {
    g_dpiForWindow = LookUp<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    g_dpiForMonitor = LookUp<GetDpiForMonitorFn>(L"Shcore.dll", "GetDpiForMonitor");
}

UINT GetWindowDpi(HWND window) {
    if (window && g_dpiForWindow) {
        if (const UINT dpi = g_dpiForWindow(window)) return dpi;
    }
    if (g_dpiForMonitor) {
        UINT x = 0, y = 0;
        HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(g_dpiForMonitor(monitor, kMdtEffectiveDpi, &x, &y)) && x != 0) return x;
    }
    const WindowDc screen(nullptr);
    return static_cast<UINT>(::GetDeviceCaps(screen.get(), LOGPIXELSX));
}
