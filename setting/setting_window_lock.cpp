#include "setting_window_lock.h"

#include "kernel_objects.h"

namespace {

// A window that is opening may not be there yet: looked for this long.
constexpr int kFindAttempts = 50;
constexpr DWORD kFindPauseMs = 100;
// A waiting hand-off start looks this often whether the copy tool is still there.
constexpr DWORD kPartnerCheckMs = 200;

struct Search {
    const std::wstring* name;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    if (!::GetPropW(window, search.name->c_str())) return TRUE;
    search.found = window;
    return FALSE;
}

bool Acquired(DWORD waited) {
    // An abandoned lock was held by a window that ended without closing: free now.
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

}  // namespace

std::wstring SettingWindowName(std::wstring_view instanceSuffix) {
    return L"KESTREL_varo" + std::wstring(instanceSuffix) + L"_SETTING_WINDOW";
}

HWND FindSettingWindow(std::wstring_view name) {
    const std::wstring property(name);
    Search search{&property, nullptr};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void MarkSettingWindow(HWND dialog, std::wstring_view name) {
    const std::wstring property(name);
    ::SetPropW(dialog, property.c_str(), reinterpret_cast<HANDLE>(1));
}

void UnmarkSettingWindow(HWND dialog, std::wstring_view name) {
    const std::wstring property(name);
    ::RemovePropW(dialog, property.c_str());
}

void BringSettingWindowForward(HWND window) {
    if (::IsIconic(window)) ::ShowWindow(window, SW_RESTORE);
    ::SetForegroundWindow(window);
}

SettingWindowLock::SettingWindowLock(std::wstring_view name, const HandOffRequest& handOff)
    : mutex_(CreateSharedMutex(name)) {
    // Without a lock object the window opens as it always did.
    if (!mutex_) {
        held_ = true;
        return;
    }
    // The other window may still be opening, or closing: until it is found,
    // this start keeps trying for the lock.
    for (int attempt = 0; attempt < kFindAttempts; ++attempt) {
        if (Acquired(::WaitForSingleObject(mutex_.get(), attempt == 0 ? 0 : kFindPauseMs))) {
            held_ = true;
            return;
        }
        if (HWND other = FindSettingWindow(name)) {
            BringSettingWindowForward(other);
            break;
        }
    }
    if (!handOff.handOffMode) return;
    while (!held_) {
        held_ = Acquired(::WaitForSingleObject(mutex_.get(), kPartnerCheckMs));
        if (!held_ && !SharedBlockExists(handOff.key)) return;
    }
}

SettingWindowLock::~SettingWindowLock() {
    if (held_ && mutex_) ::ReleaseMutex(mutex_.get());
}
