#pragma once

#include "print/canvas.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The print layout primitives every printout is built from (docs/printing.md). Measures are
// given in tenths of a millimetre (widths, margins, gaps) or in millimetres and converted with
// the device's resolution: horizontal measures with DpiX, vertical ones with DpiY, rounded to
// the nearest pixel, halves to even. The rectangle passed in is updated in place.
namespace kovanta::print {

// value / divisor rounded to the nearest integer, halves to the even neighbour. divisor > 0.
std::int64_t DivideRoundHalfEven(std::int64_t value, std::int64_t divisor);
// Tenths of a millimetre and millimetres as pixels at dpi.
int TenthsToPixels(std::int64_t tenths, int dpi);
int MillimetresToPixels(std::int64_t millimetres, int dpi);

// The font of a print font number:
//   0: 8 pt   1: 12 pt bold italic   2: 8 pt   3: 8 pt italic   4: 8 pt   5: 6 pt
//   6: 10 pt  7: 8 pt bold           any other number: 8 pt.
// The face is always kPrintFace (metric-compatible with Arial).
inline constexpr std::string_view kPrintFace = "Liberation Sans";
PrintFont PrintFontOf(int number);
void SetPrintFont(PrintCanvas& canvas, int number);

// The page rectangle: margin millimetres from every edge of the sheet, in the printable area's
// coordinates (the physical offsets subtracted, never below 0) and clipped to the printable
// width and height.
PrintRect PageRectangle(const PrintCanvas& canvas, int marginMm);

// Draws text at rect.top between rect.left and rect.right, clipped to rect; top moves down by
// the text height.
void PrintTextLine(PrintCanvas& canvas, std::string_view text, PrintRect& rect, Align align);
// Moves bottom up by the text height and draws text in the strip below it.
void PrintBottomLine(PrintCanvas& canvas, std::string_view text, PrintRect& rect, Align align);
// top moves down by gap, a line from left to right is drawn there, top moves down by gap again.
void PrintRule(PrintCanvas& canvas, PrintRect& rect, int gapTenths);
// The same upwards from bottom.
void PrintBottomRule(PrintCanvas& canvas, PrintRect& rect, int gapTenths);
// top moves down by n millimetres.
void AdvanceMillimetres(const PrintCanvas& canvas, PrintRect& rect, int n);
// The height of one line of text in the current font.
int LineHeight(const PrintCanvas& canvas);
// True when less room than one and a half lines of the current font is left between top and
// bottom: the page is full.
bool PageFull(const PrintCanvas& canvas, const PrintRect& rect);

// One table row: cells side by side, each with a text and a width.
struct TableCell {
    std::string text;
    int widthTenths = 0;
};
struct TableRow {
    std::vector<TableCell> cells;
    // One character per cell: 'c' centred, 'r' right, anything else or missing: left.
    std::string alignment;
    int marginTenths = 0; // inner margin on both sides of each cell's text
    // One character per cell boundary, boundary 0 the left edge of cell 0, boundary n the right
    // edge of the last cell: '|' draws a vertical rule there. Characters beyond n are ignored.
    std::string boundaries;
    bool ruleAbove = false;
    bool ruleBelow = false;
};

// Prints row at rect.top: the rule above (top moves 1 pixel), every cell's text with
// PrintTextLine in its text box (the cell narrowed by the margin on both sides), the vertical
// rules from the row's top to its bottom, then top becomes that bottom and the rule below is
// drawn there (top moves 1 pixel). Cell edges lie at the converted running sum of the widths,
// so they fall where the millimetres say however many cells precede them; a vertical rule lies
// on its cell edge, the margin away from the text.
//
// A row that draws any rule keeps its texts kTextRuleGap away from the rules above and below
// too: its texts begin that far below its top and its bottom lies that far below the lowest
// text. A row without rules is exactly as high as its tallest text.
inline constexpr int kTextRuleGap = 2; // tenths of a millimetre
void PrintTableRow(PrintCanvas& canvas, const TableRow& row, PrintRect& rect);

// text as it fits into width pixels in the current font: whole, or cut after the last word
// that still fits with "\x85" (ANSI "…") behind it; a first word too long on its own is cut
// between characters. Blanks before the cut are dropped.
std::string FitTextAtWord(const PrintCanvas& canvas, std::string_view text, int width);

// The footer, upwards from bottom: the maker's web address (left), rightText (right) and
// "Seite " + page (centred) on one line, then a rule with gap 10 above it. Uses the current
// font.
inline constexpr std::string_view kMakerWebAddress = "www.vemosoft.example";
void PageFooter(PrintCanvas& canvas, PrintRect& rect, int page, std::string_view rightText);

} // namespace kovanta::print
