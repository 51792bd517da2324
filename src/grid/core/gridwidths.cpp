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
    const int wanted = std::max(designedWidth, widestTextWidth + kCellTextMargins);
    const int cap = std::max(designedWidth, gridWidth - 20 - fixedColumnsWidth);
    return std::min(wanted, cap);
}

std::optional<int> stretchedLastWidth(const std::vector<int>& widths, int designedLastWidth,
                                      char lastDatenTyp, bool lastResizable, int gridWidth)
{
    if (widths.size() < 2 || !lastResizable || !isTextKind(lastDatenTyp))
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

bool isTextKind(char datenTyp)
{
    return !(datenTyp >= '0' && datenTyp <= '9') &&
           std::string_view("BDPTX").find(datenTyp) == std::string_view::npos;
}

int naturalColumnWidth(const AutoColumn& column, int viewWidth)
{
    if (column.fixed)
        return std::max(column.designed, column.caption);
    const int content = viewWidth > 0 ? std::min(column.content, viewWidth) : column.content;
    if (column.caption <= 0)
        return content;
    return std::max({column.designed, column.caption, content});
}

std::vector<int> autoColumnWidths(const std::vector<AutoColumn>& columns, int viewWidth)
{
    std::vector<int> widths;
    widths.reserve(columns.size());
    int total = 0;
    int growing = 0;
    for (const AutoColumn& c : columns) {
        widths.push_back(naturalColumnWidth(c, viewWidth));
        total += widths.back();
        if (c.text && !c.fixed && c.caption > 0)
            ++growing;
    }
    const int extra = viewWidth - total;
    if (extra <= 0 || growing == 0)
        return widths;
    const int share = extra / growing;
    int odd = extra % growing;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const AutoColumn& c = columns[i];
        if (!c.text || c.fixed || c.caption <= 0)
            continue;
        widths[i] += share + (odd > 0 ? 1 : 0);
        if (odd > 0)
            --odd;
    }
    return widths;
}

double estimatedTextWidth(std::string_view text, const std::array<double, 256>& advances)
{
    double widest = 0;
    double line = 0;
    for (const char c : text) {
        if (c == '\r') {
            widest = std::max(widest, line);
            line = 0;
        } else if (c != '\n') {
            line += advances[static_cast<unsigned char>(c)];
        }
    }
    return std::max(widest, line);
}

} // namespace kovanta::grid
