#include "list_controls.h"

#include <commctrl.h>
#include <shlobj.h>

#include "remote_memory.h"

namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr int kMaxItemChars = 8200;

std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

std::wstring ReadText(const RemoteMemory& remote, std::size_t offset) {
    std::wstring text(kMaxItemChars, L'\0');
    if (!remote.Read(offset, text.data(), text.size() * sizeof(wchar_t))) return {};
    text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
    return text;
}

}  // namespace

std::optional<std::vector<ListViewRow>> ListViewRows(HWND list) {
    const auto count = Send(list, LVM_GETITEMCOUNT, 0, 0);
    constexpr std::size_t kTextOffset = sizeof(LVITEMW);
    RemoteMemory remote(list, kTextOffset + kMaxItemChars * sizeof(wchar_t));
    if (!count || !remote.valid()) return std::nullopt;
    std::vector<ListViewRow> rows;
    for (int row = 0; row < *count; ++row) {
        LVITEMW request{};
        request.iSubItem = 0;
        request.pszText = reinterpret_cast<wchar_t*>(remote.address() + kTextOffset);
        request.cchTextMax = kMaxItemChars;
        const wchar_t empty = L'\0';
        if (!remote.Write(0, &request, sizeof request) || !remote.Write(kTextOffset, &empty, sizeof empty))
            return std::nullopt;
        if (!Send(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.address()))) return std::nullopt;
        const auto state = Send(list, LVM_GETITEMSTATE, row, LVIS_SELECTED | LVIS_FOCUSED).value_or(0);
        rows.push_back({ReadText(remote, kTextOffset), (state & LVIS_SELECTED) != 0, (state & LVIS_FOCUSED) != 0});
    }
    return rows;
}

bool SetListViewSelection(HWND list, int row, bool selected) {
    RemoteMemory remote(list, sizeof(LVITEMW));
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    if (!remote.Write(0, &state, sizeof state)) return false;
    return Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.address()))
        .value_or(FALSE);
}

// CB_GETLBTEXT is one of the messages the system carries across processes,
// so a buffer of the driver serves.
std::optional<std::vector<std::wstring>> ComboItems(HWND combo) {
    const auto count = Send(combo, CB_GETCOUNT, 0, 0);
    if (!count || *count < 0) return std::nullopt;
    std::vector<std::wstring> items;
    for (int index = 0; index < *count; ++index) {
        const auto length = Send(combo, CB_GETLBTEXTLEN, index, 0);
        if (!length || *length < 0) return std::nullopt;
        std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
        const auto copied = Send(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        if (!copied || *copied < 0) return std::nullopt;
        text.resize(static_cast<std::size_t>(*copied));
        items.push_back(std::move(text));
    }
    return items;
}

bool DropFiles(HWND target, const std::vector<std::wstring>& paths) {
    // DROPFILES, then each path with its terminator, then one more terminator.
    std::wstring names;
    for (const std::wstring& path : paths) names.append(path).push_back(L'\0');
    names.push_back(L'\0');
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    const std::size_t size = sizeof header + names.size() * sizeof(wchar_t);
    // The target releases the block with DragFinish; the system copes with a
    // block it did not allocate, and the driver frees it after the message.
    RemoteMemory remote(target, size);
    if (!remote.Write(0, &header, sizeof header) || !remote.Write(sizeof header, names.data(), size - sizeof header))
        return false;
    return Send(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote.address()), 0).has_value();
}
