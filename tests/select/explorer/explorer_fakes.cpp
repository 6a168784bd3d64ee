#include "explorer_fakes.h"

#include <exdisp.h>
#include <servprov.h>
#include <shlobj.h>

#include <memory>

namespace {

// Written out here from the platform's published values, independently of
// the code under test.
constexpr GUID kClsidShellWindows = {0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};
constexpr GUID kSidTopLevelBrowser = {0x4C96BE40, 0x915C, 0x11CF, {0x99, 0xD3, 0x00, 0xAA, 0x00, 0x4A, 0xE8, 0x37}};
constexpr DISPID kLocationUrlId = 1;

// One window: its dispatch object, its service provider and its browser.
class FakeItem : public IDispatch, public IServiceProvider, public IShellBrowser {
public:
    FakeItem(const FakeWindow& window, long& references) : window_(window), references_(references) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch) *out = static_cast<IDispatch*>(this);
        if (iid == __uuidof(IServiceProvider)) *out = static_cast<IServiceProvider*>(this);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references_); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--references_); }

    // IDispatch: only the "LocationURL" property.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (window_.locationFails || count != 1 || std::wstring(names[0]) != L"LocationURL") return DISP_E_UNKNOWNNAME;
        ids[0] = kLocationUrlId;
        return S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (id != kLocationUrlId || !(flags & DISPATCH_PROPERTYGET) || params->cArgs != 0 || !result)
            return DISP_E_MEMBERNOTFOUND;
        result->vt = VT_BSTR;
        result->bstrVal =
            ::SysAllocStringLen(window_.locationUrl.data(), static_cast<UINT>(window_.locationUrl.size()));
        return S_OK;
    }

    // IServiceProvider: the top-level browser, when the window has one.
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** out) override {
        *out = nullptr;
        if (service != kSidTopLevelBrowser || iid != IID_IShellBrowser || !window_.browserWindow) return E_NOINTERFACE;
        *out = static_cast<IShellBrowser*>(this);
        AddRef();
        return S_OK;
    }

    // IShellBrowser: only the window.
    STDMETHODIMP GetWindow(HWND* window) override {
        *window = window_.browserWindow;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InsertMenusSB(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenuSB(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveMenusSB(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusTextSB(LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP EnableModelessSB(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAcceleratorSB(MSG*, WORD) override { return E_NOTIMPL; }
    STDMETHODIMP BrowseObject(PCUIDLIST_RELATIVE, UINT) override { return E_NOTIMPL; }
    STDMETHODIMP GetViewStateStream(DWORD, IStream**) override { return E_NOTIMPL; }
    STDMETHODIMP GetControlWindow(UINT, HWND*) override { return E_NOTIMPL; }
    STDMETHODIMP SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryActiveShellView(IShellView**) override { return E_NOTIMPL; }
    STDMETHODIMP OnViewWindowActive(IShellView*) override { return E_NOTIMPL; }
    STDMETHODIMP SetToolbarItems(LPTBBUTTONSB, UINT, UINT) override { return E_NOTIMPL; }

    const FakeWindow& window() const { return window_; }

private:
    FakeWindow window_;
    long& references_;
};

}  // namespace

// The collection; it counts every reference to itself and its items.
class FakeCollection : public IShellWindows {
public:
    FakeCollection(const std::vector<FakeWindow>& windows, bool countFails) : countFails_(countFails) {
        for (const FakeWindow& window : windows) items_.push_back(std::make_unique<FakeItem>(window, references_));
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IShellWindows))
            *out = static_cast<IShellWindows*>(this);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references_); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--references_); }

    // Called by the factory for each creation of the collection.
    HRESULT Create(REFIID iid, void** out) {
        ::Sleep(lookDelayMs);
        ++enumerations_;
        return QueryInterface(iid, out);
    }

    // IDispatch: not used by the enumeration.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IShellWindows: the windows listed in the current enumeration.
    STDMETHODIMP get_Count(LONG* count) override {
        if (countFails_) return E_NOTIMPL;
        *count = static_cast<LONG>(Listed().size());
        return S_OK;
    }
    STDMETHODIMP Item(VARIANT index, IDispatch** out) override {
        *out = nullptr;
        const std::vector<FakeItem*> listed = Listed();
        if (index.vt != VT_I4 || index.lVal < 0 || index.lVal >= static_cast<LONG>(listed.size())) return E_INVALIDARG;
        FakeItem* item = listed[static_cast<std::size_t>(index.lVal)];
        if (item->window().itemFails) return S_FALSE;
        *out = static_cast<IDispatch*>(item);
        item->AddRef();
        return S_OK;
    }
    STDMETHODIMP _NewEnum(IUnknown**) override { return E_NOTIMPL; }
    STDMETHODIMP Register(IDispatch*, LONG, int, LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP Revoke(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP OnNavigate(LONG, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP FindWindowSW(VARIANT*, VARIANT*, int, LONG*, int, IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP OnCreated(LONG, IUnknown*) override { return E_NOTIMPL; }
    STDMETHODIMP ProcessAttachDetach(VARIANT_BOOL) override { return E_NOTIMPL; }

    int enumerations() const { return enumerations_; }
    long references() const { return references_; }
    DWORD lookDelayMs = 0;

private:
    std::vector<FakeItem*> Listed() const {
        std::vector<FakeItem*> listed;
        for (const auto& item : items_) {
            if (item->window().listedFromEnumeration <= enumerations_) listed.push_back(item.get());
        }
        return listed;
    }

    bool countFails_;
    long references_ = 0;
    int enumerations_ = 0;
    std::vector<std::unique_ptr<FakeItem>> items_;
};

// Hands out the collection; its own references (held by COM while it is
// registered) are not counted.
class FakeFactory : public IClassFactory {
public:
    explicit FakeFactory(FakeCollection& collection) : collection_(collection) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return collection_.Create(iid, out);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    FakeCollection& collection_;
};

TestWindow::TestWindow()
    : frame_(::CreateWindowExW(0, L"STATIC", L"explorer stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                               nullptr, nullptr, nullptr, nullptr)),
      child_(::CreateWindowExW(0, L"STATIC", L"view", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, frame_, nullptr, nullptr,
                               nullptr)) {}

TestWindow::~TestWindow() {
    ::DestroyWindow(frame_);
}

HWND TestWindow::AddChild(bool visible) {
    return ::CreateWindowExW(0, L"STATIC", L"tab", WS_CHILD | (visible ? WS_VISIBLE : 0), 0, 0, 100, 100, frame_,
                             nullptr, nullptr, nullptr);
}

bool TestWindow::IsTopmost() const {
    return (::GetWindowLongW(frame_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

ExplorerWindowRecord TestWindow::AsRecord(std::wstring path) const {
    ExplorerWindowRecord record{std::move(path), frame_, {}};
    record.placement.length = sizeof(record.placement);
    ::GetWindowPlacement(frame_, &record.placement);
    return record;
}

FakeShellWindows::FakeShellWindows(std::vector<FakeWindow> windows, bool countFails)
    : collection_(std::make_unique<FakeCollection>(windows, countFails)),
      factory_(std::make_unique<FakeFactory>(*collection_)) {
    ::CoRegisterClassObject(kClsidShellWindows, factory_.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
}

FakeShellWindows::~FakeShellWindows() {
    if (cookie_) ::CoRevokeClassObject(cookie_);
}

int FakeShellWindows::enumerations() const {
    return collection_->enumerations();
}

long FakeShellWindows::references() const {
    return collection_->references();
}

void FakeShellWindows::SetLookDelay(DWORD delayMs) {
    collection_->lookDelayMs = delayMs;
}
