#include "format.h"

#include <algorithm>

namespace {

struct Spec {
    bool zeroPad = false;
    bool leftAlign = false;
    std::size_t width = 0;
    bool wide64 = false;
    wchar_t conversion = 0;
};

std::wstring Digits(std::uint64_t value, unsigned base, bool upper) {
    const wchar_t* digits = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    std::wstring out;
    do {
        out.insert(out.begin(), digits[value % base]);
        value /= base;
    } while (value != 0);
    return out;
}

std::wstring ConvertNumber(const Spec& spec, const FormatArg& arg) {
    std::int64_t signedValue = 0;
    std::uint64_t unsignedValue = 0;
    bool isSigned = false;
    if (auto* s = std::get_if<std::int64_t>(&arg.value())) {
        signedValue = *s;
        unsignedValue = static_cast<std::uint64_t>(*s);
        isSigned = true;
    } else if (auto* u = std::get_if<std::uint64_t>(&arg.value())) {
        unsignedValue = *u;
        signedValue = static_cast<std::int64_t>(*u);
    } else {
        return {};
    }
    // Without a 64-bit prefix the number is taken as a 32-bit value, as printf does.
    if (!spec.wide64) {
        unsignedValue &= 0xFFFFFFFFull;
        signedValue = static_cast<std::int32_t>(static_cast<std::uint32_t>(unsignedValue));
    }
    switch (spec.conversion) {
        case L'd':
        case L'i':
            if (!isSigned && spec.wide64 && unsignedValue > static_cast<std::uint64_t>(INT64_MAX))
                return Digits(unsignedValue, 10, false);
            if (signedValue < 0) return L"-" + Digits(0 - static_cast<std::uint64_t>(signedValue), 10, false);
            return Digits(static_cast<std::uint64_t>(signedValue), 10, false);
        case L'u':
            return Digits(unsignedValue, 10, false);
        case L'x':
            return Digits(unsignedValue, 16, false);
        case L'X':
            return Digits(unsignedValue, 16, true);
        case L'c':
            return std::wstring(1, static_cast<wchar_t>(unsignedValue));
        default:
            return {};
    }
}

std::wstring Pad(std::wstring text, const Spec& spec) {
    if (text.size() >= spec.width) return text;
    const std::size_t fill = spec.width - text.size();
    if (spec.leftAlign) return text + std::wstring(fill, L' ');
    if (spec.zeroPad && spec.conversion != L's' && spec.conversion != L'c') {
        const std::size_t signLength = (!text.empty() && text[0] == L'-') ? 1 : 0;
        text.insert(signLength, std::wstring(fill, L'0'));
        return text;
    }
    return std::wstring(fill, L' ') + text;
}

// Reads one conversion starting just after '%'; returns false when the text
// after '%' is not a conversion this formatter knows.
bool ReadSpec(std::wstring_view format, std::size_t& pos, Spec& spec) {
    std::size_t p = pos;
    for (; p < format.size(); ++p) {
        if (format[p] == L'0')
            spec.zeroPad = true;
        else if (format[p] == L'-')
            spec.leftAlign = true;
        else
            break;
    }
    while (p < format.size() && format[p] >= L'0' && format[p] <= L'9') {
        spec.width = std::min<std::size_t>(spec.width * 10 + (format[p] - L'0'), 4096);
        ++p;
    }
    if (format.substr(p, 3) == L"I64") {
        spec.wide64 = true;
        p += 3;
    } else if (format.substr(p, 2) == L"ll") {
        spec.wide64 = true;
        p += 2;
    } else if (p < format.size() && (format[p] == L'l' || format[p] == L'h')) {
        ++p;
    }
    if (p >= format.size()) return false;
    const wchar_t c = format[p];
    if (c != L's' && c != L'd' && c != L'i' && c != L'u' && c != L'x' && c != L'X' && c != L'c') return false;
    spec.conversion = c;
    pos = p + 1;
    return true;
}

}  // namespace

std::wstring FormatText(std::wstring_view format, std::initializer_list<FormatArg> args, std::size_t maxChars) {
    std::wstring out;
    auto next = args.begin();
    std::size_t pos = 0;
    while (pos < format.size() && out.size() < maxChars) {
        const wchar_t c = format[pos++];
        if (c != L'%') {
            out += c;
            continue;
        }
        if (pos < format.size() && format[pos] == L'%') {
            out += L'%';
            ++pos;
            continue;
        }
        Spec spec;
        std::size_t after = pos;
        if (!ReadSpec(format, after, spec)) {
            out += L'%';
            continue;
        }
        pos = after;
        if (next == args.end()) continue;
        const FormatArg& arg = *next++;
        std::wstring piece;
        if (spec.conversion == L's') {
            if (auto* text = std::get_if<std::wstring_view>(&arg.value())) piece = *text;
        } else {
            piece = ConvertNumber(spec, arg);
        }
        out += Pad(std::move(piece), spec);
    }
    if (out.size() > maxChars) out.resize(maxChars);
    return out;
}
