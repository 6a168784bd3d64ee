#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "kernel_objects.h"
#include "setting_window_lock.h"

namespace {

std::wstring UniqueName(std::wstring_view what) {
    return L"VARO_TEST_" + std::wstring(what) + L"_" + std::to_wstring(::GetCurrentProcessId());
}

// The first window's start: holds the lock on a thread of its own (a mutex
// admits its owner's thread again) until told to close.
class FirstWindow {
public:
    explicit FirstWindow(const std::wstring& name)
        : thread_([this, name] {
              const SettingWindowLock lock(name, {});
              held_ = lock.held();
              opened_.test_and_set();
              opened_.notify_all();
              closing_.wait(false);
          }) {
        opened_.wait(false);
    }
    ~FirstWindow() { Close(); }
    void Close() {
        closing_.test_and_set();
        closing_.notify_all();
        if (thread_.joinable()) thread_.join();
    }
    bool held() const { return held_; }

private:
    std::atomic<bool> held_ = false;
    std::atomic_flag opened_;
    std::atomic_flag closing_;
    std::thread thread_;
};

// A top-level window marked as the installation's, as the first start's dialog is.
class MarkedWindow {
public:
    explicit MarkedWindow(const std::wstring& name)
        : name_(name),
          window_(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr)) {
        MarkSettingWindow(window_, name_);
    }
    ~MarkedWindow() {
        UnmarkSettingWindow(window_, name_);
        ::DestroyWindow(window_);
    }
    HWND get() const { return window_; }

private:
    std::wstring name_;
    HWND window_;
};

}  // namespace

// The end-to-end tests show a second start giving way and a start of the
// copy tool waiting for the open window; this one, what they cannot: the
// wait ends when the copy tool ends.
TEST(SettingWindowLock, AWaitingStartEndsWhenTheCopyToolHasGone) {
    const std::wstring name = SettingWindowName(L"_lock_gone_" + std::to_wstring(::GetCurrentProcessId()));
    const std::wstring key = UniqueName(L"LOCK_GONE_COPY_TOOL");
    UniqueKernelHandle copyToolBlock = CreateSharedBlock(key);
    FirstWindow first(name);
    ASSERT_TRUE(first.held());
    const MarkedWindow window(name);
    EXPECT_EQ(FindSettingWindow(name), window.get());

    std::atomic<int> outcome = -1;
    std::thread handOff([&] { outcome = SettingWindowLock(name, {true, key}).held() ? 1 : 0; });
    ::Sleep(600);
    EXPECT_EQ(outcome, -1);
    copyToolBlock.reset();  // the copy tool ends
    handOff.join();
    EXPECT_EQ(outcome, 0);
}
