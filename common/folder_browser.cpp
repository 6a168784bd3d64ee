#include "folder_browser.h"

#include <shlobj.h>

#include "handles.h"
#include "window_order.h"

namespace {

struct BrowseState {
    const std::wstring* initialFolder;
    bool nameInvalid = false;
};

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    auto* state = reinterpret_cast<BrowseState*>(data);
    if (message == BFFM_INITIALIZED && !state->initialFolder->empty())
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(state->initialFolder->c_str()));
    // Without an owner nothing keeps the browser above the caller's windows.
    if (message == BFFM_INITIALIZED && !::GetWindow(dialog, GW_OWNER)) RaiseWithoutStayingOnTop(dialog);
    // Returning 0 after a failed validation closes the browser.
    if (message == BFFM_VALIDATEFAILEDW) state->nameInvalid = true;
    return 0;
}

}  // namespace

BrowseAnswer BrowseForFolder(HWND owner, const MessagePair& title, const std::wstring& initialFolder) {
    ScopedCom com;  // the new-style browser needs COM on this thread
    const std::wstring caption(Pick(title));
    BrowseState state{&initialFolder};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = caption.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&state);
    UniqueCoTaskMem list(::SHBrowseForFolderW(&info));

    BrowseAnswer answer;
    if (state.nameInvalid) {
        answer.nameInvalid = true;
        return answer;
    }
    wchar_t path[MAX_PATH] = {};
    if (list && ::SHGetPathFromIDListW(static_cast<PCIDLIST_ABSOLUTE>(list.get()), path)) answer.folder = path;
    return answer;
}
