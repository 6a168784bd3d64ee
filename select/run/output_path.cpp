#include "run/output_path.h"

#include "message_box.h"

namespace {

constexpr MessagePair kPathTooLong = {
    L"出力ファイルのパスが最大値(%d文字)を超えています。\n\n%s (%d文字)",
    L"The path of the output file exceeds maximum value(%d characters).\n\n%s (%d characters)"};

}  // namespace

bool OutputPathFits(std::wstring_view path, std::size_t limit) {
    if (path.size() <= limit) return true;
    ShowMessage(nullptr, MB_ICONERROR, kPathTooLong, {static_cast<int>(limit), path, static_cast<int>(path.size())});
    return false;
}
