#include "checks/check_message.h"

#include <array>

#include "format.h"

namespace {

constexpr std::size_t kMaxArgs = 3;

// Localized arguments are formatted first; FormatArg only refers to texts,
// so their results are kept in `storage` while the message is formatted.
FormatArg ToFormatArg(const MessageArg& arg, bool japanese, std::wstring& storage) {
    if (const auto* localized = std::get_if<LocalizedArg>(&arg)) {
        storage = FormatText(Pick(localized->pair, japanese), {localized->text});
        return FormatArg(storage);
    }
    if (const auto* text = std::get_if<std::wstring>(&arg)) return FormatArg(*text);
    return FormatArg(std::get<int>(arg));
}

}  // namespace

std::wstring FormatCheckMessage(const CheckMessage& message, bool japanese) {
    // The formatter takes a fixed list; unused places stay empty and are
    // never read, since each text has as many placeholders as arguments.
    std::vector<MessageArg> args = message.args;
    args.resize(kMaxArgs, std::wstring());
    std::array<std::wstring, kMaxArgs> storage;
    std::wstring text = FormatText(Pick(message.pair, japanese), {ToFormatArg(args[0], japanese, storage[0]),
                                                                  ToFormatArg(args[1], japanese, storage[1]),
                                                                  ToFormatArg(args[2], japanese, storage[2])});
    text += Pick(message.tail, japanese);
    if (text.size() > kMaxMessageChars) text.resize(kMaxMessageChars);
    return text;
}

int PageOfField(CheckedField field) {
    switch (field) {
        case CheckedField::TargetFile:
        case CheckedField::ExNoTargetFile:
        case CheckedField::NoTargetFile:
        case CheckedField::ExTargetFile:
        case CheckedField::UpdateDateStr:
        case CheckedField::UpdateDateEnd:
            return 2;
        default:
            return 1;
    }
}
