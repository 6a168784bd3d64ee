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

// The top-level window of the item's browser. The browser's own window is a
// child of the Explorer frame on current Windows; taking the root gives the
// frame whether or not the browser window is itself top-level.
HWND BrowserFrameWindow(IDispatch* item) {
    ComPtr<IServiceProvider> services;
    if (FAILED(item->QueryInterface(IID_IServiceProvider, services.put_void()))) return nullptr;
    ComPtr<IShellBrowser> browser;
    if (FAILED(services->QueryService(kSidTopLevelBrowser, kIidShellBrowser, browser.put_void()))) return nullptr;
    HWND window = nullptr;
    if (FAILED(browser->GetWindow(&window)) || !window) return nullptr;
    return ::GetAncestor(window, GA_ROOT);
}

// Reads the collection's item at index into records. Returns false when the
// enumeration must stop.
bool AddWindowRecord(IShellWindows* windows, long index, std::vector<ExplorerWindowRecord>& records) {
    VARIANT position;
    ::VariantInit(&position);
    position.vt = VT_I4;
    position.lVal = index;
    ComPtr<IDispatch> item;
    if (FAILED(windows->Item(position, item.put())) || !item) return true;

    const std::optional<std::wstring> url = ReadLocationUrl(item.get());
    if (!url) return false;
    std::optional<std::wstring> folder = LocationUrlToFolder(*url);
    if (!folder) return true;
    // A window that cannot be raised is no use: leave it out, so that a new
    // one is opened instead.
    const HWND window = BrowserFrameWindow(item.get());
    if (!window) return true;

    ExplorerWindowRecord record{std::move(*folder), window, {}};
    record.placement.length = sizeof(record.placement);
    ::GetWindowPlacement(window, &record.placement);
    records.push_back(std::move(record));
    return true;
}

}  // namespace

int EnumerateExplorerWindows(std::vector<ExplorerWindowRecord>& records) {
    records.clear();
    // Declared first, so every interface below is released before COM is.
    const ScopedCom com;
    ComPtr<IShellWindows> windows;
    if (FAILED(::CoCreateInstance(kClsidShellWindows, nullptr, CLSCTX_ALL, kIidShellWindows, windows.put_void())))
        return -1;
    long count = 0;
    if (FAILED(windows->get_Count(&count))) return -1;
    try {
        records.reserve(kRecordBlock);
        for (long index = 0; index < count; ++index) {
            if (!AddWindowRecord(windows.get(), index, records)) return -1;
        }
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return 0;
}

const ExplorerWindowRecord* FindFolderWindow(const std::vector<ExplorerWindowRecord>& records,
                                             std::wstring_view folder) {
    for (const ExplorerWindowRecord& record : records) {
        if (EqualsNoCase(record.path, folder)) return &record;
    }
    return nullptr;
}
