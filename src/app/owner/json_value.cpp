#include "app/owner/json_value.h"

#include <charconv>
#include <cstdio>

namespace kvrns::owner {
namespace {

constexpr int kMaxDepth = 16;

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<JsonValue> document(std::string* error)
    {
        auto value = parseValue(0);
        skipBlanks();
        if (value && pos_ != text_.size()) fail("unexpected text after the value");
        if (!error_.empty()) {
            if (error) *error = error_ + " at byte " + std::to_string(pos_);
            return std::nullopt;
        }
        return value;
    }

private:
    std::optional<JsonValue> fail(const std::string& message)
    {
        if (error_.empty()) error_ = message;
        return std::nullopt;
    }

    void skipBlanks()
    {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
            ++pos_;
    }

    bool take(char c)
    {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    bool word(std::string_view w)
    {
        if (text_.substr(pos_, w.size()) != w) return false;
        pos_ += w.size();
        return true;
    }

    std::optional<JsonValue> parseValue(int depth)
    {
        if (depth > kMaxDepth) return fail("nested too deeply");
        skipBlanks();
        if (pos_ >= text_.size()) return fail("a value is missing");
        const char c = text_[pos_];
        if (c == '{') return parseObject(depth);
        if (c == '[') return parseArray(depth);
        if (c == '"') {
            auto s = parseString();
            if (!s) return std::nullopt;
            return std::optional<JsonValue>(std::in_place, std::move(*s));
        }
        if (word("true")) return std::optional<JsonValue>(std::in_place, true);
        if (word("false")) return std::optional<JsonValue>(std::in_place, false);
        if (word("null")) return std::optional<JsonValue>(std::in_place);
        return parseNumber();
    }

    std::optional<JsonValue> parseNumber()
    {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && std::string_view("+-0123456789.eE").find(text_[pos_]) != std::string_view::npos)
            ++pos_;
        double value = 0;
        const auto [end, ec] = std::from_chars(text_.data() + start, text_.data() + pos_, value);
        if (start == pos_ || ec != std::errc() || end != text_.data() + pos_) {
            pos_ = start;
            return fail("not a JSON value");
        }
        return std::optional<JsonValue>(std::in_place, value);
    }

    std::optional<JsonValue> parseArray(int depth)
    {
        ++pos_;
        JsonValue::Array items;
        if (take(']')) return std::optional<JsonValue>(std::in_place, std::move(items));
        do {
            auto item = parseValue(depth + 1);
            if (!item) return std::nullopt;
            items.push_back(std::move(*item));
        } while (take(','));
        if (!take(']')) return fail("expected ',' or ']'");
        return std::optional<JsonValue>(std::in_place, std::move(items));
    }

    std::optional<JsonValue> parseObject(int depth)
    {
        ++pos_;
        JsonValue::Object members;
        if (take('}')) return std::optional<JsonValue>(std::in_place, std::move(members));
        do {
            skipBlanks();
            if (pos_ >= text_.size() || text_[pos_] != '"') return fail("expected a member name");
            auto name = parseString();
            if (!name) return std::nullopt;
            if (!take(':')) return fail("expected ':'");
            auto value = parseValue(depth + 1);
            if (!value) return std::nullopt;
            members.insert_or_assign(std::move(*name), std::move(*value));
        } while (take(','));
        if (!take('}')) return fail("expected ',' or '}'");
        return std::optional<JsonValue>(std::in_place, std::move(members));
    }

    std::optional<unsigned> hex4()
    {
        if (pos_ + 4 > text_.size()) return std::nullopt;
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, value, 16);
        if (ec != std::errc() || end != text_.data() + pos_ + 4) return std::nullopt;
        pos_ += 4;
        return value;
    }

    static void appendUtf8(std::string& out, unsigned cp)
    {
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

    bool escape(std::string& out)
    {
        if (pos_ >= text_.size()) return false;
        const char c = text_[pos_++];
        switch (c) {
            case '"': out += '"'; return true;
            case '\\': out += '\\'; return true;
            case '/': out += '/'; return true;
            case 'b': out += '\b'; return true;
            case 'f': out += '\f'; return true;
            case 'n': out += '\n'; return true;
            case 'r': out += '\r'; return true;
            case 't': out += '\t'; return true;
            case 'u': break;
            default: return false;
        }
        auto cp = hex4();
        if (!cp) return false;
        if (*cp >= 0xD800 && *cp < 0xDC00 && word("\\u")) {
            const auto low = hex4();
            if (!low || *low < 0xDC00 || *low > 0xDFFF) return false;
            *cp = 0x10000 + ((*cp - 0xD800) << 10) + (*low - 0xDC00);
        } else if (*cp >= 0xD800 && *cp <= 0xDFFF) {
            return false;
        }
        appendUtf8(out, *cp);
        return true;
    }

    std::optional<std::string> parseString()
    {
        ++pos_;
        std::string out;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) {
                fail("a control character inside a string");
                return std::nullopt;
            }
            if (c != '\\') {
                out += c;
            } else if (!escape(out)) {
                fail("a bad escape inside a string");
                return std::nullopt;
            }
        }
        fail("a string is not closed");
        return std::nullopt;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;
};

// The length of the valid UTF-8 sequence at `s`, or 0.
std::size_t utf8Length(std::string_view s)
{
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = b(0);
    std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (length == 0 || s.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((b(i) & 0xC0) != 0x80) return 0;
    if (length == 3 && ((lead == 0xE0 && b(1) < 0xA0) || (lead == 0xED && b(1) >= 0xA0))) return 0;
    if (length == 4 && ((lead == 0xF0 && b(1) < 0x90) || (lead == 0xF4 && b(1) >= 0x90))) return 0;
    return length;
}

}  // namespace

const JsonValue* JsonValue::member(std::string_view name) const
{
    const Object* object = asObject();
    if (!object) return nullptr;
    const auto found = object->find(name);
    return found == object->end() ? nullptr : &found->second;
}

std::optional<JsonValue> parseJson(std::string_view text, std::string* error)
{
    return Reader(text).document(error);
}

std::string quoteJson(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (const std::size_t n = c >= 0x80 ? utf8Length(text.substr(i)) : 0; n > 0) {
            out += text.substr(i, n);
            i += n;
            continue;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        }
        ++i;
    }
    return out + "\"";
}

}  // namespace kvrns::owner
