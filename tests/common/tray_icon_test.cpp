#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tray_icon.h"

namespace {

struct NotifyCall {
    DWORD action;
    HWND window;
    UINT id;
    UINT callbackMessage;
    std::wstring tip;
};

// Records every Shell_NotifyIconW call; NIM_ADD answers `addAccepted`.
class NotifyRecorder {
public:
    NotifyRecorder() {
        SetNotifyIconHook([this](DWORD action, const NOTIFYICONDATAW& data) {
            calls.push_back({action, data.hWnd, data.uID, data.uCallbackMessage, data.szTip});
            return action == NIM_ADD ? addAccepted : TRUE;
        });
    }
    ~NotifyRecorder() { SetNotifyIconHook({}); }
    NotifyRecorder(const NotifyRecorder&) = delete;
    NotifyRecorder& operator=(const NotifyRecorder&) = delete;

    std::vector<DWORD> Actions() const {
        std::vector<DWORD> actions;
        for (const NotifyCall& call : calls) actions.push_back(call.action);
        return actions;
    }

    std::vector<NotifyCall> calls;
    BOOL addAccepted = TRUE;
};

const HWND kWindow = reinterpret_cast<HWND>(0x4242);
constexpr UINT kCallback = WM_APP + 1;

}  // namespace

TEST(TrayIcon, IsAddedAgainWhenTheTaskbarIsCreatedAgain) {
    NotifyRecorder notify;
    TrayIcon icon;
    icon.Add(kWindow, kCallback, nullptr, L"VaroSelect");
    EXPECT_FALSE(icon.OnTaskbarCreated(WM_APP + 2));
    EXPECT_TRUE(icon.OnTaskbarCreated(TaskbarCreatedMessage()));
    ASSERT_EQ(notify.Actions(), (std::vector<DWORD>{NIM_ADD, NIM_ADD}));
    for (const NotifyCall& call : notify.calls) {
        EXPECT_EQ(call.window, kWindow);
        EXPECT_EQ(call.id, 1u);
        EXPECT_EQ(call.callbackMessage, kCallback);
        EXPECT_EQ(call.tip, L"VaroSelect");
    }
}

TEST(TrayIcon, AnIconStillShownIsUpdatedAndARemovedOneStaysAway) {
    NotifyRecorder notify;
    TrayIcon icon;
    EXPECT_TRUE(icon.OnTaskbarCreated(TaskbarCreatedMessage()));  // not added yet: nothing to show
    icon.Add(kWindow, kCallback, nullptr, L"VaroUAC");
    notify.addAccepted = FALSE;  // the taskbar still has it
    icon.OnTaskbarCreated(TaskbarCreatedMessage());
    icon.Remove();
    icon.Remove();
    icon.OnTaskbarCreated(TaskbarCreatedMessage());
    EXPECT_EQ(notify.Actions(), (std::vector<DWORD>{NIM_ADD, NIM_ADD, NIM_MODIFY, NIM_DELETE}));
}
