#include "link.h"

#include <shellapi.h>

#include <string>

namespace {

constexpr wchar_t kOldProcProperty[] = L"VaroLinkOldProc";

LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto oldProc = reinterpret_cast<WNDPROC>(::GetPropW(window, kOldProcProperty));
    switch (message) {
        case WM_SETCURSOR:
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        case WM_LBUTTONDOWN: {
            const std::wstring address(kMakerWebAddress);
            ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            return 0;
        }
        case WM_NCDESTROY:
            ::RemovePropW(window, kOldProcProperty);
            break;
        default:
            break;
    }
    return oldProc ? ::CallWindowProcW(oldProc, window, message, wParam, lParam)
                   : ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void AttachLink(HWND label) {
    const std::wstring address(kMakerWebAddress);
    ::SetWindowTextW(label, address.c_str());
    ::SetPropW(label, kOldProcProperty, reinterpret_cast<HANDLE>(::GetWindowLongPtrW(label, GWLP_WNDPROC)));
    ::SetWindowLongPtrW(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc));
}
