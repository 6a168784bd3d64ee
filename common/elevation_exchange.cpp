#include "elevation_exchange.h"

#include <cwchar>

#include "format.h"

namespace {

// Takes the next blank-separated number off the front of text; 0 when there is none.
long long TakeNumber(std::wstring_view& text) {
    while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
    const std::size_t end = text.find(L' ');
    const std::wstring token(text.substr(0, end));
    text.remove_prefix(end == std::wstring_view::npos ? text.size() : end);
    return token.empty() ? 0 : std::wcstoll(token.c_str(), nullptr, 10);
}

ElevationStatus StatusOfNumber(long long number) {
    switch (number) {
        case static_cast<int>(ElevationStatus::NothingDone):
            return ElevationStatus::NothingDone;
        case static_cast<int>(ElevationStatus::Done):
            return ElevationStatus::Done;
        case static_cast<int>(ElevationStatus::NothingToRemove):
            return ElevationStatus::NothingToRemove;
        default:
            return ElevationStatus::Failed;
    }
}

}  // namespace

std::wstring FormatElevationAnswer(const ElevationAnswer& answer) {
    return FormatText(L"%d %d %d", {static_cast<int>(answer.status), static_cast<std::int32_t>(answer.failure.code),
                                    static_cast<std::int32_t>(answer.failure.systemError)});
}

ElevationAnswer ParseElevationAnswer(std::wstring_view text) {
    ElevationAnswer answer;
    answer.status = StatusOfNumber(TakeNumber(text));
    answer.failure.code = static_cast<std::uint32_t>(TakeNumber(text));
    answer.failure.systemError = static_cast<std::uint32_t>(TakeNumber(text));
    return answer;
}
