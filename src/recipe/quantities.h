#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Numbers in recipe files and how quantities are scaled and shown. Every number with decimals
// is written with a decimal comma, whatever the machine's regional settings.
namespace kovanta {

// The integer-field rule of recipe files: every "," and "." is removed, trailing blanks and
// NUL characters are dropped, and the rest must be a signed decimal integer, optionally after
// leading blanks ("  -12", "+3"). Anything else, including a value outside 32 bits, is 0.
std::int32_t ParseIntField(std::string_view text);

// Writes value right-aligned in a field as wide as mask, with as many decimals as the mask has
// "#" after its ".", rounding decimal ties away from zero, and turns the decimal point into a
// comma. A number longer than the field is written whole, wider than the mask: no digit and
// no sign is ever cut off.
// FormatMask("######.###", 2.5) == "     2,500"; FormatMask("######.###", 1234567.5) ==
// "1234567,500". Negative zero is written without sign.
std::string FormatMask(std::string_view mask, double value);

// Removes trailing "0" from a text containing "." or ",", then a trailing "." or ",".
// "2,500" -> "2,5", "3,000" -> "3", "120" -> "120".
std::string StripTrailingZeros(std::string_view text);

// The base quantity of an article line (the line as read, any length; the compact layout is
// corrected first): amount (columns 2-10) / divisor (columns 18-21) / 100, rounded to two
// decimals; 0.01 when the divisor is below 1.
double LineQuantity(std::string_view articleLine);
// The same for a line whose compact layout is already corrected (a full-layout line, or
// ExpandCompactArticleLine's result); reads the fields in place, without copying the line.
double ExpandedLineQuantity(std::string_view expandedLine);

// Factor for preview, recipe text and print grid: requested / stored when both are non-zero,
// otherwise 1.0.
double ScaleFactor(std::int32_t storedPortions, std::int32_t requestedPortions);

// Factor for the requirements list: requested / stored when both are non-zero; nothing when
// either is 0 (the recipe then contributes nothing).
std::optional<double> RequirementsScaleFactor(std::int32_t storedPortions,
                                              std::int32_t requestedPortions);

// The display text of a scaled quantity: FormatMask("######.###", base * factor) with the
// trailing zeros and surrounding blanks removed. 1.25 x 2.5 -> "3,125".
std::string QuantityText(double baseQuantity, double factor);

// The portions shown with a recipe: stored x factor rounded to the nearest integer.
std::int64_t ScaledPortions(std::int32_t storedPortions, double factor);
// ScaledPortions as text followed by " Portionen", e.g. "25 Portionen".
std::string PortionsLine(std::int32_t storedPortions, double factor);

} // namespace kovanta
