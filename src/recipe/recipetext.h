#pragma once

#include "recipe/records.h"
#include "recipe/rezeptimportproz.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One recipe turned into text: the formatted preview (shown in the preview pane, copied to the
// clipboard, printed by `rezeptur preview`) and the print grid the recipe printout is made
// from. Both read the recipe again from its file; nothing here knows about widgets.
//
// The text-line rules below work on the raw OEM bytes of a text line (the marker bytes are OEM
// values); the producers convert to ANSI after the rules have cut the pieces out.
namespace kovanta {

// ---------------------------------------------------------------------------------------------
// Text-line rules

// The text with its first "(!)" removed (nothing else is touched, blanks around it stay).
std::string StripExclMark(std::string_view text);

// A label is a text whose only "^" is its last character and whose part before it ends with
// ":" ("Für den Teig:^"). When the first "^" is the last character, text becomes the part
// before it, trimmed, and the result tells whether that part ends with ":"; otherwise text is
// left unchanged and the result is false.
bool IsLabelText(std::string& text);

// Cuts the next "^"-terminated segment off the front of text.
//  - no "^": text becomes empty, result empty;
//  - otherwise text becomes everything after the first "^", and the part before it, trimmed,
//    is the result, unless it is empty or ends with ":" (a label: result empty) or is an
//    alternative word (result empty; the first "oder" sets alternative).
// So an empty result with text left over means the splitting stopped at a label or an
// alternative word.
std::string SplitCaretSegment(std::string& text, bool& alternative);

// The marker word of a text line's text. text is trimmed first; then the marker bytes at fixed
// positions (1-based, counted in the trimmed text) are looked for in this order, each found one
// ORing its code into the word, being replaced by blanks and the text being trimmed again:
//   57: 0xE0 -> 1   59: 0xE3 -> 2   60: 0xF7 -> 3   61: 0xFE -> 4
//   62: 0xEE -> 5   63: 0xAD -> 6   64-65: "ca" -> 7
// A position is looked at only when the text, as it was at the start, reaches it and it still
// lies inside the text; positions beyond the text never match.
std::uint16_t TextMarkers(std::string& text);

// True when the value of the text line is to be shown with "ca." in front.
inline bool ShowsCirca(std::uint16_t markerWord)
{
    return (markerWord & 7) == 7;
}

// head line 3 + " (" + head line 2 + ") vom " + head line 1, each trimmed; unconverted.
std::string RecipeHeading(std::string_view line1, std::string_view line2, std::string_view line3);

// ---------------------------------------------------------------------------------------------
// Formatted preview

struct TextColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const TextColor&) const = default;
};
inline constexpr TextColor kTextBlack{0, 0, 0};
inline constexpr TextColor kTextNavy{0, 0, 128}; // article lines
inline constexpr TextColor kTextBlue{0, 0, 255}; // article segments of text lines

// One paragraph of the preview: one line of text with its attributes.
struct TextParagraph {
    std::string text; // ANSI; TAB moves to the next tab stop; never holds CR, LF or other
                      // control characters (they are shown as blanks)
    int pointSize = 8;
    bool bold = false;
    TextColor color = kTextBlack;
    bool operator==(const TextParagraph&) const = default;
};

// The whole formatted preview. Every paragraph uses the same tab stops.
struct RecipeText {
    std::vector<int> tabStops; // in points from the left margin, ascending
    std::vector<TextParagraph> paragraphs;
};

// No real recipe comes near this many body lines; a file that does (a damaged or foreign file of
// gigabytes) is shown up to here, so the preview and print grid stay within memory. The last
// line then says that the recipe was cut: kCutNotice (ANSI).
inline constexpr std::size_t kMaxBodyLines = 100000;
inline constexpr const char* kCutNotice = "... (Rezept gek\xFCrzt)";

// The tab stops of the preview, in points: 10, 20, 30, 260, then 400, 500, ... 2000.
const std::vector<int>& PreviewTabStops();

// Reads the recipe of entry again from its file and replaces target with its formatted preview
// for requestedPortions (0: the recipe is not in the menu plan; quantities stay as stored).
// When the file cannot be opened or does not hold the entry (OpenRecipe), returns false with
// *error (when given) telling why, and leaves target exactly as it was. The file is closed
// before returning, whatever happens.
//
// A body longer than kMaxBodyLines ends with one more paragraph, kCutNotice.
//
// A text line whose "^" segments stop at a label or an alternative word after at least one
// article segment ("Butter^oder^Margarine^") gets its remaining text, from that label or word
// on, as one more black line right after its blue lines, formed like a plain text line (bold
// when it is a label, then its value).
bool FillPreviewRich(const TRezeptImportProz& proz, const TImpListInfo& entry, RecipeText& target,
                     std::int32_t requestedPortions, RecipeOpenError* error = nullptr);

// The preview as plain text: the paragraphs joined by LF, no LF after the last one; non-breaking
// spaces (ANSI 0xA0) become blanks. This is what copying the whole preview puts on the
// clipboard as plain text.
std::string PlainText(const RecipeText& text);

// ---------------------------------------------------------------------------------------------
// Print grid

// The hidden four-column grid the recipe printout is made from. Row 0 is unused; cells are ANSI.
struct PrintGrid {
    static constexpr int kColumns = 4;
    using Row = std::array<std::string, kColumns>;
    std::vector<Row> rows; // rows.size() is the row count

    int RowCount() const { return static_cast<int>(rows.size()); }
    // The cell text, or an empty text for a cell outside the grid.
    const std::string& Cell(int col, int row) const;
};

// Reads the recipe of entry again from its file and refills target for requestedPortions:
//   row 1: head line 1, head line 2 trimmed, head line 3 trimmed (columns 1, 2, 3);
//   row 2: short name and group (head lines 4 and 5, columns 1-20, untrimmed);
//   row 3: the two description lines (head lines 6 and 7, columns 1-40, untrimmed);
//   row 4: the scaled portions as a decimal integer;
//   rows 5...: one row per body line, column 0 its kind character; article lines give
//     quantity, unit and article in columns 1-3, text lines their text and value (columns
//     2-5 untrimmed) in columns 1 and 2, other lines the whole line trimmed in column 1.
// A body longer than kMaxBodyLines ends with a row holding kCutNotice in column 1.
// The row count is one more than the last row written. When the file cannot be opened or does
// not hold the entry, returns false with *error (when given) telling why, and leaves target
// exactly as it was.
bool FillPrintGrid(const TRezeptImportProz& proz, const TImpListInfo& entry, PrintGrid& target,
                   std::int32_t requestedPortions, RecipeOpenError* error = nullptr);

} // namespace kovanta
