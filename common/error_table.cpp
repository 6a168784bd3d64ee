#include "error_table.h"

#include <algorithm>
#include <array>
#include <vector>

#include "error_texts.h"
#include "format.h"
#include "language.h"

namespace {

constexpr std::wstring_view kPathJa = L"登録先のパスの取得に失敗しました。";
constexpr std::wstring_view kPathEn = L"Failed to get the registration destination of the path.";
constexpr std::wstring_view kNoSelectJa = L"VaroSelectプログラムが存在しません。";
constexpr std::wstring_view kNoSelectEn = L"VaroSelect program does not exist.";
constexpr std::wstring_view kFolderLongJa = L"Varoが格納されているフォルダ名が長すぎます。";
constexpr std::wstring_view kFolderLongEn = L"The folder name where Varo is stored is too long.";
constexpr std::wstring_view kShortcutMakeJa = L"ショートカットの作成に失敗しました。";
constexpr std::wstring_view kShortcutMakeEn = L"Failed to create a shortcut.";
constexpr std::wstring_view kShortcutDeleteJa = L"ショートカットの削除に失敗しました。";
constexpr std::wstring_view kShortcutDeleteEn = L"Failed to delete the shortcut.";
constexpr std::wstring_view kShortcutInfoJa = L"ショートカットの情報の取得に失敗しました。";
constexpr std::wstring_view kShortcutInfoEn = L"Failed to get the shortcut of information.";
constexpr std::wstring_view kShortcutInfo2En = L"Failed to get the shortcut of  information.";
constexpr std::wstring_view kMenuUpdateJa = L"コンテキストメニュー(レジストリ)の更新に失敗しました。";
constexpr std::wstring_view kMenuUpdateEn = L"Failed to the context menu of the update.";
constexpr std::wstring_view kAdminJa = L"VaroUACは管理者権限で起動してください。";
constexpr std::wstring_view kAdminEn = L"Please start VaroUAC with administrator's privilege.";
constexpr std::wstring_view kMenuRegisterJa = L"コンテキストメニュー(レジストリ)の登録に失敗しました。";
constexpr std::wstring_view kMenuRegisterEn = L"Failed to register the context menu(registry).";
constexpr std::wstring_view kMenuDeleteJa = L"コンテキストメニュー(レジストリ)の削除に失敗しました。";
constexpr std::wstring_view kMenuDeleteEn = L"Failed to delete the context menu(registry).";
constexpr std::wstring_view kUacUpdateEn = L"Failed to update the context menu(registry).";

constexpr std::array<ErrorMessage, 55> kTable = {{
    {1000, kPathJa, kPathEn},
    {1003, kPathJa, kPathEn},
    {1006, kPathJa, kPathEn},
    {1010, kPathJa, kPathEn},
    {1013, kNoSelectJa, kNoSelectEn},
    {2005, kNoSelectJa, kNoSelectEn},
    {1020, kFolderLongJa, kFolderLongEn},
    {2001, kFolderLongJa, kFolderLongEn},
    {2010, kFolderLongJa, kFolderLongEn},
    {1021, kShortcutMakeJa, kShortcutMakeEn},
    {1023, kShortcutMakeJa, kShortcutMakeEn},
    {1026, kShortcutMakeJa, kShortcutMakeEn},
    {1029, kShortcutMakeJa, kShortcutMakeEn},
    {1032, kShortcutMakeJa, kShortcutMakeEn},
    {1035, kShortcutMakeJa, kShortcutMakeEn},
    {1040, kShortcutDeleteJa, kShortcutDeleteEn},
    {1046, kShortcutDeleteJa, kShortcutDeleteEn},
    {1050, kShortcutInfoJa, kShortcutInfoEn},
    {1053, kShortcutInfoJa, kShortcutInfo2En},
    {1056, kShortcutInfoJa, kShortcutInfo2En},
    {1059, kShortcutInfoJa, kShortcutInfo2En},
    {1062, kShortcutInfoJa, kShortcutInfo2En},
    {1065, kShortcutInfoJa, kShortcutInfo2En},
    {1070, kMenuUpdateJa, kMenuUpdateEn},
    {1073, kMenuUpdateJa, kMenuUpdateEn},
    {1076, kMenuUpdateJa, kMenuUpdateEn},
    {1080, kMenuUpdateJa, kMenuUpdateEn},
    {1083, kMenuUpdateJa, kMenuUpdateEn},
    {1086, kMenuUpdateJa, kMenuUpdateEn},
    {1090, kMenuUpdateJa, kMenuUpdateEn},
    {1093, kMenuUpdateJa, kMenuUpdateEn},
    {1096, kMenuUpdateJa, kMenuUpdateEn},
    {1100, kMenuUpdateJa, kMenuUpdateEn},
    {1103, kMenuUpdateJa, kMenuUpdateEn},
    {1106, kMenuUpdateJa, kMenuUpdateEn},
    {2000, kAdminJa, kAdminEn},
    {2011, kMenuRegisterJa, kMenuRegisterEn},
    {2012, kMenuRegisterJa, kMenuRegisterEn},
    {2013, kMenuRegisterJa, kMenuRegisterEn},
    {2015, kMenuRegisterJa, kMenuRegisterEn},
    {2016, kMenuRegisterJa, kMenuRegisterEn},
    {2018, kMenuRegisterJa, kMenuRegisterEn},
    {2019, kMenuRegisterJa, kMenuRegisterEn},
    {2021, kMenuRegisterJa, kMenuRegisterEn},
    {2030, kMenuRegisterJa, kMenuRegisterEn},
    {2033, kMenuDeleteJa, kMenuDeleteEn},
    {2036, kMenuDeleteJa, kMenuDeleteEn},
    {2039, kMenuDeleteJa, kMenuDeleteEn},
    {2050, kMenuUpdateJa, kUacUpdateEn},
    {2053, kMenuUpdateJa, kUacUpdateEn},
    {2056, kMenuUpdateJa, kUacUpdateEn},
    {2060, kMenuUpdateJa, kUacUpdateEn},
    {2063, kMenuUpdateJa, kUacUpdateEn},
    {2063, kMenuUpdateJa, kUacUpdateEn},
    {0, L"", L""},
}};

constexpr MessagePair kGenericError = {L"エラーが発生しました。", L"Error has occurred."};

// The table sorted by code, once, for the binary search.
const std::vector<ErrorMessage>& SortedTable() {
    static const std::vector<ErrorMessage> sorted = [] {
        std::vector<ErrorMessage> rows(kTable.begin(), kTable.end());
        std::stable_sort(rows.begin(), rows.end(),
                         [](const ErrorMessage& a, const ErrorMessage& b) { return a.code < b.code; });
        return rows;
    }();
    return sorted;
}

}  // namespace

std::span<const ErrorMessage> ErrorMessageTable() {
    return kTable;
}

std::wstring_view LookupErrorMessage(std::int32_t code) {
    const auto& rows = SortedTable();
    const auto found = std::lower_bound(rows.begin(), rows.end(), code,
                                        [](const ErrorMessage& row, std::int32_t c) { return row.code < c; });
    if (found == rows.end() || found->code != code) return {};
    return IsJapanese() ? found->ja : found->en;
}

ErrorTextParts ErrorText(const FailureRecord& record) {
    ErrorTextParts parts;
    const std::int32_t code = static_cast<std::int32_t>(record.code);
    const std::wstring_view text = LookupErrorMessage(code);
    parts.main = text.empty() ? std::wstring(Pick(kGenericError)) : FormatText(L"CD:%d %s", {code, text});
    if (record.systemError != 0) parts.detail = L" *" + SystemErrorText(record.systemError);
    return parts;
}
