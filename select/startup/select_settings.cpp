#include "startup/select_settings.h"

#include "error_texts.h"
#include "forbidden_chars.h"
#include "language.h"
#include "message_box.h"
#include "paths.h"

namespace {

constexpr MessagePair kFolderFailed = {L"設定ファイルを格納するディレクトリを作成できませんでした。\n\n%s\n\n%s",
                                       L"Could not create a directory to store the configuration file.\n\n%s\n\n%s"};

constexpr MessagePair kPatternTooLong = {
    L"ファイル選択条件の条件最大値(%d)文字を超えています。\n\n%s (%d文字)",
    L"The condition maximum value (%d) of the file selection condition is exceeded.\n\n%s (%d characters)"};

// The four fixed texts of a destination name and the message naming each,
// worded as the settings application words them.
struct FixedText {
    std::wstring Settings::*text;
    MessagePair forbidden;
};
const FixedText kFixedTexts[] = {
    {&Settings::PrefixBef1,
     {L"付与する文字列(先頭)に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
      L"Characters that can not be used in the prefix(top) are included.\n\nNG : %s\n\n%s"}},
    {&Settings::PrefixBef2,
     {L"付与する文字列(ファイル名の前)に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
      L"Characters that can not be used in the prefix(Before file name) are included.\n\nNG : %s\n\n%s"}},
    {&Settings::PrefixAft1,
     {L"付与する文字列(ファイル名の後)に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
      L"Characters that can not be used in the prefix(After file name) are included.\n\nNG : %s\n\n%s"}},
    {&Settings::PrefixAft2,
     {L"付与する文字列(最後)に使用できない文字が含まれています。\n\nNG : %s\n\n%s",
      L"Characters that can not be used in the prefix(Last) are included.\n\nNG : %s\n\n%s"}},
};

// A hand-edited settings file may hold what the settings application never
// saves: a fixed text with "\" or ":" would put the copy outside its
// destination folder. The first text that fails is reported.
bool FixedTextsAreFileNames(const Settings& s) {
    for (const FixedText& field : kFixedTexts) {
        const std::wstring& text = s.*field.text;
        const std::wstring ngList = CheckForbiddenChars(text, CharRules::AddString);
        if (ngList.empty()) continue;
        ShowMessage(nullptr, MB_ICONERROR, field.forbidden, {ngList, text});
        return false;
    }
    return true;
}

void ShowFolderFailed(int code, const std::wstring& folder) {
    ShowMessage(nullptr, MB_ICONERROR, kFolderFailed, {DirectoryErrorText(code), folder});
}

// Parses the list; a refused pattern is shown with the limit and its length.
bool ParseOrSayWhy(std::wstring& text, ConditionList& list) {
    const std::optional<std::wstring> refused = ParseConditionList(text, list);
    if (!refused) return true;
    ShowMessage(nullptr, MB_ICONERROR, kPatternTooLong,
                {static_cast<int>(kMaxPatternChars + 1), *refused, static_cast<int>(refused->size())});
    return false;
}

// The condition list that a key holds, when the current mode uses it.
ConditionList* ActiveList(const SettingsKey& key, const Settings& s, SelectionConditions& conditions) {
    if (s.Select != 1) return nullptr;
    if (s.SelectMode == 0) {
        if (key.text == &Settings::TargetFile) return &conditions.lists[kTargetList];
        if (key.text == &Settings::ExNoTargetFile) return &conditions.lists[kExNoTargetList];
    } else if (s.SelectMode == 1) {
        if (key.text == &Settings::NoTargetFile) return &conditions.lists[kNoTargetList];
        if (key.text == &Settings::ExTargetFile) return &conditions.lists[kExTargetList];
    }
    return nullptr;
}

}  // namespace

Settings CopyToolDefaults() {
    return DefaultSettings(UiLanguageIsJapanese(), GetSpecialFolderPath(kCsidlDocuments));
}

int LoadSettings(const SettingsPaths& paths, bool useTemporary, const Settings& defaults, Settings& settings,
                 SelectionConditions& conditions) {
    settings = defaults;
    conditions = {};
    const std::wstring& file = useTemporary ? paths.temporaryFile : paths.settingsFile;
    const bool complete = ReadSettingsFile(file, settings, false, [&](const SettingsKey& key, Settings& s) {
        if (key.text == &Settings::Lang) SetJapanese(LangSelectsJapanese(s.Lang));
        ConditionList* list = ActiveList(key, s, conditions);
        return !list || ParseOrSayWhy(key.Text(s), *list);
    });
    conditions.selectMode = settings.SelectMode;
    conditions.updateDateType = settings.UpdateDateType;
    return complete && FixedTextsAreFileNames(settings) ? 0 : -1;
}

void SaveSettings(const SettingsPaths& paths, const Settings& settings) {
    // Without an Application Data folder there is nowhere to keep settings:
    // the run uses the defaults and says nothing about it.
    if (paths.settingsFile.empty()) return;
    if (const int code = CreateFolderTree(paths.settingsFolder); code != 0)
        ShowFolderFailed(code, paths.settingsFolder);
    (void)WriteSettingsFile(paths.settingsFile, settings);
}

int PrepareSettings(const SettingsPaths& paths, const Settings& defaults, Settings& settings,
                    SelectionConditions& conditions) {
    // Until Lang has been read, messages follow the user's UI language.
    SetJapanese(UiLanguageIsJapanese());
    if (paths.settingsFile.empty() || PathExists(paths.settingsFile))
        return LoadSettings(paths, false, defaults, settings, conditions);

    if (PathExists(paths.backupFile)) {
        const int code = CreateFolderTree(paths.settingsFolder);
        if (code == 0)
            ::CopyFileW(paths.backupFile.c_str(), paths.settingsFile.c_str(), FALSE);
        else
            ShowFolderFailed(code, paths.settingsFolder);
        return LoadSettings(paths, false, defaults, settings, conditions);
    }

    if (LoadSettings(paths, false, defaults, settings, conditions) != 0) return -1;
    SaveSettings(paths, settings);
    ::CopyFileW(paths.settingsFile.c_str(), paths.backupFile.c_str(), FALSE);
    return 0;
}
