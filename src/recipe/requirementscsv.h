#pragma once

#include "recipe/requirements.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The requirements list as a CSV file for ordering, in the form spreadsheets in a German locale
// open without an import dialog: UTF-8 with a byte order mark, ";" between fields, CR LF line
// ends, control characters as blanks, fields quoted as RFC 4180 says (a field holding ";" or a
// double quote is put in double quotes, its double quotes doubled). The first line is the header
// "Menge;Einheit;Artikel"; then one line per row; when the plan offers alternative articles a
// last line "Alternativartikel enthalten". Standard C++ only.
namespace kovanta {

// One row as exported. Texts are ANSI, as in the requirements records.
struct RequirementsCsvRow {
    double quantity = 0.0;
    std::string unit;
    std::string article;
};

inline constexpr std::string_view kCsvHeader = "Menge;Einheit;Artikel";
inline constexpr std::string_view kCsvAlternativesLine = "Alternativartikel enthalten";

// A quantity as a spreadsheet number: decimal comma, three decimals kept, no thousands
// separators, no blanks, rounded as the "Menge" column rounds. 7.5 -> "7,500", -2 -> "-2,000".
std::string CsvQuantityText(double quantity);

// One text field (UTF-8) as written: every control character (below U+0020, and U+007F; CR
// and LF too) a blank, as the window shows recipe texts (blankControls); quoted when it holds
// ";" or a double quote. A text that a spreadsheet would take for a formula (it begins with
// "=", "+", "-" or "@") gets a leading apostrophe, so that an article name from a downloaded
// recipe can never run as one.
std::string CsvTextField(std::string_view utf8);

// The whole file, byte order mark included.
std::string RequirementsCsv(const std::vector<RequirementsCsvRow>& rows, bool alternatives);

// The rows of a computed list, in list order.
std::vector<RequirementsCsvRow> RequirementsCsvRows(const RequirementsList& list);

// A "Menge" text as the user may have typed it into the list: blanks around it, an optional
// sign, digits with "." between thousands, an optional decimal comma with decimals ("7,5",
// " 1.234,500 ", "-3"). An empty text is 0 (the grid shows 0 as blank). Anything else: nothing.
std::optional<double> ParseQuantityText(std::string_view text);

} // namespace kovanta
