#include "error_texts.h"

#include <windows.h>

#include <array>

#include "format.h"
#include "handles.h"
#include "language.h"

namespace {

struct CodeText {
    int code;
    MessagePair text;
};

constexpr MessagePair kNoSystemText = {L"(システムの説明がありません)", L"(no description from the system)"};

constexpr std::array<CodeText, 6> kDirectoryTexts = {{
    {3, {L"0x%08x:指定されたパスが見つかりません。", L"0x%08x:The system cannot find the path specified."}},
    {80, {L"0x%08x:ファイルは存在しています。", L"0x%08x:The file exists."}},
    {161, {L"0x%08x:指定されたパスは無効です。", L"0x%08x:The specified path is invalid."}},
    {183, {L"0x%08x:既に存在しています。", L"0x%08x:Cannot create a file when that file already exists."}},
    {206, {L"0x%08x:ファイル名または拡張子が長すぎます。", L"0x%08x:The filename or extension is too long"}},
    {1223, {L"0x%08x:キャンセルされました。", L"0x%08x:The operation was canceled by the user."}},
}};

constexpr std::array<CodeText, 25> kShellOperationTexts = {{
    {0x71,
     {L"0x%08x:ソースファイルとコピー先ファイルは同じファイルです。",
      L"0x%08x:The source and destination files are the same file."}},
    {0x72,
     {L"0x%08x:複数のファイルパスがソースバッファに指定されていますが、宛先ファイルパスは1つのみです。",
      L"0x%08x:Multiple file paths were specified in the source buffer, but only one destination file path."}},
    {0x73,
     {L"0x%08x:名前変更が行われようとしましたが、宛先パスは別のディレクトリです。 代わりに移動します。",
      L"0x%08x:Rename operation was specified but the destination path is a different directory. Use the "
      L"move operation instead."}},
    {0x74,
     {L"0x%08x:ソースはルートディレクトリであるため、移動または名前の変更はできません。",
      L"0x%08x:The source is a root directory, which cannot be moved or renamed."}},
    {0x75,
     {L"0x%08x:操作はユーザーによって取り消されたか、キャンセルされました。",
      L"0x%08x:The operation was canceled by the user, or silently canceled if the appropriate flags were "
      L"supplied to SHFileOperation."}},
    {0x76, {L"0x%08x:宛先はソースのサブツリーです。", L"0x%08x:The destination is a subtree of the source."}},
    {0x78,
     {L"0x%08x:セキュリティ設定でソースへのアクセスが拒否されました。",
      L"0x%08x:Security settings denied access to the source."}},
    {0x79,
     {L"0x%08x:送信元または送信先のパスが最大値を超えています。",
      L"0x%08x:The source or destination path exceeded or would exceed MAX_PATH."}},
    {0x7A,
     {L"0x%08x:操作には、移動処理に失敗する可能性のある複数の宛先パスが含まれていました。",
      L"0x%08x:The operation involved multiple destination paths, which can fail in the case of a move "
      L"operation."}},
    {0x7C,
     {L"0x%08x:送信元または送信先またはその両方のパスが無効です。",
      L"0x%08x:The path in the source or destination or both was invalid."}},
    {0x7D,
     {L"0x%08x:送信元と送信先には同じ親フォルダがあります。",
      L"0x%08x:The source and destination have the same parent folder."}},
    {0x7E, {L"0x%08x:宛先パスは既存のファイルです。", L"0x%08x:The destination path is an existing file."}},
    {0x80, {L"0x%08x:宛先パスは既存のフォルダです。", L"0x%08x:The destination path is an existing folder."}},
    {0x81, {L"0x%08x:ファイル名が最大値を超えています。", L"0x%08x:The name of the file exceeds MAX_PATH."}},
    {0x82,
     {L"0x%08x:宛先は、読み込み専用のCD-ROMであり、フォーマットされていない可能性があります。",
      L"0x%08x:The destination is a read-only CD-ROM, possibly unformatted."}},
    {0x83,
     {L"0x%08x:宛先は、読み込み専用のDVDであり、フォーマットされていない可能性があります。",
      L"0x%08x:The destination is a read-only DVD, possibly unformatted."}},
    {0x84,
     {L"0x%08x:宛先は、書き込み可能なCD-ROMであり、おそらくフォーマットされていません。",
      L"0x%08x:The destination is a writable CD-ROM, possibly unformatted."}},
    {0x85,
     {L"0x%08x:操作に関連するファイルが宛先メディアまたはファイルシステムには大きすぎます。",
      L"0x%08x:The file involved in the operation is too large for the destination media or file system."}},
    {0x86,
     {L"0x%08x:ソースは、読み込み専用のCD-ROMで、フォーマットされていない可能性があります。",
      L"0x%08x:The source is a read-only CD-ROM, possibly unformatted."}},
    {0x87,
     {L"0x%08x:ソースは、読み込み専用のDVDで、フォーマットされていない可能性があります。",
      L"0x%08x:The source is a read-only DVD, possibly unformatted."}},
    {0x88,
     {L"0x%08x:ソースは、書込み可能なCD-ROMで、フォーマットされていない可能性があります。",
      L"0x%08x:The source is a writable CD-ROM, possibly unformatted."}},
    {0xB7, {L"0x%08x:操作中にパスの最大値を超えました。", L"0x%08x:MAX_PATH was exceeded during the operation."}},
    {0x402,
     {L"0x%08x:不明なエラーが発生しました。 これは、通常、送信元または送信先で無効なパスが原因で発生します。 "
      L"このエラーは、Windows Vista以降では発生しません。",
      L"0x%08x:An unknown error occurred. This is typically due to an invalid path in the source or "
      L"destination. This error does not occur on Windows Vista and later."}},
    {0x10000,
     {L"0x%08x:宛先で指定されていないエラーが発生しました。",
      L"0x%08x:An unspecified error occurred on the destination."}},
    {0x10074,
     {L"0x%08x:宛先はルートディレクトリであり、名前を変更することはできません。",
      L"0x%08x:Destination is a root directory and cannot be renamed."}},
}};

constexpr MessagePair kOtherShellText = {L"0x%08x Error", L"0x%08x: Error."};

template <std::size_t N>
const CodeText* FindCode(const std::array<CodeText, N>& table, int code) {
    for (const CodeText& row : table)
        if (row.code == code) return &row;
    return nullptr;
}

std::wstring SystemMessage(std::uint32_t errorNumber, DWORD languageId) {
    UniqueLocalPointer<wchar_t> buffer;
    // With ALLOCATE_BUFFER the buffer argument receives the allocation.
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, errorNumber, languageId, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    if (length == 0 || !buffer) return {};
    std::wstring text(buffer.get(), length);
    // The system's texts end with a line break that would only add an empty line.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    return text;
}

}  // namespace

std::wstring SystemErrorText(std::uint32_t errorNumber) {
    if (errorNumber == 0) return {};
    std::wstring text = SystemMessage(errorNumber, IsJapanese() ? 0x0400 : 0x0409);
    if (text.empty()) text = SystemMessage(errorNumber, 0);
    if (text.empty()) text = Pick(kNoSystemText);
    return FormatText(L"0x%08x:%s", {errorNumber, text});
}

std::wstring DirectoryErrorText(int code) {
    if (code == 0) return {};
    if (const CodeText* row = FindCode(kDirectoryTexts, code)) return FormatText(Pick(row->text), {code});
    return SystemErrorText(static_cast<std::uint32_t>(code));
}

std::wstring ShellOperationErrorText(int code) {
    if (code == 0) return {};
    const CodeText* row = FindCode(kShellOperationTexts, code);
    return FormatText(Pick(row ? row->text : kOtherShellText), {code});
}
