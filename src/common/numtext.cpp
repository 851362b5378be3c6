#include "common/numtext.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kvrns {
namespace {

constexpr int kSignificantDigits = 15;
// 1.79769313486231E+308: the largest 15-digit decimal within double range.
constexpr int kMaxExponent = 308;
constexpr std::int64_t kMaxMantissa = 179769313486231;

// A finite value as mantissa * 10^(exponent - 14), mantissa holding exactly
// 15 decimal digits (or 0).
struct Decimal15 {
    bool negative = false;
    std::int64_t mantissa = 0;
    int exponent = 0;
};

Decimal15 toDecimal15(double value)
{
    Decimal15 d;
    if (value == 0.0 || !std::isfinite(value)) return d;
    d.negative = value < 0;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.*e", kSignificantDigits - 1, std::fabs(value));
    // buf: d.dddddddddddddde[+-]xx
    std::int64_t m = buf[0] - '0';
    const char* p = buf + 2;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) m = m * 10 + (*p - '0');
    d.mantissa = m;
    d.exponent = std::atoi(p + 1);
    return d;
}

std::int64_t pow10i(int n)
{
    std::int64_t r = 1;
    while (n-- > 0) r *= 10;
    return r;
}

// The value scaled by 10^decimals and rounded half away from zero, or
// nothing when it does not fit in 64 bits.
std::optional<std::int64_t> scaledRounded(const Decimal15& d, int decimals)
{
    const int shift = d.exponent - (kSignificantDigits - 1) + decimals;
    if (shift >= 0) {
        if (shift > 3) return std::nullopt;  // 10^15 * 10^4 nears the int64 limit
        return d.mantissa * pow10i(shift);
    }
    if (-shift > kSignificantDigits + 1) return 0;
    const std::int64_t divisor = pow10i(-shift);
    std::int64_t q = d.mantissa / divisor;
    if (2 * (d.mantissa % divisor) >= divisor) ++q;
    return q;
}

std::string withSeparator(std::string text, NumberLocale locale)
{
    for (char& c : text)
        if (c == '.') c = locale.decimalSeparator;
    return text;
}

}  // namespace

std::string formatFixed(double value, int decimals, NumberLocale locale)
{
    const Decimal15 d = toDecimal15(value);
    const auto scaled = scaledRounded(d, decimals);
    if (!scaled) {  // far beyond any reading; plain formatting is exact enough
        char buf[400];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
        return withSeparator(buf, locale);
    }
    std::string digits = std::to_string(*scaled);
    if (static_cast<int>(digits.size()) <= decimals)
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    std::string out = (d.negative && *scaled != 0) ? "-" : "";
    out += digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) {
        out += locale.decimalSeparator;
        out += digits.substr(digits.size() - static_cast<std::size_t>(decimals));
    }
    return out;
}

double roundHalfAway(double value, int decimals)
{
    const Decimal15 d = toDecimal15(value);
    const auto scaled = scaledRounded(d, decimals);
    if (!scaled) return value;
    const double magnitude = static_cast<double>(*scaled) / static_cast<double>(pow10i(decimals));
    return d.negative ? -magnitude : magnitude;
}

std::string shortestText(double value, NumberLocale locale)
{
    if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value > 0 ? "Infinity" : "-Infinity");
    Decimal15 d = toDecimal15(value);
    if (d.mantissa == 0) return "0";
    // Rounded to 15 digits the largest doubles would pass the double range
    // and read back as no number at all; keep them within it.
    if (d.exponent == kMaxExponent && d.mantissa > kMaxMantissa) d.mantissa = kMaxMantissa;
    std::string digits = std::to_string(d.mantissa);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = d.negative ? "-" : "";
    const int e = d.exponent;
    if (e >= kSignificantDigits || e < -4) {
        out += digits[0];
        if (digits.size() > 1) out += locale.decimalSeparator + digits.substr(1);
        char exp[16];
        std::snprintf(exp, sizeof exp, "E%c%02d", e < 0 ? '-' : '+', std::abs(e));
        return out + exp;
    }
    if (e < 0) {
        out += '0';
        out += locale.decimalSeparator;
        out.append(static_cast<std::size_t>(-e - 1), '0');
        return out + digits;
    }
    const auto intDigits = static_cast<std::size_t>(e) + 1;
    if (digits.size() <= intDigits) return out + digits + std::string(intDigits - digits.size(), '0');
    return out + digits.substr(0, intDigits) + locale.decimalSeparator + digits.substr(intDigits);
}

std::optional<double> parseNumber(std::string_view text, NumberLocale locale)
{
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (text.empty() || text.size() > 400) return std::nullopt;

    std::string normal;
    std::size_t i = 0;
    if (text[i] == '+' || text[i] == '-') normal += text[i++];
    bool digitsSeen = false, pointSeen = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digitsSeen = true;
            normal += c;
        } else if (c == locale.decimalSeparator && !pointSeen) {
            pointSeen = true;
            normal += '.';
        } else {
            break;
        }
    }
    if (!digitsSeen) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
        const std::size_t expStart = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) normal += text[i++];
        if (i == expStart) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;

    const char* first = normal.data();
    if (*first == '+') ++first;
    double value = 0;
    const auto [end, ec] = std::from_chars(first, normal.data() + normal.size(), value);
    if (ec != std::errc() || end != normal.data() + normal.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

double leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t digitsStart = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    std::size_t digitCount = i - digitsStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracStart = ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        digitCount += i - fracStart;
    }
    if (digitCount == 0) return 0.0;
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        const std::size_t expDigits = j;
        while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
        if (j > expDigits) end = j;
    }
    std::string number(text.substr(start, end - start));
    if (!number.empty() && number.front() == '+') number.erase(0, 1);
    if (number == "." || number == "-.") return 0.0;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // from_chars reports underflow and overflow alike; tell them apart.
        const bool negative = number.front() == '-';
        const double magnitude = std::strtod(number.c_str() + (negative ? 1 : 0), nullptr);
        if (magnitude == 0.0) return 0.0;
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    return value;
}

std::optional<int> toInt16(double value)
{
    if (!std::isfinite(value)) return std::nullopt;
    const double r = std::nearbyint(value);  // default rounding: halves to even
    if (r < -32768.0 || r > 32767.0) return std::nullopt;
    return static_cast<int>(r);
}

}  // namespace kvrns
