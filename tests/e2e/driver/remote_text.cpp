#include "remote_text.h"

#include <string>

RemoteText::RemoteText(HWND window, std::wstring_view text) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    process_.reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid));
    if (!process_) return;
    const std::wstring terminated(text);
    const SIZE_T bytes = (terminated.size() + 1) * sizeof(wchar_t);
    address_ = ::VirtualAllocEx(process_.get(), nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (address_ && !::WriteProcessMemory(process_.get(), address_, terminated.c_str(), bytes, nullptr)) {
        ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
        address_ = nullptr;
    }
}

RemoteText::~RemoteText() {
    if (address_) ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
}
