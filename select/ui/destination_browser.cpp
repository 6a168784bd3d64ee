#include "ui/destination_browser.h"

#include "message_box.h"
#include "window_order.h"

namespace {

constexpr MessagePair kBrowseTitle = {L"コピー先のフォルダを選択して下さい", L"Please Select in which to store."};

}  // namespace

BrowseAnswer BrowseForDestination(HWND progressWindow, const std::wstring& initialFolder) {
    if (progressWindow) RaiseWithoutStayingOnTop(progressWindow);
    // No owner: the browser runs on the worker thread, and a window owned
    // by another thread's window makes the system wait for that thread
    // (disabling the owner while the browser is open), which may itself be
    // waiting for the worker to end.
    const BrowseAnswer answer = BrowseForFolder(nullptr, kBrowseTitle, initialFolder);
    // The copy tool's boxes have no owner and stay on top.
    if (answer.nameInvalid) ShowMessage(nullptr, MB_ICONWARNING, kSelectedFolderMissing);
    return answer;
}
