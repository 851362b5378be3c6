// The small JSON the dashboard and kvrns-cli speak to each other: a value
// tree, a strict reader with limits, and a writer for strings.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kvrns::owner {

class JsonValue {
public:
    using Array = std::vector<JsonValue>;
    using Object = std::map<std::string, JsonValue, std::less<>>;

    JsonValue() = default;  // null
    JsonValue(bool value) : value_(value) {}
    JsonValue(double value) : value_(value) {}
    JsonValue(std::string value) : value_(std::move(value)) {}
    JsonValue(Array value) : value_(std::move(value)) {}
    JsonValue(Object value) : value_(std::move(value)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(value_); }
    const bool* asBool() const { return std::get_if<bool>(&value_); }
    const double* asNumber() const { return std::get_if<double>(&value_); }
    const std::string* asString() const { return std::get_if<std::string>(&value_); }
    const Array* asArray() const { return std::get_if<Array>(&value_); }
    const Object* asObject() const { return std::get_if<Object>(&value_); }

    // A member of an object; null when this is no object or has no such member.
    const JsonValue* member(std::string_view name) const;

private:
    std::variant<std::monostate, bool, double, std::string, Array, Object> value_;
};

// Reads one whole JSON text. Nesting deeper than 16 levels is refused, so a
// hostile line cannot exhaust the stack.
std::optional<JsonValue> parseJson(std::string_view text, std::string* error = nullptr);

// A JSON string literal, quotes included. Valid UTF-8 passes through as it
// is; control characters and stray bytes are escaped, so the line always parses.
std::string quoteJson(std::string_view text);

}  // namespace kvrns::owner
