// The number conversions of the locale rules: any text and any double give
// an answer without crashing, and the conversions agree with each other.
#include <cfloat>
#include <cmath>
#include <cstring>

#include "common/numtext.h"
#include "fuzz_support.h"

namespace kvrns::fuzz {
namespace {

constexpr NumberLocale kLocales[] = {{'.'}, {','}};

std::string describe(double value)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", value);
    return buf;
}

void checkWritten(double value, NumberLocale locale)
{
    if (!std::isfinite(value)) {
        shortestText(value, locale);
        formatFixed(value, 2, locale);
        return;
    }
    const std::string shortest = shortestText(value, locale);
    const auto back = parseNumber(shortest, locale);
    check(back.has_value(), "shortestText(" + describe(value) + ") = '" + shortest + "' does not read back");
    check(std::fabs(*back - value) <= std::max(std::fabs(value) * 1e-14, DBL_TRUE_MIN),
          "shortestText(" + describe(value) + ") = '" + shortest + "' reads back as " + describe(*back));

    for (int decimals = 0; decimals <= 15; ++decimals) {
        const std::string fixed = formatFixed(value, decimals, locale);
        const auto read = parseNumber(fixed, locale);
        check(read.has_value(), "formatFixed(" + describe(value) + ", " + std::to_string(decimals) + ") = '" + fixed +
                                    "' does not read back");
        const double allowed = 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9) + std::fabs(value) * 1e-14;
        check(std::fabs(*read - value) <= allowed, "formatFixed(" + describe(value) + ", " + std::to_string(decimals) +
                                                       ") = '" + fixed + "' is too far from the value");
        const double rounded = roundHalfAway(value, decimals);
        check(std::isfinite(rounded) && std::fabs(rounded - value) <= allowed,
              "roundHalfAway(" + describe(value) + ", " + std::to_string(decimals) + ") = " + describe(rounded));
    }
    if (const auto whole = toInt16(value)) {
        check(*whole >= -32768 && *whole <= 32767 && std::fabs(*whole - value) <= 0.5,
              "toInt16(" + describe(value) + ") = " + std::to_string(*whole));
    } else {
        check(std::fabs(value) > 32767, "toInt16(" + describe(value) + ") refused a value in range");
    }
}

void checkText(std::string_view text)
{
    const double leading = leadingNumber(text);
    check(!std::isnan(leading), "leadingNumber('" + printable(text) + "') is NaN");
    for (const NumberLocale locale : kLocales) {
        const auto value = parseNumber(text, locale);
        if (!value) continue;
        check(std::isfinite(*value), "parseNumber('" + printable(text) + "') is not finite");
        // With "." as separator, a whole number text reads the same by both rules.
        if (locale.decimalSeparator == '.')
            check(leading == *value, "leadingNumber('" + printable(text) + "') = " + describe(leading) +
                                         " but parseNumber gives " + describe(*value));
        checkWritten(*value, locale);
    }
}

}  // namespace
}  // namespace kvrns::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kvrns::fuzz;
    checkText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        for (const kvrns::NumberLocale locale : kLocales) checkWritten(raw, locale);
    }
    return 0;
}
