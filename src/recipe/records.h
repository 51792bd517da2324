#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The records that carry recipe data through the program: the row-object base of the list
// grids, one listed recipe, a menu plan copy of it and one requirements row. Texts are ANSI
// (Windows-1252) byte strings; conversion to Unicode happens at the user-interface boundary.
namespace kovanta {

// A colour as the grids store it: 0x00BBGGRR, or clNone for "not set".
using TColor = std::int32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0;

// Per-cell drawing hooks. The grid derives its painter from this (it knows the canvas); the
// core only keeps the pointer. Not owned by the row object that refers to it.
class CellPainter {
public:
    virtual ~CellPainter() = default;
};

// One entry of TGridInfo::CellColors: "font:selectedFont:background:frame" as four decimal
// colour numbers, plus an optional painter.
struct CellColorEntry {
    std::string Colors;
    CellPainter* Painter = nullptr; // not owned
};

// What GetCellColors reports for one cell. Colours that are not to be applied are clNone.
struct CellColorInfo {
    bool Found = false;         // false: no entry for the column; the grid paints as usual
    TColor Font = clNone;       // field 1 when not selected, field 2 when selected
    TColor Background = clNone; // field 3, only when not selected
    TColor Frame = clNone;      // field 4
    CellPainter* Painter = nullptr;
};

// Base of every row object a list grid holds in column 0 of a row.
class TGridInfo {
public:
    TGridInfo() = default;
    virtual ~TGridInfo() = default;
    TGridInfo(const TGridInfo&) = default;
    TGridInfo& operator=(const TGridInfo&) = default;

    TColor RowColor1 = clNone; // not read by the grids
    TColor RowColor2 = clNone; // not read by the grids
    // Per-column colours, entry i for column i; empty = none. Owned by the row object (the
    // painters in it are not).
    std::vector<CellColorEntry> CellColors;

    // Sets the entry of column col (negative col is ignored), adding "not set" entries before
    // it as needed.
    void SetCellColors(int col, TColor font, TColor selectedFont, TColor background, TColor frame,
                       CellPainter* painter = nullptr);

    // The colours to apply to cell col in the given selection state. An empty or unparsable
    // field reads as 0 (black); a field holding clNone is reported as clNone (not set).
    CellColorInfo GetCellColors(int col, bool selected) const;
};

// One recipe as listed: where it is stored, its names and its numbers.
class TImpListInfo : public TGridInfo {
public:
    std::uint16_t FileNumber = 0; // characters 5-8 of the file name
    std::uint16_t EntryIndex = 0; // 0: single-recipe file; 1..n: n-th index entry of a list file
    std::int32_t NameNumber = 0;
    std::int32_t Portions = 0;    // stored portions
    std::int32_t WorkMinutes = 0; // AZ
    std::int32_t WaitMinutes = 0; // WZ
    std::int32_t Kcal = 0;
    std::int32_t KJ = 0;
    std::int32_t BE = 0;
    std::int32_t Chol = 0;
    std::string DateText;    // at most 10 characters; empty for entries of list files
    std::string FileName;    // path of the recipe file, exactly as the scan found it
    std::int32_t InPlan = 0; // 1 while the recipe is in the menu plan
    std::string ShortName;   // trailing blanks removed, ANSI
    std::string GroupName;   // trailing blanks removed, ANSI
    std::string PortionText; // menu plan only: the portion text last entered; not copied

    // Copies everything listed except PortionText and the colours; a null source leaves the
    // entry unchanged.
    void CopyFrom(const TImpListInfo* source);

    // Same file number, name number, file name (exact, case-sensitive) and entry index.
    bool SameRecipe(const TImpListInfo& other) const;
};

// The texts the recipe list shows for a recipe, in its column order: Rezept, Rezeptgruppe,
// Portionen, kcal, kJ, BE, Chol, AZ, WZ, the numbers as plain decimal integers (0 included).
// The grid on screen adds the plan mark before them and the file name and entry index after;
// the printed list is these columns alone.
std::vector<std::string> RecipeListTexts(const TImpListInfo& entry);

// A menu plan entry: a copy of a listed recipe owned by the menu plan grid.
class TGridInfo1 : public TImpListInfo {};

// One row of the requirements list.
class TBedarfsGridinfo : public TGridInfo {
public:
    double Quantity = 0.0; // summed quantity in UnitName
    std::string Article;   // ANSI
    std::string UnitName;  // ANSI; empty for articles that come from text lines
};

// The alternative-word list: words of a text line's "^" segments that announce an alternative
// article rather than name one. Holds "oder". Lookup ignores case by the ANSI code page
// ("ODER", "Oder"), compares the whole word and does not trim.
bool IsAlternativeWord(std::string_view ansiWord);
const std::vector<std::string>& AlternativeWords();

// ANSI (Windows-1252) case folding, used for case-insensitive comparisons of ANSI texts.
char AnsiToLower(char c);
bool AnsiEqualsIgnoreCase(std::string_view a, std::string_view b);

} // namespace kovanta
