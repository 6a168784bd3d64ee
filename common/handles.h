// Small owners for Win32 handles: each closes what it holds exactly once.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <utility>

// A move-only owner of one handle value; Traits says what counts as empty and
// how the value is released.
template <typename Traits>
class UniqueHandle {
public:
    using Value = typename Traits::Value;

    UniqueHandle() = default;
    explicit UniqueHandle(Value value) : value_(value) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    [[nodiscard]] Value get() const { return value_; }
    [[nodiscard]] bool valid() const { return !Traits::IsEmpty(value_); }
    explicit operator bool() const { return valid(); }

    Value release() { return std::exchange(value_, Traits::Empty()); }
    // For out-parameters of creating calls; releases what was held.
    Value* put() {
        reset();
        return &value_;
    }
    void reset(Value value = Traits::Empty()) {
        if (valid()) Traits::Close(value_);
        value_ = value;
    }

private:
    Value value_ = Traits::Empty();
};

struct KernelHandleTraits {
    using Value = HANDLE;
    static Value Empty() { return nullptr; }
    // CreateFile and friends report failure as INVALID_HANDLE_VALUE, others as NULL.
    static bool IsEmpty(Value v) { return v == nullptr || v == INVALID_HANDLE_VALUE; }
    static void Close(Value v) { ::CloseHandle(v); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

struct FindHandleTraits {
    using Value = HANDLE;
    static Value Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsEmpty(Value v) { return v == nullptr || v == INVALID_HANDLE_VALUE; }
    static void Close(Value v) { ::FindClose(v); }
};
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

struct MappedViewTraits {
    using Value = void*;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value v) { return v == nullptr; }
    static void Close(Value v) { ::UnmapViewOfFile(v); }
};
using UniqueMappedView = UniqueHandle<MappedViewTraits>;

struct ModuleTraits {
    using Value = HMODULE;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value v) { return v == nullptr; }
    static void Close(Value v) { ::FreeLibrary(v); }
};
using UniqueModule = UniqueHandle<ModuleTraits>;

struct RegKeyTraits {
    using Value = HKEY;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value v) { return v == nullptr; }
    static void Close(Value v) { ::RegCloseKey(v); }
};
using UniqueRegKey = UniqueHandle<RegKeyTraits>;

struct GdiObjectTraits {
    using Value = HGDIOBJ;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value v) { return v == nullptr; }
    static void Close(Value v) { ::DeleteObject(v); }
};
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;

// A window's device context (the screen's for none), given back when the owner ends.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    [[nodiscard]] HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A thread's message hook, removed when the owner ends.
struct HookTraits {
    using Value = HHOOK;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value v) { return v == nullptr; }
    static void Close(Value v) { ::UnhookWindowsHookEx(v); }
};
using UniqueHook = UniqueHandle<HookTraits>;

struct CoTaskMemTraits {
    using Value = void*;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value v) { return v == nullptr; }
    static void Close(Value v) { ::CoTaskMemFree(v); }
};
using UniqueCoTaskMem = UniqueHandle<CoTaskMemTraits>;

// Memory the system allocated for the caller with LocalAlloc, typed as what it holds.
template <typename T>
struct LocalPointerTraits {
    using Value = T*;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value v) { return v == nullptr; }
    static void Close(Value v) { ::LocalFree(v); }
};
template <typename T>
using UniqueLocalPointer = UniqueHandle<LocalPointerTraits<T>>;
using UniqueLocalMem = UniqueLocalPointer<void>;

// The process's environment block from GetEnvironmentStringsW.
struct EnvironmentStringsTraits {
    using Value = wchar_t*;
    static Value Empty() { return nullptr; }
    static bool IsEmpty(Value v) { return v == nullptr; }
    static void Close(Value v) { ::FreeEnvironmentStringsW(v); }
};
using UniqueEnvironmentStrings = UniqueHandle<EnvironmentStringsTraits>;

// The process and thread handles that CreateProcessW hands back.
class UniqueProcessInformation {
public:
    UniqueProcessInformation() = default;
    ~UniqueProcessInformation() { reset(); }
    UniqueProcessInformation(const UniqueProcessInformation&) = delete;
    UniqueProcessInformation& operator=(const UniqueProcessInformation&) = delete;

    [[nodiscard]] HANDLE process() const { return info_.hProcess; }
    [[nodiscard]] HANDLE thread() const { return info_.hThread; }
    [[nodiscard]] DWORD processId() const { return info_.dwProcessId; }
    // For the out-parameter of CreateProcessW; closes what was held.
    PROCESS_INFORMATION* put() {
        reset();
        return &info_;
    }
    void reset() {
        if (info_.hThread) ::CloseHandle(info_.hThread);
        if (info_.hProcess) ::CloseHandle(info_.hProcess);
        info_ = {};
    }

private:
    PROCESS_INFORMATION info_{};
};

// Calls CoUninitialize only when CoInitialize succeeded on this thread.
class ScopedCom {
public:
    ScopedCom() : initialized_(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ScopedCom() {
        if (initialized_) ::CoUninitialize();
    }
    ScopedCom(const ScopedCom&) = delete;
    ScopedCom& operator=(const ScopedCom&) = delete;
    [[nodiscard]] bool ok() const { return initialized_; }

private:
    bool initialized_;
};

// Owns one COM interface pointer.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters of creating calls; releases what was held.
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

// Owns one VARIANT: clearing it frees a held text (BSTR) or interface.
// Users link oleaut32.
class UniqueVariant {
public:
    UniqueVariant() { ::VariantInit(&value_); }
    ~UniqueVariant() { ::VariantClear(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    const VARIANT& get() const { return value_; }
    // For out-parameters; clears what was held.
    VARIANT* put() {
        ::VariantClear(&value_);
        return &value_;
    }

private:
    VARIANT value_;
};
