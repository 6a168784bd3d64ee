#include "tab_control.h"

#include <commctrl.h>

#include "remote_memory.h"

namespace {
constexpr UINT kSendTimeoutMs = 5000;
constexpr int kMaxCaptionChars = 260;
constexpr std::size_t kTextOffset = sizeof(TCITEMW);

LRESULT SendToTabs(HWND tabs, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(tabs, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}
}  // namespace

std::vector<std::wstring> TabCaptions(HWND tabs) {
    std::vector<std::wstring> captions;
    const RemoteMemory remote(tabs, kTextOffset + kMaxCaptionChars * sizeof(wchar_t));
    if (!remote.valid()) return captions;
    const int count = static_cast<int>(SendToTabs(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        TCITEMW request = {};
        request.mask = TCIF_TEXT;
        request.pszText = reinterpret_cast<wchar_t*>(remote.address() + kTextOffset);
        request.cchTextMax = kMaxCaptionChars;
        const wchar_t empty = L'\0';
        std::wstring text(kMaxCaptionChars, L'\0');
        if (!remote.Write(0, &request, sizeof request) || !remote.Write(kTextOffset, &empty, sizeof empty) ||
            !SendToTabs(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(remote.address())) ||
            !remote.Read(kTextOffset, text.data(), text.size() * sizeof(wchar_t)))
            text.clear();
        text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
        captions.push_back(text);
    }
    return captions;
}
