#include "settings.h"

#include <windows.h>

#include "file_replace.h"
#include "handles.h"
#include "paths.h"
#include "text.h"

namespace {

SettingsKey IntKey(const wchar_t* name, int Settings::*field) {
    return {name, field, nullptr, nullptr, 0, 0};
}

SettingsKey TextKey(const wchar_t* name, std::wstring Settings::*field, std::size_t capacity) {
    return {name, nullptr, field, nullptr, 0, capacity};
}

void AddHistory(std::vector<SettingsKey>& keys, const wchar_t* name, History Settings::*list) {
    for (std::size_t i = 0; i < kHistoryEntries; ++i)
        keys.push_back({std::wstring(name) + std::to_wstring(i + 1), nullptr, nullptr, list, i, kConditionCapacity});
}

void AddCondition(std::vector<SettingsKey>& keys, const wchar_t* name, std::wstring Settings::*field,
                  History Settings::*list) {
    keys.push_back(TextKey(name, field, kConditionCapacity));
    AddHistory(keys, (std::wstring(name) + L"His").c_str(), list);
}

std::vector<SettingsKey> MakeKeys() {
    std::vector<SettingsKey> keys;
    keys.push_back(IntKey(L"Tab", &Settings::Tab));
    keys.push_back(TextKey(L"Lang", &Settings::Lang, kLangCapacity));
    keys.push_back(IntKey(L"StartSetting", &Settings::StartSetting));
    keys.push_back(IntKey(L"AutoClose", &Settings::AutoClose));
    keys.push_back(IntKey(L"CopyMode", &Settings::CopyMode));
    keys.push_back(TextKey(L"Path", &Settings::Path, kPathFieldCapacity));
    AddHistory(keys, L"PathHis", &Settings::PathHis);
    keys.push_back(IntKey(L"SelDir", &Settings::SelDir));
    keys.push_back(IntKey(L"OpenDir", &Settings::OpenDir));
    keys.push_back(TextKey(L"PrefixBef1", &Settings::PrefixBef1, kPathFieldCapacity));
    keys.push_back(IntKey(L"AddStringsBef", &Settings::AddStringsBef));
    keys.push_back(TextKey(L"PrefixBef2", &Settings::PrefixBef2, kPathFieldCapacity));
    keys.push_back(TextKey(L"PrefixAft1", &Settings::PrefixAft1, kPathFieldCapacity));
    keys.push_back(IntKey(L"AddStringsAft", &Settings::AddStringsAft));
    keys.push_back(TextKey(L"PrefixAft2", &Settings::PrefixAft2, kPathFieldCapacity));
    keys.push_back(IntKey(L"ZeroSuppress", &Settings::ZeroSuppress));
    keys.push_back(IntKey(L"CompressMode", &Settings::CompressMode));
    keys.push_back(IntKey(L"DirTree", &Settings::DirTree));
    keys.push_back(IntKey(L"Select", &Settings::Select));
    keys.push_back(IntKey(L"SelectMode", &Settings::SelectMode));
    AddCondition(keys, L"TargetFile", &Settings::TargetFile, &Settings::TargetFileHis);
    AddCondition(keys, L"ExNoTargetFile", &Settings::ExNoTargetFile, &Settings::ExNoTargetFileHis);
    AddCondition(keys, L"NoTargetFile", &Settings::NoTargetFile, &Settings::NoTargetFileHis);
    AddCondition(keys, L"ExTargetFile", &Settings::ExTargetFile, &Settings::ExTargetFileHis);
    keys.push_back(IntKey(L"UpdateDateType", &Settings::UpdateDateType));
    keys.push_back(IntKey(L"UpdateDateVal", &Settings::UpdateDateVal));
    keys.push_back(TextKey(L"UpdateDateStr", &Settings::UpdateDateStr, kDateTextCapacity));
    keys.push_back(TextKey(L"UpdateDateEnd", &Settings::UpdateDateEnd, kDateTextCapacity));
    keys.push_back(IntKey(L"EmptyDirNoCopy", &Settings::EmptyDirNoCopy));
    // Written after the keys older versions know, which simply pass it by.
    keys.push_back(IntKey(L"Verify", &Settings::Verify));
    return keys;
}

std::wstring ReadText(const std::wstring& file, const std::wstring& key, const std::wstring& fallback,
                      std::size_t capacity) {
    // Read with one less than the capacity, as the stored files expect.
    std::wstring buffer(capacity - 1, L'\0');
    const DWORD length = ::GetPrivateProfileStringW(kSettingsSection.data(), key.c_str(), fallback.c_str(),
                                                    buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    buffer.resize(length);
    return buffer;
}

int ReadInt(const std::wstring& file, const std::wstring& key, int fallback) {
    return static_cast<int>(::GetPrivateProfileIntW(kSettingsSection.data(), key.c_str(), fallback, file.c_str()));
}

void ReadKey(const std::wstring& file, const SettingsKey& key, Settings& settings) {
    if (!key.IsText()) {
        settings.*key.integer = ReadInt(file, key.name, settings.*key.integer);
        return;
    }
    std::wstring& field = key.Text(settings);
    field = ReadText(file, key.name, field, key.capacity);
    if (key.text == &Settings::Path) field = AddTrailingBackslash(field);
}

}  // namespace

Settings DefaultSettings(bool uiJapanese, const std::optional<std::wstring>& documentsFolder) {
    Settings settings;
    settings.Lang = uiJapanese ? L"ja" : L"en";
    if (documentsFolder && !documentsFolder->empty())
        settings.Path = AddTrailingBackslash(*documentsFolder) + L"My Copy\\";
    return settings;
}

const std::vector<SettingsKey>& SettingsKeys() {
    static const std::vector<SettingsKey> keys = MakeKeys();
    return keys;
}

bool ReadSettingsFile(const std::wstring& file, Settings& settings, bool readDebug, const KeyReadHook& afterKey) {
    // Without a file every key keeps its default, but the hook still sees each key.
    const bool readable = !file.empty();
    for (const SettingsKey& key : SettingsKeys()) {
        if (readable) ReadKey(file, key, settings);
        if (afterKey && !afterKey(key, settings)) return false;
    }
    if (readDebug && readable) settings.Debug = static_cast<std::uint16_t>(ReadInt(file, L"Debug", settings.Debug));
    return true;
}

ProfileKeyWriter SystemProfileKeyWriter() {
    return [](const std::wstring& file, const std::wstring& key, const std::wstring& value) {
        return ::WritePrivateProfileStringW(kSettingsSection.data(), key.c_str(), value.c_str(), file.c_str()) != 0;
    };
}

bool WriteSettingsFile(const std::wstring& file, const Settings& settings, const ProfileKeyWriter& writeKey) {
    if (file.empty()) return false;
    const std::optional<std::wstring> temporary = CreateTemporaryBeside(file);
    if (!temporary) return false;
    const auto fail = [&] {
        ::DeleteFileW(temporary->c_str());
        return false;
    };
    {
        UniqueKernelHandle handle(::CreateFileW(temporary->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!handle) return fail();
        // The byte-order mark makes the profile writer keep the file in UTF-16LE.
        const unsigned char bom[2] = {0xFF, 0xFE};
        DWORD written = 0;
        if (!::WriteFile(handle.get(), bom, sizeof bom, &written, nullptr) || written != sizeof bom) return fail();
    }
    for (const SettingsKey& key : SettingsKeys()) {
        const std::wstring value = key.IsText() ? key.Text(settings) : std::to_wstring(settings.*key.integer);
        if (!writeKey(*temporary, key.name, value)) return fail();
    }
    // Hands over what a profile cache may still hold before the file moves.
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, temporary->c_str());
    return ReplaceWithTemporary(*temporary, file);
}

void PushHistory(std::wstring& current, History& list, bool isPath) {
    History old = list;
    TrimBlanks(current);
    for (std::wstring& entry : old) TrimBlanks(entry);
    if (isPath) {
        current = AddTrailingBackslash(current);
        for (std::wstring& entry : old) entry = AddTrailingBackslash(entry);
    }
    std::array<bool, kHistoryEntries> dropped{};
    for (std::size_t i = 0; i < kHistoryEntries; ++i) {
        if (old[i].empty()) continue;
        if (!current.empty() && EqualsNoCase(old[i], current)) dropped[i] = true;
        for (std::size_t j = 0; j < i && !dropped[i]; ++j)
            if (!old[j].empty() && EqualsNoCase(old[i], old[j])) dropped[i] = true;
    }
    History updated;
    std::size_t next = 0;
    updated[next++] = current;
    for (std::size_t i = 0; i < kHistoryEntries && next < kHistoryEntries; ++i)
        if (!dropped[i]) updated[next++] = old[i];
    list = std::move(updated);
}

void UpdateHistories(Settings& settings) {
    PushHistory(settings.Path, settings.PathHis, true);
    PushHistory(settings.TargetFile, settings.TargetFileHis, false);
    PushHistory(settings.ExNoTargetFile, settings.ExNoTargetFileHis, false);
    PushHistory(settings.NoTargetFile, settings.NoTargetFileHis, false);
    PushHistory(settings.ExTargetFile, settings.ExTargetFileHis, false);
}
