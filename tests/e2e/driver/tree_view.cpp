#include "tree_view.h"

#include "remote_memory.h"

namespace {

constexpr UINT kSendTimeoutMs = 5000;
// Expanding a folder enumerates it; a large one takes a while.
constexpr UINT kExpandTimeoutMs = 30000;
constexpr int kMaxItemChars = 520;

LRESULT SendToTree(HWND tree, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs = kSendTimeoutMs) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(tree, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

HTREEITEM NextItem(HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(SendToTree(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Reads item texts through one record and text buffer in the tree's process.
class ItemTextReader {
public:
    explicit ItemTextReader(HWND tree) : tree_(tree), remote_(tree, kTextOffset + kMaxItemChars * sizeof(wchar_t)) {}

    std::wstring Read(HTREEITEM item) const {
        if (!remote_.valid()) return {};
        TVITEMW request = {};
        request.mask = TVIF_TEXT | TVIF_HANDLE;
        request.hItem = item;
        request.pszText = reinterpret_cast<wchar_t*>(remote_.address() + kTextOffset);
        request.cchTextMax = kMaxItemChars;
        const wchar_t empty = L'\0';
        if (!remote_.Write(0, &request, sizeof request) || !remote_.Write(kTextOffset, &empty, sizeof empty)) return {};
        if (!SendToTree(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote_.address()))) return {};
        std::wstring text(kMaxItemChars, L'\0');
        if (!remote_.Read(kTextOffset, text.data(), text.size() * sizeof(wchar_t))) return {};
        text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
        return text;
    }

private:
    static constexpr std::size_t kTextOffset = sizeof(TVITEMW);
    HWND tree_;
    RemoteMemory remote_;
};

}  // namespace

std::vector<TreeItem> TreeChildren(HWND tree, HTREEITEM item) {
    std::vector<TreeItem> children;
    HTREEITEM child = nullptr;
    if (item) {
        SendToTree(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item), kExpandTimeoutMs);
        child = NextItem(tree, TVGN_CHILD, item);
    } else {
        child = NextItem(tree, TVGN_ROOT, nullptr);
    }
    const ItemTextReader reader(tree);
    for (; child; child = NextItem(tree, TVGN_NEXT, child)) children.push_back({child, reader.Read(child)});
    return children;
}

std::vector<TreeItem> TreeSelectionPath(HWND tree) {
    std::vector<TreeItem> path;
    const ItemTextReader reader(tree);
    for (HTREEITEM item = NextItem(tree, TVGN_CARET, nullptr); item; item = NextItem(tree, TVGN_PARENT, item))
        path.push_back({item, reader.Read(item)});
    return path;
}

bool SelectTreeItem(HWND tree, HTREEITEM item) {
    if (!SendToTree(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item))) return false;
    SendToTree(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    return true;
}
