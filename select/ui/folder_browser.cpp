#include "ui/folder_browser.h"

#include <shlobj.h>

#include "handles.h"
#include "message_box.h"
#include "window_order.h"

namespace {

constexpr MessagePair kBrowseTitle = {L"コピー先のフォルダを選択して下さい", L"Please Select in which to store."};
constexpr MessagePair kFolderMissing = {L"選択したフォルダは存在しません。", L"Selected folder does not exist."};

struct BrowseState {
    const std::wstring* initialFolder;
    bool nameInvalid = false;
};

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    auto* state = reinterpret_cast<BrowseState*>(data);
    if (message == BFFM_INITIALIZED && !state->initialFolder->empty())
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(state->initialFolder->c_str()));
    if (message == BFFM_VALIDATEFAILEDW) state->nameInvalid = true;
    return 0;
}

}  // namespace

BrowseAnswer BrowseForDestination(HWND owner, const std::wstring& initialFolder) {
    if (owner) RaiseWithoutStayingOnTop(owner);
    ScopedCom com;  // the new-style browser needs COM on this thread
    const std::wstring title(Pick(kBrowseTitle));
    BrowseState state{&initialFolder};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&state);
    UniqueCoTaskMem list(::SHBrowseForFolderW(&info));

    BrowseAnswer answer;
    if (state.nameInvalid) {
        ShowMessage(nullptr, MB_ICONWARNING, kFolderMissing);
        answer.nameInvalid = true;
        return answer;
    }
    wchar_t path[MAX_PATH] = {};
    if (list && ::SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(list.get()), path)) answer.folder = path;
    return answer;
}
