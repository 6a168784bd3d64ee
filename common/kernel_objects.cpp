#include "kernel_objects.h"

#include <sddl.h>

#include <cstring>

#include "step_trace.h"

namespace {

// Full access for the current user, the local Administrators group and
// SYSTEM, nobody else. The settings application runs as the user; the
// elevation helper runs as the user's own elevated token, or, when a standard
// user elevates with another administrator's name, as that administrator,
// whose elevated token carries the Administrators group.
class ExchangeSecurity {
public:
    ExchangeSecurity() {
        const std::optional<std::wstring> user = CurrentUserSid();
        if (!user) return;
        const std::wstring sddl = L"D:P(A;;GA;;;" + *user + L")(A;;GA;;;BA)(A;;GA;;;SY)";
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, descriptor_.put(),
                                                                    nullptr))
            return;
        attributes_.nLength = sizeof attributes_;
        attributes_.lpSecurityDescriptor = descriptor_.get();
        attributes_.bInheritHandle = FALSE;
    }
    // None when the descriptor could not be built: the object is then not
    // created at all rather than created with the default access.
    SECURITY_ATTRIBUTES* get() { return descriptor_ ? &attributes_ : nullptr; }

private:
    static std::optional<std::wstring> CurrentUserSid() {
        UniqueKernelHandle token;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return std::nullopt;
        DWORD size = 0;
        ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
        std::string buffer(size, '\0');
        if (size == 0 || !::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size))
            return std::nullopt;
        UniqueLocalPointer<wchar_t> text;
        if (!::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, text.put()))
            return std::nullopt;
        return std::wstring(text.get());
    }

    UniqueLocalMem descriptor_;
    SECURITY_ATTRIBUTES attributes_{};
};

// Creates a named object through `create`; one that exists already (made by
// someone else, with who knows what access) is refused with
// ERROR_ALREADY_EXISTS instead of being shared.
template <typename Create>
UniqueKernelHandle CreateNew(Create create) {
    ExchangeSecurity security;
    if (!security.get()) {
        ::SetLastError(ERROR_INVALID_SECURITY_DESCR);
        return {};
    }
    UniqueKernelHandle object(create(security.get()));
    if (!object) return {};
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return object;
    object.reset();
    ::SetLastError(ERROR_ALREADY_EXISTS);
    return {};
}

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
    const std::wstring objectName(name);
    UniqueKernelHandle mapping = CreateNew([&](SECURITY_ATTRIBUTES* security) {
        return ::CreateFileMappingW(INVALID_HANDLE_VALUE, security, PAGE_READWRITE, 0, kSharedBlockBytes,
                                    objectName.c_str());
    });
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
    const std::wstring objectName(name);
    return CreateNew(
        [&](SECURITY_ATTRIBUTES* security) { return ::CreateEventW(security, TRUE, FALSE, objectName.c_str()); });
}

UniqueKernelHandle OpenExchangeEvent(std::wstring_view name) {
    const std::wstring objectName(name);
    return UniqueKernelHandle(::OpenEventW(EVENT_ALL_ACCESS, FALSE, objectName.c_str()));
}

bool SharedBlockExists(std::wstring_view name) {
    const std::wstring objectName(name);
    return UniqueKernelHandle(::OpenFileMappingW(FILE_MAP_READ, FALSE, objectName.c_str())).valid();
}

UniqueKernelHandle CreateSharedMutex(std::wstring_view name) {
    ExchangeSecurity security;
    if (!security.get()) return {};
    const std::wstring objectName(name);
    return UniqueKernelHandle(::CreateMutexW(security.get(), FALSE, objectName.c_str()));
}

UniqueKernelHandle CreateSingleInstanceMutex(std::wstring_view name, bool& alreadyRunning) {
    ExchangeSecurity security;
    const std::wstring objectName(name);
    UniqueKernelHandle mutex(::CreateMutexW(security.get(), TRUE, objectName.c_str()));
    // A mutex of another user cannot be opened: that counts as running too.
    alreadyRunning = !mutex || ::GetLastError() == ERROR_ALREADY_EXISTS;
    return mutex;
}
