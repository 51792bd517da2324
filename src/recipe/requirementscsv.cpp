#include "recipe/requirementscsv.h"

#include "platform/codepage.h"
#include "platform/strings.h"
#include "recipe/quantities.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace kovanta {
namespace {

// Wide enough for every double a quantity can reach, so that no digit is cut off.
constexpr std::string_view kWideMask = "##############################.###";

std::string Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

} // namespace

std::string CsvQuantityText(double quantity)
{
    if (!std::isfinite(quantity))
        quantity = 0.0;
    return Trimmed(FormatMask(kWideMask, quantity));
}

std::string CsvTextField(std::string_view utf8)
{
    // Control characters (a NUL or DEL from a recipe file) are blanks, as the window shows
    // recipe texts; so no field holds a line break either.
    std::string plain(utf8);
    blankControls(plain);
    std::string text;
    if (!plain.empty() && (plain.front() == '=' || plain.front() == '+' || plain.front() == '-' ||
                           plain.front() == '@'))
        text += '\'';
    text += plain;
    if (text.find_first_of(";\"") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string RequirementsCsv(const std::vector<RequirementsCsvRow>& rows, bool alternatives)
{
    std::string out = "\xEF\xBB\xBF";
    out += kCsvHeader;
    out += "\r\n";
    for (const RequirementsCsvRow& row : rows) {
        out += CsvQuantityText(row.quantity);
        out += ';';
        out += CsvTextField(codepage::ansiToUtf8(row.unit));
        out += ';';
        out += CsvTextField(codepage::ansiToUtf8(row.article));
        out += "\r\n";
    }
    if (alternatives) {
        out += kCsvAlternativesLine;
        out += "\r\n";
    }
    return out;
}

std::vector<RequirementsCsvRow> RequirementsCsvRows(const RequirementsList& list)
{
    std::vector<RequirementsCsvRow> rows;
    rows.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        rows.push_back(RequirementsCsvRow{list[i].Quantity, list[i].UnitName, list[i].Article});
    return rows;
}

std::optional<double> ParseQuantityText(std::string_view text)
{
    const std::string t = Trimmed(text);
    if (t.empty())
        return 0.0;
    std::size_t i = 0;
    bool negative = false;
    if (t[i] == '+' || t[i] == '-')
        negative = t[i++] == '-';
    // Integer part: digits, "." only between groups of three.
    std::string digits;
    std::size_t group = 0;
    bool grouped = false;
    for (; i < t.size() && t[i] != ','; ++i) {
        if (t[i] >= '0' && t[i] <= '9') {
            digits += t[i];
            ++group;
        } else if (t[i] == '.' && group >= 1 && (!grouped || group == 3)) {
            grouped = true;
            group = 0;
        } else {
            return std::nullopt;
        }
    }
    if (digits.empty() || (grouped && group != 3))
        return std::nullopt;
    std::string decimals;
    if (i < t.size()) {
        for (++i; i < t.size(); ++i) {
            if (t[i] < '0' || t[i] > '9')
                return std::nullopt;
            decimals += t[i];
        }
        if (decimals.empty())
            return std::nullopt;
    }
    // Correctly rounded, whatever the machine's locale.
    const std::string plain = decimals.empty() ? digits : digits + "." + decimals;
    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace kovanta
