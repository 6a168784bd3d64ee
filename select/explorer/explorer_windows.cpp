#include "explorer/explorer_windows.h"

#include <exdisp.h>
#include <servprov.h>
#include <shlobj.h>

#include <new>
#include <optional>

#include "explorer/file_url.h"
#include "handles.h"
#include "text.h"

namespace {

// The shell's collection of open Explorer (and browser) windows.
constexpr GUID kClsidShellWindows = {0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};
constexpr GUID kIidShellWindows = {0x85CB6900, 0x4D95, 0x11CF, {0x96, 0x0C, 0x00, 0x80, 0xC7, 0xF4, 0xEE, 0x85}};
// The service that names a window's top-level browser, and its interface.
constexpr GUID kSidTopLevelBrowser = {0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};
constexpr GUID kIidShellBrowser = {0x000214E2, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr std::size_t kRecordBlock = 256;

// The item's "LocationURL" property; nothing when it cannot be read. A value
// that is not text counts as an empty location.
std::optional<std::wstring> ReadLocationUrl(IDispatch* item) {
    wchar_t name[] = L"LocationURL";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    if (FAILED(item->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return std::nullopt;
    DISPPARAMS noArguments = {};
    UniqueVariant value;
    if (FAILED(item->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &noArguments, value.put(), nullptr,
                            nullptr)))
        return std::nullopt;
    if (value.get().vt != VT_BSTR || !value.get().bstrVal) return std::wstring();
    return std::wstring(value.get().bstrVal, ::SysStringLen(value.get().bstrVal));
}

// The item's browser window (a tab's own window on Windows with tabs) and
// its top-level window. The browser's window is a child of the Explorer
// frame on current Windows; taking the root gives the frame whether or not
// the browser window is itself top-level. Nothing when the item has no
// browser.
std::optional<ShellView> BrowserView(IDispatch* item) {
    ComPtr<IServiceProvider> services;
    if (FAILED(item->QueryInterface(IID_IServiceProvider, services.put_void()))) return std::nullopt;
    ComPtr<IShellBrowser> browser;
    if (FAILED(services->QueryService(kSidTopLevelBrowser, kIidShellBrowser, browser.put_void()))) return std::nullopt;
    HWND window = nullptr;
    if (FAILED(browser->GetWindow(&window)) || !window) return std::nullopt;
    const HWND frame = ::GetAncestor(window, GA_ROOT);
    if (!frame) return std::nullopt;
    return ShellView{frame, window, ::IsWindowVisible(window) != FALSE};
}

struct ListedEntry {
    ExplorerWindowRecord record;
    ShellView view;
};

// Reads the collection's item at index into entries: every entry that has
// a window counts for the tabs of its frame, only file folders become
// records. Returns false when the enumeration must stop.
bool AddWindowEntry(IShellWindows* windows, long index, std::vector<ShellView>& views,
                    std::vector<ListedEntry>& entries) {
    VARIANT position;
    ::VariantInit(&position);
    position.vt = VT_I4;
    position.lVal = index;
    ComPtr<IDispatch> item;
    if (FAILED(windows->Item(position, item.put())) || !item) return true;

    const std::optional<std::wstring> url = ReadLocationUrl(item.get());
    if (!url) return false;
    // A window that cannot be raised is no use: leave it out, so that a new
    // one is opened instead.
    const std::optional<ShellView> view = BrowserView(item.get());
    if (!view) return true;
    views.push_back(*view);
    std::optional<std::wstring> folder = LocationUrlToFolder(*url);
    if (!folder) return true;

    ExplorerWindowRecord record{std::move(*folder), view->frame, {}};
    record.placement.length = sizeof(record.placement);
    ::GetWindowPlacement(view->frame, &record.placement);
    entries.push_back({std::move(record), *view});
    return true;
}

// Whether the collection was read to its end; what was found is kept
// either way.
bool ListEntries(IShellWindows* windows, std::vector<ShellView>& views, std::vector<ListedEntry>& entries) {
    long count = 0;
    if (FAILED(windows->get_Count(&count))) return false;
    entries.reserve(kRecordBlock);
    for (long index = 0; index < count; ++index) {
        if (!AddWindowEntry(windows, index, views, entries)) return false;
    }
    return true;
}

}  // namespace

int EnumerateExplorerWindows(std::vector<ExplorerWindowRecord>& records) {
    records.clear();
    std::vector<ShellView> views;
    std::vector<ListedEntry> entries;
    bool whole = false;
    try {
        // Declared first, so every interface below is released before COM is.
        const ScopedCom com;
        ComPtr<IShellWindows> windows;
        if (FAILED(::CoCreateInstance(kClsidShellWindows, nullptr, CLSCTX_ALL, kIidShellWindows, windows.put_void())))
            return -1;
        whole = ListEntries(windows.get(), views, entries);
        // Tabs are told apart only once every entry of a frame is known.
        records.reserve(entries.size());
        for (ListedEntry& entry : entries) {
            entry.record.inFront = ShowsInFront(views, entry.view);
            records.push_back(std::move(entry.record));
        }
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return whole ? 0 : -1;
}

bool ShowsInFront(const std::vector<ShellView>& views, const ShellView& own) {
    bool alone = true;
    bool otherShown = false;
    for (const ShellView& view : views) {
        if (view.frame != own.frame || view.view == own.view) continue;
        alone = false;
        otherShown |= view.visible;
    }
    return alone || (own.visible && !otherShown);
}

const ExplorerWindowRecord* FindFolderWindow(const std::vector<ExplorerWindowRecord>& records,
                                             std::wstring_view folder) {
    for (const ExplorerWindowRecord& record : records) {
        if (record.inFront && EqualsNoCase(record.path, folder)) return &record;
    }
    return nullptr;
}
