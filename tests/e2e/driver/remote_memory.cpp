#include "remote_memory.h"

RemoteMemory::RemoteMemory(HWND window, std::size_t size) : size_(size) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    process_.reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (!process_) return;
    address_ = ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteMemory::~RemoteMemory() {
    if (address_) ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
}

bool RemoteMemory::Write(std::size_t offset, const void* data, std::size_t size) const {
    if (!address_ || offset + size > size_) return false;
    return ::WriteProcessMemory(process_.get(), address() + offset, data, size, nullptr) != FALSE;
}

bool RemoteMemory::Read(std::size_t offset, void* data, std::size_t size) const {
    if (!address_ || offset + size > size_) return false;
    return ::ReadProcessMemory(process_.get(), address() + offset, data, size, nullptr) != FALSE;
}
