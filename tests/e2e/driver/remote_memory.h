// A block of memory in another process, for messages whose pointer
// arguments the system does not carry across processes (TVM_GETITEMW).
// Both processes are 64-bit, so structures have the same layout.
#pragma once

#include <cstddef>

#include <windows.h>

#include "handles.h"

class RemoteMemory {
public:
    // Reserves `size` bytes in the process that owns `window`; check valid().
    RemoteMemory(HWND window, std::size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    [[nodiscard]] bool valid() const { return address_ != nullptr; }
    [[nodiscard]] char* address() const { return static_cast<char*>(address_); }

    [[nodiscard]] bool Write(std::size_t offset, const void* data, std::size_t size) const;
    [[nodiscard]] bool Read(std::size_t offset, void* data, std::size_t size) const;

private:
    UniqueKernelHandle process_;
    void* address_ = nullptr;
    std::size_t size_ = 0;
};
