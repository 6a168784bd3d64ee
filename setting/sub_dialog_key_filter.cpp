#include "sub_dialog_key_filter.h"

#include <array>

namespace {

// The sub-dialog open now; one at a time, on the one user-interface thread.
SubDialogKind gOpenSubDialog = SubDialogKind::Organiser;

bool KeyIsDown(int virtualKey) {
    return ::GetKeyState(virtualKey) < 0;
}

bool FocusIsEdit(HWND focus) {
    std::array<wchar_t, 32> className{};
    if (!focus || ::GetClassNameW(focus, className.data(), static_cast<int>(className.size())) == 0) return false;
    return IsEditClass(className.data());
}

// True when the key was handled here and goes no further.
bool ApplyKeyDown(const MSG& message) {
    const HWND focus = ::GetFocus();
    const KeyPress key{static_cast<unsigned>(message.wParam), KeyIsDown(VK_CONTROL), KeyIsDown(VK_SHIFT),
                       KeyIsDown(VK_MENU), FocusIsEdit(focus)};
    switch (FilterSubDialogKey(gOpenSubDialog, key)) {
        case KeyAction::Swallow:
            return true;
        case KeyAction::SelectAll:
            ::SendMessageW(focus, EM_SETSEL, 0, -1);
            return true;
        case KeyAction::Pass:
            return false;
    }
    return false;
}

}  // namespace

LRESULT CALLBACK SubDialogKeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        if (message && message->message == WM_KEYDOWN && ApplyKeyDown(*message)) return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

SubDialogKeyFilterScope::SubDialogKeyFilterScope(SubDialogKind dialog)
    : hook_(::SetWindowsHookExW(WH_MSGFILTER, SubDialogKeyFilter, nullptr, ::GetCurrentThreadId())) {
    gOpenSubDialog = dialog;
}

SubDialogKeyFilterScope::~SubDialogKeyFilterScope() {
    if (hook_) ::UnhookWindowsHookEx(hook_);
}
