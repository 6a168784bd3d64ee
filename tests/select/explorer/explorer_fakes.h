// Stand-ins for Explorer in the unit tests: plain windows, and a shell window
// collection registered in the test process in place of the shell's.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "explorer/explorer_windows.h"

// A visible top-level window with one child, destroyed with the object.
class TestWindow {
public:
    TestWindow();
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND frame() const { return frame_; }
    HWND child() const { return child_; }
    // Another child, as a second tab's view: shown or hidden.
    HWND AddChild(bool visible);
    bool IsTopmost() const;
    // A record of the frame as the enumeration makes it.
    ExplorerWindowRecord AsRecord(std::wstring path) const;

private:
    HWND frame_;
    HWND child_;
};

class FakeCollection;
class FakeFactory;

// One window of the fake collection.
struct FakeWindow {
    std::wstring locationUrl;
    HWND browserWindow = nullptr;   // none: the item offers no top-level browser
    bool itemFails = false;         // the collection cannot hand out the item
    bool locationFails = false;     // "LocationURL" cannot be read
    int listedFromEnumeration = 1;  // first enumeration (counted from 1) that sees it
};

// While it lives, creating the shell's window collection on this thread gives
// this fake. Every interface it hands out is counted, so a test can check
// that all were released.
class FakeShellWindows {
public:
    explicit FakeShellWindows(std::vector<FakeWindow> windows, bool countFails = false);
    ~FakeShellWindows();
    FakeShellWindows(const FakeShellWindows&) = delete;
    FakeShellWindows& operator=(const FakeShellWindows&) = delete;

    bool registered() const { return cookie_ != 0; }
    // How often the collection was created: once per enumeration.
    int enumerations() const;
    // References held on the collection and its items right now.
    long references() const;
    // Every later creation of the collection takes this long, as while the
    // shell is busy.
    void SetLookDelay(DWORD delayMs);

private:
    std::unique_ptr<FakeCollection> collection_;
    std::unique_ptr<FakeFactory> factory_;
    DWORD cookie_ = 0;
};
