#include "grid/core/gridwidths.h"

#include "grid/core/cellrules.h"

#include <algorithm>
#include <cstdlib>

namespace kovanta::grid {

std::vector<int> parseSizes(std::string_view sizes)
{
    std::vector<int> widths;
    if (sizes.empty())
        return widths;
    std::size_t pos = 0;
    while (pos <= sizes.size()) {
        auto end = sizes.find(',', pos);
        if (end == std::string_view::npos)
            end = sizes.size();
        int w = parseInt(sizes.substr(pos, end - pos)).value_or(0);
        // A width above 1024 is a leftover of a broken value; fall back to a usable width.
        if (w > 1024)
            w = 64;
        widths.push_back(w);
        if (end == sizes.size())
            break;
        pos = end + 1;
    }
    return widths;
}

std::string formatSizes(const std::vector<int>& widths)
{
    std::string out;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        if (i > 0)
            out += ',';
        out += std::to_string(widths[i]);
    }
    return out;
}

int limitStoredWidth(int width, int gridWidth)
{
    return std::max(10, std::min(width, gridWidth - 15));
}

int fittedWidth(int designedWidth, int widestTextWidth, int gridWidth, int fixedColumnsWidth)
{
    const int wanted = std::max(designedWidth, widestTextWidth + 6);
    const int cap = std::max(designedWidth, gridWidth - 20 - fixedColumnsWidth);
    return std::min(wanted, cap);
}

std::optional<int> stretchedLastWidth(const std::vector<int>& widths, int designedLastWidth,
                                      char lastDatenTyp, bool lastResizable, int gridWidth)
{
    if (widths.size() < 2 || !lastResizable)
        return std::nullopt;
    if ((lastDatenTyp >= '0' && lastDatenTyp <= '9') ||
        std::string_view("BDPTX").find(lastDatenTyp) != std::string_view::npos)
        return std::nullopt;
    int s = 23;
    for (std::size_t i = 0; i + 1 < widths.size(); ++i)
        s += widths[i];
    if (designedLastWidth + s < gridWidth)
        return gridWidth - s;
    return std::nullopt;
}

DblClickHit headerHitTest(int x, int y, int c, int r, int cellRight, int cellBottom, int fixedCols)
{
    if (r > 0 && c >= 0 && c < fixedCols) {
        if (std::abs(y - cellBottom) <= 4)
            return {DblClickTarget::Row, r};
        return {};
    }
    if (r <= 0 && c < 0)
        return {DblClickTarget::AllColumns, -1};
    if (r <= 0 && c >= 0) {
        if (std::abs(x - cellRight) <= 4)
            return {DblClickTarget::Column, c};
        if (x <= 4)
            return {DblClickTarget::AllColumns, -1};
    }
    return {};
}

} // namespace kovanta::grid
