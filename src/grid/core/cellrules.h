#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rules that decide what a grid cell shows, as plain functions: the delegate calls them
// when painting and tests call them without painting. Texts are ANSI byte strings.
namespace kovanta::grid {

// The decimal separator of the program: always the comma, independent of regional settings.
inline constexpr char kDecimalSeparator = ',';

// A 32-bit decimal integer with optional leading blanks and sign; nullopt for anything else
// (trailing garbage, empty text, out of range).
std::optional<std::int32_t> parseInt(std::string_view text);

// The digit value of a cell text: every decimal separator and every "." removed, trailing
// blanks and NUL characters removed, the rest read as a decimal integer; 0 when that fails.
// "0,000", "00.00.00" and "" are all 0; "12,500" is 12500. Read in 64 bits: a quantity of
// 2.147.483,648 with three decimals is no zero.
std::int64_t digitValue(std::string_view text);

// Whether a text stands for zero (its digit value is 0): what number and date cells show blank
// with BlankNull, and what the number editor empties when it is left.
inline bool isZeroValue(std::string_view text)
{
    return digitValue(text) == 0;
}

// A check box cell clicked or toggled with a blank: "1" when its number was even, else "0".
std::string toggledCheckBox(std::string_view text);

// How a cell is drawn, from its column's data type.
enum class CellKind {
    Left,       // 'L' and every character not listed
    Right,      // 'R'
    Centre,     // 'C'
    Number,     // '0'..'9', right-aligned
    Date,       // 'D', right-aligned
    Time,       // 'T', left-aligned
    CheckBox,   // 'X'
    Bitmap,     // 'B'
    Counter,    // 'P' (bitmap, a click adds 1)
    MultiLeft,  // 'M'
    MultiRight, // 'N'
};

CellKind cellKindFor(char datenTyp);

enum class Align { Left, Right, Centre };
Align alignmentFor(CellKind kind);

// Editor kinds (EditArt).
namespace editart {
inline constexpr int Text = 0;
inline constexpr int Date = 1;
inline constexpr int Time = 2;
inline constexpr int CheckBox = 3;
inline constexpr int Bitmap = 4;
inline constexpr int MultiLeft = 5;
inline constexpr int MultiRight = 6;
inline constexpr int RightText = 7;
inline constexpr int Counter = 8;
inline constexpr int Number0 = 10; // 10..19: number with 0..9 decimals
} // namespace editart

int editArtFor(char datenTyp);
inline bool isNumberEditArt(int editArt)
{
    return editArt >= editart::Number0 && editArt <= editart::Number0 + 9;
}

// The sort type of a column: 0 text, 1 date, 2 number.
enum class SortType { Text = 0, Date = 1, Number = 2 };
SortType sortTypeFor(char datenTyp);

// Whether a cell is painted empty although it holds text. X columns blank "255" in every row;
// number, date and time columns blank a zero value with blankNull, below the fixed rows only.
bool paintsBlank(char datenTyp, std::string_view text, int row, int fixedRows, bool blankNull);

// The check-box picture: 0 empty, 1 checked, 2 empty selected, 3 checked selected.
int checkBoxPicture(std::string_view text, bool countsSelected);

// Whether a data cell gets the row-finder shade: odd data rows, never fixed cells.
bool rowFinderShade(int col, int row, int fixedCols, int fixedRows, bool mitZeilenFinder);

// The lines of a multi-line text: split at CR, every LF removed.
std::vector<std::string> splitLines(std::string_view text);

// Cell state bits as the painter sees them.
struct CellState {
    bool selected = false;
    bool focused = false;
    bool fixed = false;
};

// Which colours a cell is painted with (step "colours" of the painting).
enum class Background {
    Normal,       // grid colour, or the row-finder shade for odd data rows
    Highlight,    // the highlight colour
    HideSelColor, // the grid's HideSelColor
};
enum class Foreground { Normal, HighlightText };

struct CellColourChoice {
    Background background = Background::Normal;
    Foreground foreground = Foreground::Normal;
    // The check-box picture counts the cell as selected.
    bool checkBoxSelected = false;
};

struct SelectionSettings {
    bool hideSelektion = false;
    bool columnReadOnly = false;
    bool rowSelect = false;       // goRowSelect
    bool hasHideSelColor = false; // HideSelColor is not clNone
    bool gridHasFocus = false;
    bool editing = false; // goEditing
};

CellColourChoice chooseCellColours(const CellState& state, const SelectionSettings& settings);

} // namespace kovanta::grid
