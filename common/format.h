// One bounded, type-checked formatter for the printf-style message texts.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

// One argument of a format: a text or a whole number.
class FormatArg {
public:
    FormatArg(std::wstring_view text) : value_(text) {}
    FormatArg(const std::wstring& text) : value_(std::wstring_view(text)) {}
    FormatArg(const wchar_t* text) : value_(std::wstring_view(text ? text : L"")) {}
    template <std::signed_integral T>
    FormatArg(T number) : value_(static_cast<std::int64_t>(number)) {}
    template <std::unsigned_integral T>
    FormatArg(T number) : value_(static_cast<std::uint64_t>(number)) {}

    const std::variant<std::wstring_view, std::int64_t, std::uint64_t>& value() const { return value_; }

private:
    std::variant<std::wstring_view, std::int64_t, std::uint64_t> value_;
};

// Message boxes hold at most this many characters (the platform's formatter limit).
constexpr std::size_t kMaxMessageChars = 1023;

// Formats like wsprintfW: %s (wide text), %d %i %u %x %X %c, optional "0" and
// "-" flags, a width, and the size prefixes I64, ll, l, h. "%x" of a negative
// 32-bit number prints its 32-bit pattern, as printf does. A missing argument
// prints nothing; a text longer than maxChars is cut at maxChars.
std::wstring FormatText(std::wstring_view format, std::initializer_list<FormatArg> args,
                        std::size_t maxChars = kMaxMessageChars);
