// A copy of a text in another process's memory, for messages whose pointer
// argument the system does not carry across processes (BFFM_SETSELECTIONW).
#pragma once

#include <string_view>

#include <windows.h>

#include "handles.h"

class RemoteText {
public:
    // Copies text with its terminator into the process that owns `window`;
    // check valid() before use.
    RemoteText(HWND window, std::wstring_view text);
    ~RemoteText();
    RemoteText(const RemoteText&) = delete;
    RemoteText& operator=(const RemoteText&) = delete;

    [[nodiscard]] bool valid() const { return address_ != nullptr; }
    [[nodiscard]] LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }

private:
    UniqueKernelHandle process_;
    void* address_ = nullptr;
};
