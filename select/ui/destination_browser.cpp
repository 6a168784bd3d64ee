#include "ui/destination_browser.h"

#include "message_box.h"
#include "window_order.h"

namespace {

constexpr MessagePair kBrowseTitle = {L"コピー先のフォルダを選択して下さい", L"Please Select in which to store."};

}  // namespace

BrowseAnswer BrowseForDestination(HWND owner, const std::wstring& initialFolder) {
    if (owner) RaiseWithoutStayingOnTop(owner);
    const BrowseAnswer answer = BrowseForFolder(owner, kBrowseTitle, initialFolder);
    // The copy tool's boxes have no owner and stay on top.
    if (answer.nameInvalid) ShowMessage(nullptr, MB_ICONWARNING, kSelectedFolderMissing);
    return answer;
}
