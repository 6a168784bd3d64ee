#include "dpi.h"

#include "handles.h"
#include "resource.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kMdtEffectiveDpi = 0;
constexpr int kBaseDpi = 96;
constexpr int kIconSizeAtBase = 16;

GetDpiForWindowFn dpiForWindow = nullptr;
GetDpiForMonitorFn dpiForMonitor = nullptr;
UniqueGdiObject registrationBitmap;

// A device context taken from a window and given back.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context with one bitmap selected into it for its lifetime.
class MemoryDc {
public:
    MemoryDc(HDC compatible, HGDIOBJ bitmap) : dc_(::CreateCompatibleDC(compatible)) {
        if (dc_) old_ = ::SelectObject(dc_, bitmap);
    }
    ~MemoryDc() {
        if (!dc_) return;
        ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

struct IconTraits {
    using Value = HICON;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value v) { return v == nullptr; }
    static void Close(Value v) { ::DestroyIcon(v); }
};
using UniqueIcon = UniqueHandle<IconTraits>;

template <typename Fn>
Fn LookUp(const wchar_t* library, const char* name) {
    HMODULE module = ::GetModuleHandleW(library);
    if (!module) module = ::LoadLibraryW(library);  // stays loaded for the process
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

}  // namespace

void LookUpDpiFunctions() {
    dpiForWindow = LookUp<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    dpiForMonitor = LookUp<GetDpiForMonitorFn>(L"Shcore.dll", "GetDpiForMonitor");
}

UINT GetWindowDpi(HWND window) {
    if (window && dpiForWindow) {
        if (const UINT dpi = dpiForWindow(window)) return dpi;
    }
    if (dpiForMonitor) {
        UINT x = 0, y = 0;
        HMONITOR monitor = ::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(dpiForMonitor(monitor, kMdtEffectiveDpi, &x, &y)) && x != 0) return x;
    }
    const WindowDc screen(nullptr);
    return static_cast<UINT>(::GetDeviceCaps(screen.get(), LOGPIXELSX));
}

int DpiIconIndex(UINT dpi) {
    if (dpi < 144) return 0;
    if (dpi < 240) return 1;
    if (dpi < 912) return 2;
    return 3;
}

int RegistrationIconSize(UINT dpi) {
    return ::MulDiv(kIconSizeAtBase, static_cast<int>(dpi), kBaseDpi);
}

HBITMAP DrawScaledIcon(HWND page, int size, int iconId, int controlId) {
    const UniqueIcon icon(static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    if (!icon) return nullptr;
    const WindowDc pageDc(page);
    HBITMAP bitmap = ::CreateCompatibleBitmap(pageDc.get(), size, size);
    if (!bitmap) return nullptr;
    {
        const MemoryDc memory(pageDc.get(), bitmap);
        const RECT all{0, 0, size, size};
        ::FillRect(memory.get(), &all, ::GetSysColorBrush(COLOR_BTNFACE));
        ::DrawIconEx(memory.get(), 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
    }
    HWND control = ::GetDlgItem(page, controlId);
    ::SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    ::InvalidateRect(control, nullptr, TRUE);
    return bitmap;
}

void UpdateRegistrationIcon(HWND page) {
    // The control gives up the old bitmap before it is deleted.
    ::SendDlgItemMessageW(page, IDC_REG_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, 0);
    registrationBitmap.reset();
    const UINT dpi = GetWindowDpi(page);
    registrationBitmap.reset(
        DrawScaledIcon(page, RegistrationIconSize(dpi), IDI_REGISTRATION_96 + DpiIconIndex(dpi), IDC_REG_PICTURE));
}

void ReleaseRegistrationIcon() {
    registrationBitmap.reset();
}
