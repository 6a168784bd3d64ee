#include "pages/sub_dialog.h"

#include <array>

#include "handles.h"
#include "language.h"
#include "message_box.h"

namespace {

constexpr MessagePair kSubWindowFailed = {L"Unable to create the sub window.", L"Unable to create the sub window."};

// The filter of the sub-dialog open now; one at a time, on the one UI thread.
SubDialogKind g_kind = SubDialogKind::Organiser;

bool FocusIsEdit(HWND focus) {
    std::array<wchar_t, 16> name{};
    return focus && ::GetClassNameW(focus, name.data(), static_cast<int>(name.size())) > 0 && IsEditClass(name.data());
}

bool KeyDown(int virtualKey) {
    return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

// The modal loop asks this hook before the dialog handles a message.
LRESULT CALLBACK SubDialogKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code != MSGF_DIALOGBOX || message->message != WM_KEYDOWN)
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    const KeyPress key{static_cast<unsigned>(message->wParam), KeyDown(VK_CONTROL), KeyDown(VK_SHIFT), KeyDown(VK_MENU),
                       FocusIsEdit(message->hwnd)};
    switch (FilterSubDialogKey(g_kind, key)) {
        case KeyAction::Swallow:
            return 1;
        case KeyAction::SelectAll:
            ::SendMessageW(message->hwnd, EM_SETSEL, 0, -1);
            return 1;
        case KeyAction::Pass:
        default:
            return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
}

}  // namespace

INT_PTR RunSubDialog(HWND owner, int templateId, DLGPROC procedure, LPARAM param, SubDialogKind kind) {
    g_kind = kind;
    const UniqueHook filter(::SetWindowsHookExW(WH_MSGFILTER, SubDialogKeyFilter, nullptr, ::GetCurrentThreadId()));
    const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    const INT_PTR result = ::DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), owner, procedure, param);
    if (result == -1) ShowMessage(owner, MB_ICONERROR | MB_TOPMOST, kSubWindowFailed);
    return result;
}
