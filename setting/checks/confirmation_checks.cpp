#include "checks/confirmation_checks.h"

#include <array>

#include "checks/field_checks.h"
#include "pages/conditions_dates.h"
#include "pages/copy_to_rules.h"
#include "forbidden_chars.h"
#include "paths.h"

namespace {

constexpr MessagePair kFolderNotCreated = {L"コピー先のフォルダの作成に失敗しました。\n%s",
                                           L"Failed to create the destination folder.\n%s"};

CheckResult CheckDestination(Settings& s, const ConfirmationHooks& hooks) {
    if (auto failure = CheckPath(s.Path)) return failure;
    if (s.CopyMode != 1 || s.Path.empty() || hooks.ensureFolder(s.Path)) return std::nullopt;
    return CheckFailure{CheckedField::Path, {kFolderNotCreated, {s.Path}}};
}

CheckResult CheckAddStrings(const Settings& s, const ConfirmationHooks& hooks) {
    const std::array<std::pair<CheckedField, const std::wstring*>, 4> fields = {{
        {CheckedField::PrefixBef1, &s.PrefixBef1},
        {CheckedField::PrefixBef2, &s.PrefixBef2},
        {CheckedField::PrefixAft1, &s.PrefixAft1},
        {CheckedField::PrefixAft2, &s.PrefixAft2},
    }};
    for (const auto& [field, text] : fields)
        if (auto failure = CheckAddString(field, *text, hooks.addStringChars)) return failure;
    return std::nullopt;
}

// All four lists, whatever Select and SelectMode say: a list not used now
// may be used by the next run without passing through the dialog.
CheckResult CheckConditionLists(Settings& s, const ConfirmationHooks& hooks) {
    const std::array<std::pair<CheckedField, std::wstring*>, 4> lists = {{
        {CheckedField::TargetFile, &s.TargetFile},
        {CheckedField::ExNoTargetFile, &s.ExNoTargetFile},
        {CheckedField::NoTargetFile, &s.NoTargetFile},
        {CheckedField::ExTargetFile, &s.ExTargetFile},
    }};
    for (const auto& [field, list] : lists)
        if (auto failure = CheckConditionList(field, *list, hooks.conditionChars)) return failure;
    return std::nullopt;
}

bool AnyAddString(const Settings& s) {
    return !s.PrefixBef1.empty() || !s.PrefixBef2.empty() || !s.PrefixAft1.empty() || !s.PrefixAft2.empty();
}

}  // namespace

bool EnsureDestinationFolder(const std::wstring& folder) {
    return CreateFolderTree(folder) == 0;
}

ConfirmationHooks StandardConfirmationHooks() {
    ConfirmationHooks hooks;
    hooks.addStringChars = [](std::wstring_view text) { return CheckForbiddenChars(text, CharRules::AddString); };
    hooks.conditionChars = [](std::wstring_view text) { return CheckForbiddenChars(text, CharRules::Condition); };
    return hooks;
}

ConfirmationResult RunConfirmationChecks(Settings& settings, const ConfirmationHooks& hooks) {
    ConfirmationResult result;
    result.failure = CheckDestination(settings, hooks);
    if (!result.failure) result.failure = CheckAddStrings(settings, hooks);
    if (!result.failure) result.failure = CheckConditionLists(settings, hooks);
    if (!result.failure)
        result.failure =
            CheckNameKinds(settings.AddStringsBef, settings.AddStringsAft, settings.CopyMode, AnyAddString(settings));
    if (result.failure) return result;
    DateChecks dates = CheckDates(settings.UpdateDateStr, settings.UpdateDateEnd);
    result.notices = std::move(dates.notices);
    result.failure = std::move(dates.failure);
    return result;
}
