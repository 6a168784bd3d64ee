#include "pages/registration_icon.h"

#include "dpi.h"
#include "resource.h"

namespace {

constexpr int kBaseDpi = 96;
constexpr int kIconSizeAtBase = 16;

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

// Draws icon `iconId` at size x size on the button face into a new bitmap and
// shows it in the page's static control; the caller owns the bitmap.
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

}  // namespace

int DpiIconIndex(UINT dpi) {
    if (dpi < 144) return 0;
    if (dpi < 240) return 1;
    if (dpi < 912) return 2;
    return 3;
}

int RegistrationIconSize(UINT dpi) {
    return ::MulDiv(kIconSizeAtBase, static_cast<int>(dpi), kBaseDpi);
}

void RegistrationIcon::Update(HWND page) {
    // The control gives up the old bitmap before it is deleted.
    ::SendDlgItemMessageW(page, IDC_REG_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, 0);
    bitmap_.reset();
    const UINT dpi = GetWindowDpi(page);
    bitmap_.reset(
        DrawScaledIcon(page, RegistrationIconSize(dpi), IDI_REGISTRATION_96 + DpiIconIndex(dpi), IDC_REG_PICTURE));
}
