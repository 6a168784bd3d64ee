#include "shell_start.h"

#include <windows.h>
#include <exdisp.h>
#include <oleauto.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "handles.h"

namespace {

// A VARIANT that owns what it holds.
class OwnedVariant {
public:
    explicit OwnedVariant(const std::wstring& text) {
        ::VariantInit(&value_);
        value_.vt = VT_BSTR;
        value_.bstrVal = ::SysAllocString(text.c_str());
    }
    explicit OwnedVariant(long number) {
        ::VariantInit(&value_);
        value_.vt = VT_I4;
        value_.lVal = number;
    }
    ~OwnedVariant() { ::VariantClear(&value_); }
    OwnedVariant(const OwnedVariant&) = delete;
    OwnedVariant& operator=(const OwnedVariant&) = delete;
    VARIANT get() const { return value_; }

private:
    VARIANT value_;
};

// The shell's own dispatch object, reached from the desktop window's view.
ComPtr<IShellDispatch2> DesktopShellDispatch() {
    ComPtr<IShellWindows> windows;
    if (FAILED(::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                  windows.put_void())))
        return {};
    VARIANT location;
    ::VariantInit(&location);
    long window = 0;
    ComPtr<IDispatch> desktop;
    if (windows->FindWindowSW(&location, &location, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.put()) != S_OK ||
        !desktop)
        return {};
    ComPtr<IServiceProvider> services;
    if (FAILED(desktop->QueryInterface(IID_IServiceProvider, services.put_void()))) return {};
    ComPtr<IShellBrowser> browser;
    if (FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put_void()))) return {};
    ComPtr<IShellView> view;
    if (FAILED(browser->QueryActiveShellView(view.put())) || !view) return {};
    ComPtr<IDispatch> background;
    if (FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.put_void()))) return {};
    ComPtr<IShellFolderViewDual> folderView;
    if (FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.put_void()))) return {};
    ComPtr<IDispatch> application;
    if (FAILED(folderView->get_Application(application.put())) || !application) return {};
    ComPtr<IShellDispatch2> shell;
    if (FAILED(application->QueryInterface(IID_IShellDispatch2, shell.put_void()))) return {};
    return shell;
}

}  // namespace

bool StartThroughDesktopShell(const std::wstring& file, const std::wstring& folder) {
    const ScopedCom com;
    if (!com.ok()) return false;
    const ComPtr<IShellDispatch2> shell = DesktopShellDispatch();
    if (!shell) return false;
    BSTR program = ::SysAllocString(file.c_str());
    if (!program) return false;
    const OwnedVariant arguments{std::wstring()}, directory{folder}, verb{std::wstring(L"open")};
    const OwnedVariant show{static_cast<long>(SW_SHOWNORMAL)};
    const HRESULT started = shell->ShellExecute(program, arguments.get(), directory.get(), verb.get(), show.get());
    ::SysFreeString(program);
    return SUCCEEDED(started);
}
