#include <gtest/gtest.h>

#include <aclapi.h>

#include <string>
#include <vector>

#include "kernel_objects.h"

namespace {

std::wstring UniqueName(std::wstring_view what) {
    return L"VARO_TEST_" + std::wstring(what) + L"_" + std::to_wstring(::GetCurrentProcessId());
}

std::vector<BYTE> CurrentUserSid() {
    UniqueKernelHandle token;
    EXPECT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put()));
    DWORD size = 0;
    ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    EXPECT_TRUE(::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size));
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    return {bytes, bytes + ::GetLengthSid(sid)};
}

std::vector<BYTE> WellKnownSid(WELL_KNOWN_SID_TYPE type) {
    std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
    DWORD size = static_cast<DWORD>(sid.size());
    EXPECT_TRUE(::CreateWellKnownSid(type, nullptr, sid.data(), &size));
    sid.resize(size);
    return sid;
}

struct AllowedEntry {
    std::vector<BYTE> sid;
    ACCESS_MASK mask;
};

// The entries of the object's access list; fails the test on any entry that
// is not an allowing one, or on a missing (null) list.
std::vector<AllowedEntry> AccessList(HANDLE object) {
    PACL dacl = nullptr;
    UniqueLocalMem descriptor;
    const DWORD error = ::GetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                          nullptr, descriptor.put());
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SUCCESS));
    std::vector<AllowedEntry> entries;
    if (error != ERROR_SUCCESS) return entries;
    EXPECT_NE(dacl, nullptr) << "a null access list admits everybody";
    if (!dacl) return entries;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        EXPECT_TRUE(::GetAce(dacl, i, &ace));
        const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
        EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        const BYTE* sid = reinterpret_cast<const BYTE*>(&allowed->SidStart);
        entries.push_back({{sid, sid + ::GetLengthSid(const_cast<BYTE*>(sid))}, allowed->Mask});
    }
    return entries;
}

void ExpectUserAdministratorsAndSystemOnly(HANDLE object, ACCESS_MASK fullAccess) {
    const std::vector<AllowedEntry> entries = AccessList(object);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].sid, CurrentUserSid());
    EXPECT_EQ(entries[1].sid, WellKnownSid(WinBuiltinAdministratorsSid));
    EXPECT_EQ(entries[2].sid, WellKnownSid(WinLocalSystemSid));
    // Windows maps GENERIC_ALL to the object's own rights when it stores the
    // list; Wine keeps it as given.
    for (const AllowedEntry& entry : entries)
        EXPECT_TRUE((entry.mask & GENERIC_ALL) != 0 || (entry.mask & fullAccess) == fullAccess) << entry.mask;
}

}  // namespace

TEST(ExchangeObjects, AdmitTheUserTheAdministratorsAndSystemOnly) {
    const UniqueKernelHandle block = CreateSharedBlock(UniqueName(L"ACL_BLOCK"));
    const UniqueKernelHandle event = CreateExchangeEvent(UniqueName(L"ACL_EVENT"));
    ASSERT_TRUE(block && event);
    ExpectUserAdministratorsAndSystemOnly(block.get(), SECTION_MAP_READ | SECTION_MAP_WRITE);
    ExpectUserAdministratorsAndSystemOnly(event.get(), EVENT_MODIFY_STATE | SYNCHRONIZE);
}

TEST(ExchangeObjects, AnObjectThatExistsAlreadyIsRefusedNotShared) {
    const std::wstring blockName = UniqueName(L"TWICE_BLOCK");
    const std::wstring eventName = UniqueName(L"TWICE_EVENT");
    {
        const UniqueKernelHandle block = CreateSharedBlock(blockName);
        const UniqueKernelHandle event = CreateExchangeEvent(eventName);
        ASSERT_TRUE(block && event);
        ASSERT_TRUE(WriteSharedBlock(blockName, L"1 0 0"));

        EXPECT_FALSE(CreateSharedBlock(blockName));
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        EXPECT_FALSE(CreateExchangeEvent(eventName));
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
        // The refused attempt left the holder's answer alone.
        EXPECT_EQ(ReadSharedBlock(blockName).value_or(L"?"), L"1 0 0");
    }
    // Once the holder has closed them, the names are free again.
    EXPECT_TRUE(CreateSharedBlock(blockName));
    EXPECT_TRUE(CreateExchangeEvent(eventName));
}
