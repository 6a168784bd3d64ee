#include "confirmation_checks.h"

#include "destination_checks.h"
#include "paths.h"

FolderOperations SystemFolderOperations() {
    return {[](const std::wstring& path) { return IsFolder(path); },
            [](const std::wstring& path) { return CreateFolderTree(path) == 0; }};
}

CheckFailure MakeCheckFailure(const MessagePair& message, std::initializer_list<FormatArg> args) {
    return {FormatText(message.ja, args), FormatText(message.en, args)};
}

std::optional<CheckFailure> RunConfirmationChecks(Settings& settings, const FolderOperations& folders) {
    settings.Path = AddTrailingBackslash(settings.Path);
    if (auto failure = CheckDestinationLength(settings)) return failure;
    if (auto failure = CheckDestinationFolder(settings, folders)) return failure;
    // The checks of the name parts, the condition lists and the dates follow
    // here in this order as the pages gain them.
    return std::nullopt;
}
