#include "kernel_objects.h"

#include <sddl.h>

#include <cstring>

#include "step_trace.h"

namespace {

// Full access for the current user and SYSTEM, nobody else. Both an elevated
// and a normal process of the user carry the user's SID, so both can open it.
class UserOnlySecurity {
public:
    UserOnlySecurity() {
        const std::wstring sddl = L"D:P(A;;GA;;;" + CurrentUserSid() + L")(A;;GA;;;SY)";
        // On failure the descriptor stays empty and the object gets the default one.
        ::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, descriptor_.put(),
                                                               nullptr);
        attributes_.nLength = sizeof attributes_;
        attributes_.lpSecurityDescriptor = descriptor_.get();
        attributes_.bInheritHandle = FALSE;
    }
    SECURITY_ATTRIBUTES* get() { return &attributes_; }

private:
    static std::wstring CurrentUserSid() {
        UniqueKernelHandle token;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return L"OW";
        DWORD size = 0;
        ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
        std::string buffer(size, '\0');
        if (size == 0 || !::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return L"OW";
        UniqueLocalPointer<wchar_t> text;
        if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, text.put())) return L"OW";
        return text.get();
    }

    UniqueLocalMem descriptor_;
    SECURITY_ATTRIBUTES attributes_{};
};

void Record(const BlockSteps* steps, int index, DWORD error) {
    if (steps) RecordStep(steps->ids[index], steps->codes[index], error);
}

bool CopyIntoView(HANDLE mapping, DWORD access, const BlockSteps* steps, void* out, const void* in) {
    void* view = ::MapViewOfFile(mapping, access, 0, 0, kSharedBlockBytes);
    if (!view) {
        Record(steps, 1, ::GetLastError());
        return false;
    }
    if (out) std::memcpy(out, view, kSharedBlockBytes);
    if (in) std::memcpy(view, in, kSharedBlockBytes);
    if (!::UnmapViewOfFile(view)) {
        Record(steps, 2, ::GetLastError());
        return false;
    }
    return true;
}

}  // namespace

UniqueKernelHandle CreateSharedBlock(std::wstring_view name, const BlockSteps* steps) {
    UserOnlySecurity security;
    const std::wstring objectName(name);
    UniqueKernelHandle mapping(::CreateFileMappingW(INVALID_HANDLE_VALUE, security.get(), PAGE_READWRITE, 0,
                                                    kSharedBlockBytes, objectName.c_str()));
    if (!mapping) {
        Record(steps, 0, ::GetLastError());
        return {};
    }
    const std::array<wchar_t, kSharedBlockBytes / 2> zeros{};
    if (!CopyIntoView(mapping.get(), FILE_MAP_WRITE, steps, nullptr, zeros.data())) return {};
    return mapping;
}

std::optional<std::wstring> ReadSharedBlock(std::wstring_view name, const BlockSteps* steps) {
    const std::wstring objectName(name);
    UniqueKernelHandle mapping(::OpenFileMappingW(FILE_MAP_READ, FALSE, objectName.c_str()));
    if (!mapping) {
        Record(steps, 0, ::GetLastError());
        return std::nullopt;
    }
    std::array<wchar_t, kSharedBlockBytes / 2> text{};
    if (!CopyIntoView(mapping.get(), FILE_MAP_READ, steps, text.data(), nullptr)) return std::nullopt;
    text.back() = L'\0';
    return std::wstring(text.data());
}

bool WriteSharedBlock(std::wstring_view name, std::wstring_view text, const BlockSteps* steps) {
    const std::wstring objectName(name);
    UniqueKernelHandle mapping(::OpenFileMappingW(FILE_MAP_WRITE, FALSE, objectName.c_str()));
    if (!mapping) {
        Record(steps, 0, ::GetLastError());
        return false;
    }
    std::array<wchar_t, kSharedBlockBytes / 2> block{};
    text.copy(block.data(), block.size() - 1);
    return CopyIntoView(mapping.get(), FILE_MAP_WRITE, steps, nullptr, block.data());
}

UniqueKernelHandle CreateExchangeEvent(std::wstring_view name) {
    UserOnlySecurity security;
    const std::wstring objectName(name);
    return UniqueKernelHandle(::CreateEventW(security.get(), TRUE, FALSE, objectName.c_str()));
}

UniqueKernelHandle OpenExchangeEvent(std::wstring_view name) {
    const std::wstring objectName(name);
    return UniqueKernelHandle(::OpenEventW(EVENT_ALL_ACCESS, FALSE, objectName.c_str()));
}

bool SharedBlockExists(std::wstring_view name) {
    const std::wstring objectName(name);
    return UniqueKernelHandle(::OpenFileMappingW(FILE_MAP_READ, FALSE, objectName.c_str())).valid();
}

UniqueKernelHandle CreateSingleInstanceMutex(std::wstring_view name, bool& alreadyRunning) {
    UserOnlySecurity security;
    const std::wstring objectName(name);
    UniqueKernelHandle mutex(::CreateMutexW(security.get(), TRUE, objectName.c_str()));
    // A mutex of another user cannot be opened: that counts as running too.
    alreadyRunning = !mutex || ::GetLastError() == ERROR_ALREADY_EXISTS;
    return mutex;
}
