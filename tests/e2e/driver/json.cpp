#include "json.h"

#include <windows.h>

#include <cmath>
#include <cstdio>

namespace {

// Window texts may hold lone surrogates; they become U+FFFD rather than
// emptying the whole text.
std::string LossyUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

void AppendCodePoint(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void SerializeText(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                    out += escaped;
                } else {
                    out += c;  // UTF-8 passes through unchanged
                }
        }
    }
    out += '"';
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> ParseAll(std::string* error) {
        std::optional<JsonValue> value = ParseValue();
        SkipBlanks();
        if (value && pos_ != text_.size()) Fail("text after the value");
        if (!error_.empty()) {
            if (error) *error = error_ + " at offset " + std::to_string(pos_);
            return std::nullopt;
        }
        return value;
    }

private:
    static constexpr int kMaxDepth = 64;

    void Fail(const char* why) {
        if (error_.empty()) error_ = why;
    }

    void SkipBlanks() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n'))
            ++pos_;
    }

    bool Consume(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    std::optional<JsonValue> ParseValue() {
        if (++depth_ > kMaxDepth) {
            Fail("nested too deeply");
            return std::nullopt;
        }
        std::optional<JsonValue> value = ParseValueBody();
        --depth_;
        return value;
    }

    std::optional<JsonValue> ParseValueBody() {
        SkipBlanks();
        if (pos_ >= text_.size()) {
            Fail("unexpected end");
            return std::nullopt;
        }
        const char c = text_[pos_];
        if (c == '{') return ParseObject();
        if (c == '[') return ParseArray();
        if (c == '"') {
            std::optional<std::string> text = ParseText();
            if (!text) return std::nullopt;
            return JsonValue(std::move(*text));
        }
        if (Consume("true")) return JsonValue(true);
        if (Consume("false")) return JsonValue(false);
        if (Consume("null")) return JsonValue(nullptr);
        return ParseNumber();
    }

    std::optional<JsonValue> ParseObject() {
        ++pos_;  // {
        JsonValue::Object members;
        SkipBlanks();
        if (Consume("}")) return JsonValue(std::move(members));
        for (;;) {
            SkipBlanks();
            if (pos_ >= text_.size() || text_[pos_] != '"') {
                Fail("expected a member name");
                return std::nullopt;
            }
            std::optional<std::string> name = ParseText();
            if (!name) return std::nullopt;
            SkipBlanks();
            if (!Consume(":")) {
                Fail("expected ':'");
                return std::nullopt;
            }
            std::optional<JsonValue> value = ParseValue();
            if (!value) return std::nullopt;
            members[std::move(*name)] = std::move(*value);
            SkipBlanks();
            if (Consume("}")) return JsonValue(std::move(members));
            if (!Consume(",")) {
                Fail("expected ',' or '}'");
                return std::nullopt;
            }
        }
    }

    std::optional<JsonValue> ParseArray() {
        ++pos_;  // [
        JsonValue::Array items;
        SkipBlanks();
        if (Consume("]")) return JsonValue(std::move(items));
        for (;;) {
            std::optional<JsonValue> value = ParseValue();
            if (!value) return std::nullopt;
            items.push_back(std::move(*value));
            SkipBlanks();
            if (Consume("]")) return JsonValue(std::move(items));
            if (!Consume(",")) {
                Fail("expected ',' or ']'");
                return std::nullopt;
            }
        }
    }

    std::optional<std::uint32_t> ParseHex4() {
        if (pos_ + 4 > text_.size()) return std::nullopt;
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[pos_++];
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= static_cast<std::uint32_t>(c - 'A' + 10);
            else
                return std::nullopt;
        }
        return value;
    }

    // A \u escape, joining a surrogate pair into one code point.
    bool ParseUnicodeEscape(std::string& out) {
        std::optional<std::uint32_t> unit = ParseHex4();
        if (!unit) return false;
        std::uint32_t cp = *unit;
        if (cp >= 0xD800 && cp < 0xDC00 && Consume("\\u")) {
            std::optional<std::uint32_t> low = ParseHex4();
            if (!low) return false;
            if (*low >= 0xDC00 && *low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (*low - 0xDC00);
            } else {
                AppendCodePoint(out, 0xFFFD);
                cp = *low;
            }
        }
        if (cp >= 0xD800 && cp < 0xE000) cp = 0xFFFD;
        AppendCodePoint(out, cp);
        return true;
    }

    std::optional<std::string> ParseText() {
        ++pos_;  // opening quote
        std::string out;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) break;
            const char e = text_[pos_++];
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u':
                    if (!ParseUnicodeEscape(out)) {
                        Fail("bad \\u escape");
                        return std::nullopt;
                    }
                    break;
                default:
                    Fail("bad escape");
                    return std::nullopt;
            }
        }
        Fail("unterminated text");
        return std::nullopt;
    }

    std::optional<JsonValue> ParseNumber() {
        const std::size_t start = pos_;
        bool integral = true;
        if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c >= '0' && c <= '9') {
                ++pos_;
            } else if (c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-') {
                integral = false;
                ++pos_;
            } else {
                break;
            }
        }
        const std::string number(text_.substr(start, pos_ - start));
        if (number.empty() || number == "-") {
            Fail("unexpected character");
            return std::nullopt;
        }
        char* end = nullptr;
        if (integral) {
            const long long value = std::strtoll(number.c_str(), &end, 10);
            if (end && *end == '\0') return JsonValue(static_cast<std::int64_t>(value));
        } else {
            const double value = std::strtod(number.c_str(), &end);
            if (end && *end == '\0') return JsonValue(value);
        }
        Fail("bad number");
        return std::nullopt;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    std::string error_;
};

}  // namespace

JsonValue::JsonValue(std::wstring_view text) : kind_(Kind::Text), text_(LossyUtf8(text)) {}

std::optional<std::int64_t> JsonValue::AsInteger() const {
    if (kind_ == Kind::Integer) return integer_;
    if (kind_ == Kind::Real && std::isfinite(real_) && std::floor(real_) == real_)
        return static_cast<std::int64_t>(real_);
    return std::nullopt;
}

std::optional<bool> JsonValue::AsBool() const {
    if (kind_ == Kind::Bool) return flag_;
    return std::nullopt;
}

const JsonValue* JsonValue::Find(std::string_view name) const {
    const Object* object = AsObject();
    if (!object) return nullptr;
    const auto it = object->find(std::string(name));
    return it == object->end() ? nullptr : &it->second;
}

std::string JsonValue::Serialize() const {
    std::string out;
    SerializeTo(out);
    return out;
}

void JsonValue::SerializeTo(std::string& out) const {
    switch (kind_) {
        case Kind::Null:
            out += "null";
            break;
        case Kind::Bool:
            out += flag_ ? "true" : "false";
            break;
        case Kind::Integer:
            out += std::to_string(integer_);
            break;
        case Kind::Real: {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.17g", real_);
            out += buffer;
            break;
        }
        case Kind::Text:
            SerializeText(out, text_);
            break;
        case Kind::Array:
            out += '[';
            for (std::size_t i = 0; i < items_.size(); ++i) {
                if (i) out += ',';
                items_[i].SerializeTo(out);
            }
            out += ']';
            break;
        case Kind::Object: {
            out += '{';
            bool first = true;
            for (const auto& [name, value] : members_) {
                if (!first) out += ',';
                first = false;
                SerializeText(out, name);
                out += ':';
                value.SerializeTo(out);
            }
            out += '}';
            break;
        }
    }
}

std::optional<JsonValue> ParseJson(std::string_view text, std::string* error) {
    return Parser(text).ParseAll(error);
}
