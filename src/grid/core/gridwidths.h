#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Column widths of the grid: the stored "Sizes" value, the limits applied after loading, the
// stretching of the last column and the header double-click hit test. Widths are pixels.
namespace kovanta::grid {

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

} // namespace kovanta::grid
