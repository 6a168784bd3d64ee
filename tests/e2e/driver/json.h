// The small part of JSON the test driver speaks: one object per line in,
// one object per line out. Texts are UTF-8 here and UTF-16 at the Win32 side.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class JsonValue {
public:
    using Array = std::vector<JsonValue>;
    using Object = std::map<std::string, JsonValue>;

    JsonValue() = default;
    JsonValue(std::nullptr_t) {}
    JsonValue(bool value) : kind_(Kind::Bool), flag_(value) {}
    JsonValue(int value) : kind_(Kind::Integer), integer_(value) {}
    JsonValue(std::int64_t value) : kind_(Kind::Integer), integer_(value) {}
    JsonValue(std::uint32_t value) : kind_(Kind::Integer), integer_(value) {}
    JsonValue(double value) : kind_(Kind::Real), real_(value) {}
    JsonValue(std::string text) : kind_(Kind::Text), text_(std::move(text)) {}
    JsonValue(const char* text) : kind_(Kind::Text), text_(text) {}
    JsonValue(std::wstring_view text);
    JsonValue(Array items) : kind_(Kind::Array), items_(std::move(items)) {}
    JsonValue(Object members) : kind_(Kind::Object), members_(std::move(members)) {}

    bool IsNull() const { return kind_ == Kind::Null; }
    const std::string* AsText() const { return kind_ == Kind::Text ? &text_ : nullptr; }
    const Object* AsObject() const { return kind_ == Kind::Object ? &members_ : nullptr; }
    const Array* AsArray() const { return kind_ == Kind::Array ? &items_ : nullptr; }
    std::optional<std::int64_t> AsInteger() const;
    std::optional<bool> AsBool() const;

    // A member of an object; nullptr when this is no object or lacks it.
    const JsonValue* Find(std::string_view name) const;

    std::string Serialize() const;

private:
    void SerializeTo(std::string& out) const;

    // A plain tagged record: std::variant over these members trips a false
    // -Wmaybe-uninitialized in g++ 12.
    enum class Kind { Null, Bool, Integer, Real, Text, Array, Object };
    Kind kind_ = Kind::Null;
    bool flag_ = false;
    std::int64_t integer_ = 0;
    double real_ = 0;
    std::string text_;
    Array items_;
    Object members_;
};

// Parses one JSON text; nothing when it is malformed (with a reason in *error).
std::optional<JsonValue> ParseJson(std::string_view text, std::string* error);
