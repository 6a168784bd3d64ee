#include "message_loop.h"

int RunMessageLoop(HWND dialog) {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (dialog && ::IsDialogMessageW(dialog, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
