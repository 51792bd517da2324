#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Column widths of the grid: the stored "Sizes" value, the limits applied after loading, the
// stretching of the last column, the header double-click hit test and the automatic widths.
// Widths are pixels.
namespace kovanta::grid {

// The room a cell needs around its text: the text starts 2 pixels in and ends 3 before the
// right edge, and the grid line takes one.
inline constexpr int kCellTextMargins = 6;

// "50,abc,2000" -> {50, 0, 64}: pieces read as decimal integers (0 when unreadable), values
// above 1024 become 64. An empty text gives no widths (nothing changes).
std::vector<int> parseSizes(std::string_view sizes);
std::string formatSizes(const std::vector<int>& widths);

// At least 10 and at most gridWidth - 15 (the minimum wins for very narrow grids).
int limitStoredWidth(int width, int gridWidth);

// The width a fitted column gets: the widest line (text width + 6) or the designed width,
// whichever is larger, capped so that a very wide text does not push the column past the grid:
// the cap is the grid width less 20 pixels and less the fixed columns, at least the designed
// width.
int fittedWidth(int designedWidth, int widestTextWidth, int gridWidth, int fixedColumnsWidth);

// The width the last column gets when stretched, or nullopt when it is not stretched: with at
// least 2 columns, a resizable text-kind last column whose designed width plus s (23 + the
// widths of all other columns) is less than the grid width becomes gridWidth - s.
std::optional<int> stretchedLastWidth(const std::vector<int>& widths, int designedLastWidth,
                                      char lastDatenTyp, bool lastResizable, int gridWidth);

// What a header double-click hits. (c, r) is the cell under (x - 4, y); cellRight/cellBottom
// are the right and bottom edges of that cell. c < 0 means right of the last column, r <= 0
// the header row (or above it).
enum class DblClickTarget { None, Row, Column, AllColumns };
struct DblClickHit {
    DblClickTarget target = DblClickTarget::None;
    int index = -1; // row or column
};
DblClickHit headerHitTest(int x, int y, int c, int r, int cellRight, int cellBottom, int fixedCols);

// ---- automatic widths ----------------------------------------------------------------------
// The widths of columns that nobody has sized (no stored widths, no widths set by the user):
// every caption whole, every text shown, and the width the view has over given to the text
// columns rather than to columns without a caption.

// Whether a column of this DatenTyp holds text: not a number (0..9), date, time, check box or
// bitmap.
bool isTextKind(char datenTyp);

// One column as the automatic widths see it. Widths in pixels.
struct AutoColumn {
    int designed = 0;   // the column definition's width (scaled)
    int caption = 0;    // what the header needs to show its caption whole; 0: no caption
    int content = 0;    // the widest cell text plus the cell's margins; 0: every cell empty
    bool fixed = false; // not resizable: its content does not count
    bool text = false;  // a text kind (not a number, date, time, check box or bitmap)
};

// What a column needs: a fixed one its designed width, or its caption's when that is wider;
// one without a caption its content (an
// empty one nothing); any other the largest of its designed width, its caption and its content,
// the content counted up to viewWidth (one long text must not push the others out of view;
// viewWidth <= 0: no limit).
int naturalColumnWidth(const AutoColumn& column, int viewWidth);

// The widths of all columns for a view viewWidth pixels wide: each column's natural width; what
// is left over is shared equally by the text columns that have a caption (the first ones get
// the odd pixels). When the natural widths do not fit, nothing is cut: the view scrolls.
std::vector<int> autoColumnWidths(const std::vector<AutoColumn>& columns, int viewWidth);

// The width of an ANSI text (the widest of its lines, split at CR; LF is not drawn) as the sum
// of the advances of its characters. A quick bound for picking the texts worth measuring with
// the real font: kerning only ever makes the real text a little narrower or wider.
double estimatedTextWidth(std::string_view text, const std::array<double, 256>& advances);

} // namespace kovanta::grid
