#include "primitives.h"

#include "recipe/rezeptimportproz.h"

#include <algorithm>

namespace kovanta::print {

std::int64_t DivideRoundHalfEven(std::int64_t value, std::int64_t divisor)
{
    std::int64_t q = value / divisor;
    std::int64_t r = value % divisor;
    // Floor division first, so that the remainder is never negative.
    if (r < 0) {
        --q;
        r += divisor;
    }
    const std::int64_t twice = 2 * r;
    if (twice > divisor || (twice == divisor && (q % 2) != 0))
        ++q;
    return q;
}

int TenthsToPixels(std::int64_t tenths, int dpi)
{
    return static_cast<int>(DivideRoundHalfEven(tenths * dpi, 254));
}

int MillimetresToPixels(std::int64_t millimetres, int dpi)
{
    return static_cast<int>(DivideRoundHalfEven(millimetres * dpi * 10, 254));
}

PrintFont PrintFontOf(int number)
{
    PrintFont font;
    font.face = std::string(kPrintFace);
    switch (number) {
    case 1:
        font.pointSize = 12;
        font.bold = true;
        font.italic = true;
        break;
    case 3:
        font.italic = true;
        break;
    case 5:
        font.pointSize = 6;
        break;
    case 6:
        font.pointSize = 10;
        break;
    case 7:
        font.bold = true;
        break;
    default: // 0, 2, 4 and every other number
        break;
    }
    return font;
}

void SetPrintFont(PrintCanvas& canvas, int number)
{
    canvas.SetFont(PrintFontOf(number));
}

PrintRect PageRectangle(const PrintCanvas& canvas, int marginMm)
{
    const int mx = MillimetresToPixels(marginMm, canvas.DpiX());
    const int my = MillimetresToPixels(marginMm, canvas.DpiY());
    const PrintSize page = canvas.PhysicalPageSize();
    const PrintSize printable = canvas.PrintableSize();
    const PrintPoint offset = canvas.PhysicalOffset();
    PrintRect rect;
    rect.left = std::max(0, mx - offset.x);
    rect.top = std::max(0, my - offset.y);
    rect.right = std::min(printable.width, page.width - mx - offset.x);
    rect.bottom = std::min(printable.height, page.height - my - offset.y);
    return rect;
}

void PrintTextLine(PrintCanvas& canvas, std::string_view text, PrintRect& rect, Align align)
{
    canvas.DrawText(rect, text, align);
    rect.top += canvas.TextHeight();
}

void PrintBottomLine(PrintCanvas& canvas, std::string_view text, PrintRect& rect, Align align)
{
    const int height = canvas.TextHeight();
    rect.bottom -= height;
    canvas.DrawText(PrintRect{rect.left, rect.bottom, rect.right, rect.bottom + height}, text,
                    align);
}

void PrintRule(PrintCanvas& canvas, PrintRect& rect, int gapTenths)
{
    const int gap = TenthsToPixels(gapTenths, canvas.DpiY());
    rect.top += gap;
    canvas.DrawLine(rect.left, rect.top, rect.right, rect.top);
    rect.top += gap;
}

void PrintBottomRule(PrintCanvas& canvas, PrintRect& rect, int gapTenths)
{
    const int gap = TenthsToPixels(gapTenths, canvas.DpiY());
    rect.bottom -= gap;
    canvas.DrawLine(rect.left, rect.bottom, rect.right, rect.bottom);
    rect.bottom -= gap;
}

void AdvanceMillimetres(const PrintCanvas& canvas, PrintRect& rect, int n)
{
    rect.top += MillimetresToPixels(n, canvas.DpiY());
}

int LineHeight(const PrintCanvas& canvas)
{
    return canvas.TextHeight();
}

bool PageFull(const PrintCanvas& canvas, const PrintRect& rect)
{
    const auto needed = DivideRoundHalfEven(static_cast<std::int64_t>(LineHeight(canvas)) * 3, 2);
    return needed > rect.bottom - rect.top;
}

namespace {

Align AlignmentOf(const std::string& alignment, std::size_t cell)
{
    if (cell >= alignment.size())
        return Align::Left;
    switch (alignment[cell]) {
    case 'c':
        return Align::Centre;
    case 'r':
        return Align::Right;
    default:
        return Align::Left;
    }
}

} // namespace

void PrintTableRow(PrintCanvas& canvas, const TableRow& row, PrintRect& rect)
{
    const int dpi = canvas.DpiX();
    std::int64_t totalTenths = 0;
    for (const TableCell& cell : row.cells)
        totalTenths += cell.widthTenths;
    const int totalWidth = TenthsToPixels(totalTenths, dpi);
    const int margin = TenthsToPixels(row.marginTenths, dpi);
    const std::size_t n = row.cells.size();
    bool ruled = row.ruleAbove || row.ruleBelow;
    for (std::size_t i = 0; i <= n && i < row.boundaries.size() && n > 0; ++i)
        ruled = ruled || row.boundaries[i] == '|';
    // Descenders and umlauts reach the very edges of a line; on a rule they would touch it.
    const int gap = ruled ? TenthsToPixels(kTextRuleGap, canvas.DpiY()) : 0;

    if (row.ruleAbove) {
        canvas.DrawLine(rect.left, rect.top, rect.left + totalWidth, rect.top);
        rect.top += 1;
    }
    const int rowTop = rect.top;
    int rowBottom = rowTop;
    std::vector<int> edges; // cell i's left edge, and the right edge of the last cell
    edges.reserve(n + 1);
    edges.push_back(rect.left);
    std::int64_t before = 0;
    for (std::size_t i = 0; i < n; ++i) {
        before += row.cells[i].widthTenths;
        edges.push_back(rect.left + TenthsToPixels(before, dpi));
        PrintRect box{edges[i] + margin, rowTop + gap, edges[i + 1] - margin, rect.bottom};
        PrintTextLine(canvas, row.cells[i].text, box, AlignmentOf(row.alignment, i));
        rowBottom = std::max(rowBottom, box.top + gap);
    }
    for (std::size_t i = 0; i <= n && i < row.boundaries.size() && n > 0; ++i) {
        if (row.boundaries[i] == '|')
            canvas.DrawLine(edges[i], rowTop, edges[i], rowBottom);
    }
    rect.top = rowBottom;
    if (row.ruleBelow) {
        canvas.DrawLine(rect.left, rect.top, rect.left + totalWidth, rect.top);
        rect.top += 1;
    }
}

std::string FitTextAtWord(const PrintCanvas& canvas, std::string_view text, int width)
{
    if (canvas.TextWidth(text) <= width)
        return std::string(text);
    constexpr std::string_view kEllipsis = "\x85"; // ANSI "…"
    const auto fits = [&](std::string_view head) {
        return canvas.TextWidth(std::string(head) + std::string(kEllipsis)) <= width;
    };
    const auto withEllipsis = [&](std::string_view head) {
        return std::string(TrimRight(head)) + std::string(kEllipsis);
    };
    // The longest run of whole words that fits.
    std::size_t best = std::string_view::npos;
    for (std::size_t blank = text.find(' '); blank != std::string_view::npos;
         blank = text.find(' ', blank + 1)) {
        const std::string_view head = TrimRight(text.substr(0, blank));
        if (head.empty())
            continue;
        if (!fits(head))
            break;
        best = blank;
    }
    if (best != std::string_view::npos)
        return withEllipsis(text.substr(0, best));
    // One word longer than the line: as many of its characters as fit.
    std::size_t length = 0;
    while (length < text.size() && fits(text.substr(0, length + 1)))
        ++length;
    return withEllipsis(text.substr(0, length));
}

void PageFooter(PrintCanvas& canvas, PrintRect& rect, int page, std::string_view rightText)
{
    PrintRect address = rect;
    PrintBottomLine(canvas, kMakerWebAddress, address, Align::Left);
    PrintRect right = rect;
    PrintBottomLine(canvas, rightText, right, Align::Right);
    PrintBottomLine(canvas, "Seite " + std::to_string(page), rect, Align::Centre);
    PrintBottomRule(canvas, rect, 10);
}

} // namespace kovanta::print
