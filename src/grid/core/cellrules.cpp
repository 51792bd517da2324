#include "grid/core/cellrules.h"

#include <limits>

namespace kovanta::grid {

namespace {

// A decimal integer with optional leading blanks and sign, within [min, max].
std::optional<std::int64_t> parseDecimal(std::string_view text, std::int64_t min, std::int64_t max)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size())
        return std::nullopt;
    // Accumulated negatively so that the lowest value itself fits.
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        const int d = c - '0';
        if (value < (std::numeric_limits<std::int64_t>::min() + d) / 10)
            return std::nullopt;
        value = value * 10 - d;
    }
    if (!negative) {
        if (value == std::numeric_limits<std::int64_t>::min())
            return std::nullopt;
        value = -value;
    }
    if (value > max || value < min)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::int32_t> parseInt(std::string_view text)
{
    const auto v = parseDecimal(text, std::numeric_limits<std::int32_t>::min(),
                                std::numeric_limits<std::int32_t>::max());
    if (!v)
        return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

std::int64_t digitValue(std::string_view text)
{
    std::string digits;
    digits.reserve(text.size());
    for (char c : text) {
        if (c != kDecimalSeparator && c != '.')
            digits.push_back(c);
    }
    while (!digits.empty() && (digits.back() == ' ' || digits.back() == '\0'))
        digits.pop_back();
    return parseDecimal(digits, std::numeric_limits<std::int64_t>::min(),
                        std::numeric_limits<std::int64_t>::max())
        .value_or(0);
}

std::string toggledCheckBox(std::string_view text)
{
    return (digitValue(text) & 1) == 0 ? "1" : "0";
}

CellKind cellKindFor(char datenTyp)
{
    if (datenTyp >= '0' && datenTyp <= '9')
        return CellKind::Number;
    switch (datenTyp) {
    case 'R':
        return CellKind::Right;
    case 'C':
        return CellKind::Centre;
    case 'D':
        return CellKind::Date;
    case 'T':
        return CellKind::Time;
    case 'X':
        return CellKind::CheckBox;
    case 'B':
        return CellKind::Bitmap;
    case 'P':
        return CellKind::Counter;
    case 'M':
        return CellKind::MultiLeft;
    case 'N':
        return CellKind::MultiRight;
    default:
        return CellKind::Left;
    }
}

Align alignmentFor(CellKind kind)
{
    switch (kind) {
    case CellKind::Right:
    case CellKind::Number:
    case CellKind::Date:
    case CellKind::MultiRight:
        return Align::Right;
    case CellKind::Centre:
        return Align::Centre;
    default:
        return Align::Left;
    }
}

int editArtFor(char datenTyp)
{
    if (datenTyp >= '0' && datenTyp <= '9')
        return editart::Number0 + (datenTyp - '0');
    switch (datenTyp) {
    case 'R':
        return editart::RightText;
    case 'D':
        return editart::Date;
    case 'T':
        return editart::Time;
    case 'X':
        return editart::CheckBox;
    case 'B':
        return editart::Bitmap;
    case 'P':
        return editart::Counter;
    case 'M':
        return editart::MultiLeft;
    case 'N':
        return editart::MultiRight;
    default:
        return editart::Text;
    }
}

SortType sortTypeFor(char datenTyp)
{
    if (datenTyp >= '0' && datenTyp <= '9')
        return SortType::Number;
    if (datenTyp == 'D')
        return SortType::Date;
    return SortType::Text;
}

bool paintsBlank(char datenTyp, std::string_view text, int row, int fixedRows, bool blankNull)
{
    const CellKind kind = cellKindFor(datenTyp);
    if (kind == CellKind::CheckBox)
        return digitValue(text) == 255;
    if (!blankNull || row < fixedRows)
        return false;
    switch (kind) {
    case CellKind::Number:
    case CellKind::Date:
        return isZeroValue(text);
    case CellKind::Time: {
        // "12:30" reads as 1230 once its first ':' is gone.
        std::string t(text);
        if (const auto colon = t.find(':'); colon != std::string::npos)
            t.erase(colon, 1);
        return isZeroValue(t);
    }
    default:
        return false;
    }
}

int checkBoxPicture(std::string_view text, bool countsSelected)
{
    return (!text.empty() && text.front() == '1' ? 1 : 0) + (countsSelected ? 2 : 0);
}

bool rowFinderShade(int col, int row, int fixedCols, int fixedRows, bool mitZeilenFinder)
{
    return mitZeilenFinder && row >= fixedRows && col >= fixedCols && (row % 2) == 1;
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\r')
            lines.emplace_back();
        else if (c != '\n')
            lines.back().push_back(c);
    }
    return lines;
}

CellColourChoice chooseCellColours(const CellState& state, const SelectionSettings& s)
{
    CellColourChoice choice;
    if (state.fixed || (!state.selected && !state.focused))
        return choice;
    const bool highlightFocused = !s.hideSelektion || s.columnReadOnly;
    if (state.focused && highlightFocused) {
        choice.background = s.rowSelect && s.hasHideSelColor && !s.gridHasFocus
                                ? Background::HideSelColor
                                : Background::Highlight;
        choice.foreground = Foreground::HighlightText;
    } else if (s.hasHideSelColor) {
        // Focused in an editable column with HideSelektion, or selected only: the text keeps
        // the highlight text colour the selection is drawn with.
        choice.background = s.gridHasFocus ? Background::Highlight : Background::HideSelColor;
        choice.foreground = Foreground::HighlightText;
    }
    choice.checkBoxSelected = !s.editing || !state.focused;
    return choice;
}

} // namespace kovanta::grid
