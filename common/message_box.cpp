#include "message_box.h"

#include <mutex>

namespace {

struct BoxSettings {
    std::mutex lock;
    std::wstring caption = L"Varo";
    bool topmost = false;
    std::function<int(const MessageRequest&)> hook;
};

BoxSettings& Box() {
    static BoxSettings settings;
    return settings;
}

}  // namespace

void SetMessageBoxCaption(std::wstring caption, bool topmost) {
    std::lock_guard guard(Box().lock);
    Box().caption = std::move(caption);
    Box().topmost = topmost;
}

void SetMessageBoxHook(std::function<int(const MessageRequest&)> hook) {
    std::lock_guard guard(Box().lock);
    Box().hook = std::move(hook);
}

int ShowMessageText(HWND owner, UINT style, std::wstring_view text) {
    MessageRequest request{owner, {}, std::wstring(text.substr(0, kMaxMessageChars)), style};
    std::function<int(const MessageRequest&)> hook;
    {
        std::lock_guard guard(Box().lock);
        request.caption = Box().caption;
        if (Box().topmost) request.style |= MB_TOPMOST;
        hook = Box().hook;
    }
    if (hook) return hook(request);
    return ::MessageBoxW(owner, request.text.c_str(), request.caption.c_str(), request.style);
}

int ShowMessage(HWND owner, UINT style, const MessagePair& pair, std::initializer_list<FormatArg> args) {
    return ShowMessageText(owner, style, FormatText(Pick(pair), args));
}

int ShowMessageIn(bool japanese, HWND owner, UINT style, const MessagePair& pair,
                  std::initializer_list<FormatArg> args) {
    return ShowMessageText(owner, style, FormatText(Pick(pair, japanese), args));
}
