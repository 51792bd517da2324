#include "recipe/quantities.h"

#include "recipe/rezeptimportproz.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kovanta {

std::int32_t ParseIntField(std::string_view text)
{
    // Works in place: "," and "." are skipped wherever they stand, which is the same as
    // removing them first. The scan runs for every number of every recipe file in a scan.
    const auto ignored = [](char c) { return c == ',' || c == '.'; };
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\0' || ignored(text[end - 1])))
        --end;
    std::size_t i = 0;
    while (i < end && (text[i] == ' ' || ignored(text[i])))
        ++i;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    bool digits = false;
    for (; i < end; ++i) {
        const char c = text[i];
        if (ignored(c))
            continue;
        if (c < '0' || c > '9')
            return 0;
        digits = true;
        value = value * 10 + (c - '0');
        // Beyond 32 bits the text is not an integer of the field; stop before int64 overflows.
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return 0;
    }
    if (!digits)
        return 0;
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return 0;
    return static_cast<std::int32_t>(value);
}

namespace {

// value with exactly `decimals` decimals and "." as point, ties rounded away from zero. Works
// on the shortest decimal text that reads back as value, so 2.675 rounds as the 2.675 a user
// typed, not as the binary number just below it.
std::string FixedDecimals(double value, std::size_t decimals)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    char buf[400];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed);
    std::string digits(buf, res.ptr);
    const auto dot = digits.find('.');
    std::string intPart = dot == std::string::npos ? digits : digits.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : digits.substr(dot + 1);

    bool roundUp = false;
    if (frac.size() > decimals) {
        roundUp = frac[decimals] >= '5';
        frac.resize(decimals);
    } else {
        frac.append(decimals - frac.size(), '0');
    }
    std::string all = intPart + frac;
    if (roundUp) {
        std::size_t k = all.size();
        while (k > 0) {
            --k;
            if (all[k] == '9') {
                all[k] = '0';
            } else {
                ++all[k];
                break;
            }
            if (k == 0) {
                all.insert(all.begin(), '1');
                break;
            }
        }
    }
    const bool zero = all.find_first_not_of('0') == std::string::npos;
    std::string out;
    if (value < 0 && !zero)
        out.push_back('-');
    const std::size_t intLen = all.size() - decimals;
    out.append(all, 0, intLen);
    if (decimals > 0) {
        out.push_back('.');
        out.append(all, intLen, decimals);
    }
    return out;
}

} // namespace

std::string FormatMask(std::string_view mask, double value)
{
    const std::size_t width = mask.size();
    const auto dot = mask.find('.');
    const std::size_t decimals = dot == std::string_view::npos ? 0 : width - (dot + 1);
    std::string text = FixedDecimals(value, decimals);
    if (text.size() < width)
        text.insert(0, width - text.size(), ' ');
    const auto point = text.find('.');
    if (point != std::string::npos)
        text[point] = ',';
    return text;
}

std::string StripTrailingZeros(std::string_view text)
{
    std::string out(text);
    if (out.find_first_of(".,") == std::string::npos)
        return out;
    while (!out.empty() && out.back() == '0')
        out.pop_back();
    if (!out.empty() && (out.back() == '.' || out.back() == ','))
        out.pop_back();
    return out;
}

double LineQuantity(std::string_view articleLine)
{
    return ExpandedLineQuantity(ExpandCompactArticleLine(articleLine));
}

double ExpandedLineQuantity(std::string_view line)
{
    const std::int64_t divisor = ParseIntField(Columns(line, 18, 21));
    if (divisor < 1)
        return 0.01;
    const std::int64_t amount = ParseIntField(Columns(line, 2, 10));
    // amount / divisor / 100 rounded to two decimals is amount / divisor rounded to an integer,
    // hundredths; done in integers so that no tie is lost to binary fractions.
    const std::int64_t magnitude = amount < 0 ? -amount : amount;
    std::int64_t hundredths = magnitude / divisor;
    if ((magnitude % divisor) * 2 >= divisor)
        ++hundredths;
    if (amount < 0)
        hundredths = -hundredths;
    return static_cast<double>(hundredths) / 100.0;
}

double ScaleFactor(std::int32_t storedPortions, std::int32_t requestedPortions)
{
    if (storedPortions == 0 || requestedPortions == 0)
        return 1.0;
    return static_cast<double>(requestedPortions) / static_cast<double>(storedPortions);
}

std::optional<double> RequirementsScaleFactor(std::int32_t storedPortions,
                                              std::int32_t requestedPortions)
{
    if (storedPortions == 0 || requestedPortions == 0)
        return std::nullopt;
    return static_cast<double>(requestedPortions) / static_cast<double>(storedPortions);
}

std::string QuantityText(double baseQuantity, double factor)
{
    return std::string(Trim(StripTrailingZeros(FormatMask("######.###", baseQuantity * factor))));
}

std::int64_t ScaledPortions(std::int32_t storedPortions, double factor)
{
    const double scaled = std::round(static_cast<double>(storedPortions) * factor);
    if (std::isnan(scaled))
        return 0;
    // Factors come from 32-bit portion counts, but clamp anyway: llround of an out-of-range
    // value is undefined.
    constexpr double kLimit = 9.0e18;
    if (!(scaled > -kLimit))
        return static_cast<std::int64_t>(-kLimit);
    if (!(scaled < kLimit))
        return static_cast<std::int64_t>(kLimit);
    return static_cast<std::int64_t>(scaled);
}

std::string PortionsLine(std::int32_t storedPortions, double factor)
{
    return std::to_string(ScaledPortions(storedPortions, factor)) + " Portionen";
}

} // namespace kovanta
