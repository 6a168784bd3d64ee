// A fresh registry key under HKEY_CURRENT_USER that stands in for the
// classes root, deleted with everything below it when the object goes away.
#pragma once

#include <windows.h>

#include <string>

class TestClassesRoot {
public:
    TestClassesRoot() {
        path_ = L"Software\\VaroTest\\" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                std::to_wstring(::GetTickCount64());
        ::RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &key_, nullptr);
    }
    ~TestClassesRoot() {
        ::RegCloseKey(key_);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }
    TestClassesRoot(const TestClassesRoot&) = delete;
    TestClassesRoot& operator=(const TestClassesRoot&) = delete;

    HKEY get() const { return key_; }

    // A REG_SZ value's text, or "<missing>".
    std::wstring Text(const std::wstring& subkey, const wchar_t* name) const {
        wchar_t buffer[1024] = {};
        DWORD size = sizeof buffer;
        if (::RegGetValueW(key_, subkey.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
            return L"<missing>";
        return buffer;
    }
    // The stored size of a value in bytes; 0 when it is missing.
    DWORD Size(const std::wstring& subkey, const wchar_t* name) const {
        DWORD size = 0;
        if (::RegGetValueW(key_, subkey.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, nullptr, nullptr, &size) !=
            ERROR_SUCCESS)
            return 0;
        return size;
    }
    bool HasKey(const std::wstring& subkey) const {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(key_, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        ::RegCloseKey(key);
        return true;
    }
    void MakeKey(const std::wstring& subkey) const {
        HKEY key = nullptr;
        ::RegCreateKeyExW(key_, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        ::RegCloseKey(key);
    }

private:
    std::wstring path_;
    HKEY key_ = nullptr;
};
