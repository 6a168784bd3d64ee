#include "destination_checks.h"

namespace {
constexpr MessagePair kTooLong = {
    L"コピー先のフォルダのパスが長すぎます。\n\n現在:%d文字以上 最大:%d文字\n\n%s",
    L"The path of the copy destination folder is too long.\n\nNow:%d characters  Max:%d characters\n\n%s"};
constexpr MessagePair kCreateFailed = {L"コピー先のフォルダの作成に失敗しました。\n%s",
                                       L"Failed to create the destination folder.\n%s"};
}  // namespace

std::optional<CheckFailure> CheckDestinationLength(const Settings& settings) {
    if (settings.Path.size() <= kMaxDestinationChars) return std::nullopt;
    return MakeCheckFailure(kTooLong, {settings.Path.size(), kMaxDestinationChars, settings.Path});
}

std::optional<CheckFailure> CheckDestinationFolder(const Settings& settings, const FolderOperations& folders) {
    if (settings.CopyMode != 1 || settings.Path.empty() || folders.isFolder(settings.Path)) return std::nullopt;
    if (folders.createTree(settings.Path)) return std::nullopt;
    return MakeCheckFailure(kCreateFailed, {settings.Path});
}
