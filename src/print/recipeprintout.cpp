#include "recipeprintout.h"

#include "recipe/rezeptimportproz.h"

#include <algorithm>
#include <array>

namespace kovanta::print {

namespace {

constexpr int kInnerMargin = 5;
constexpr int kFirstBodyRow = 12;

// The cell list of the printout: texts and widths kept from row to row; a row sets the cells
// it uses and prints the first count of them.
class CellList {
public:
    CellList() : cells_{{{{}, 320}, {{}, 350}, {{}, 350}, {{}, 350}}} {}

    void Set(std::size_t i, std::string text, int widthTenths)
    {
        cells_[i].text = std::move(text);
        cells_[i].widthTenths = widthTenths;
    }
    void SetText(std::size_t i, std::string text) { cells_[i].text = std::move(text); }
    std::string& Text(std::size_t i) { return cells_[i].text; }

    void Print(PrintCanvas& canvas, std::size_t count, const std::string& alignment,
               PrintRect& rect) const
    {
        TableRow row;
        row.cells.assign(cells_.begin(), cells_.begin() + static_cast<std::ptrdiff_t>(count));
        row.alignment = alignment;
        row.marginTenths = kInnerMargin;
        PrintTableRow(canvas, row, rect);
    }

private:
    std::array<TableCell, 4> cells_;
};

// The value of a text row sits right-aligned in a cell of 10 mm after the 90 mm text cell. A
// value that needs more ("ca. 0090" in 8 pt) would lose its first characters to the clip, so
// its cell grows to the left by what it lacks and the text cell gives that up; the row keeps
// its width and the value its right edge.
constexpr int kTextCell = 900;
constexpr int kValueCell = 100;

int ValueCellWidth(const PrintCanvas& canvas, const std::string& value)
{
    const int dpi = canvas.DpiX();
    const std::int64_t pixels =
        canvas.TextWidth(value) + 2 * static_cast<std::int64_t>(TenthsToPixels(kInnerMargin, dpi));
    // In tenths, rounded up, and one more for the rounding of the cell edges.
    const auto needed = static_cast<int>((pixels * 254 + dpi - 1) / dpi) + 1;
    return std::clamp(needed, kValueCell, kTextCell);
}

std::string Trimmed(const std::string& text)
{
    return std::string(Trim(text));
}

// A text row whose text is a label ("Zubereitung:^"): the heading of the rows after it.
bool IsSectionHeading(const PrintGrid& g, int row)
{
    const std::string& kind = g.Cell(0, row);
    if (kind.empty() || kind[0] != ':')
        return false;
    std::string text = Trimmed(g.Cell(1, row));
    bool alternative = false;
    std::string rest = text;
    if (!SplitCaretSegment(rest, alternative).empty())
        return false;
    TextMarkers(text);
    return IsLabelText(text);
}

// True when a heading printed at rect would leave the page full: it would be the page's last
// line, cut off from the rows it heads.
bool HeadingWouldEndPage(PrintCanvas& canvas, PrintRect rect)
{
    SetPrintFont(canvas, 7);
    rect.top += LineHeight(canvas);
    const bool full = PageFull(canvas, rect);
    SetPrintFont(canvas, 4);
    return full;
}

// A body row (grid row 12 and on); the first character of column 0 tells its kind.
void PrintBodyRow(PrintCanvas& canvas, const PrintGrid& g, int row, CellList& cells,
                  std::string& alignment, PrintRect& rect)
{
    SetPrintFont(canvas, 4);
    const std::string& kind = g.Cell(0, row);
    if (kind.empty()) {
        // Widths as the rows before left them.
        for (std::size_t i = 0; i < 3; ++i)
            cells.SetText(i, g.Cell(static_cast<int>(i), row));
        cells.Print(canvas, 3, alignment, rect);
        return;
    }
    switch (kind[0]) {
    case '*':
        cells.Set(0, {}, 100);
        cells.Set(1, g.Cell(1, row) + " " + g.Cell(2, row) + " " + g.Cell(3, row), 900);
        alignment = "ll";
        cells.Print(canvas, 2, alignment, rect);
        return;
    case ':': {
        const std::string original = Trimmed(g.Cell(1, row));
        std::string text = original;
        bool alternative = false;
        std::string segment = SplitCaretSegment(text, alternative);
        if (!segment.empty()) {
            cells.Set(0, {}, 100);
            cells.SetText(2, {});
            cells.Set(1, std::move(segment), 900);
            for (std::string more = SplitCaretSegment(text, alternative); !more.empty();
                 more = SplitCaretSegment(text, alternative)) {
                cells.Text(1) += kSegmentSeparator;
                cells.Text(1) += more;
            }
            if (!text.empty()) {
                // The segments stopped at a label or an alternative word: what follows it
                // gets a row of its own.
                if (!cells.Text(1).empty())
                    cells.Print(canvas, 3, alignment, rect);
                cells.SetText(1, text);
            }
            cells.Print(canvas, 3, alignment, rect);
            return;
        }
        std::string u = original;
        const std::uint16_t markers = TextMarkers(u);
        const bool label = IsLabelText(u);
        if (label)
            SetPrintFont(canvas, 7);
        std::string value = (ShowsCirca(markers) ? "ca. " : "") + Trimmed(g.Cell(2, row));
        const int valueWidth = ValueCellWidth(canvas, value);
        cells.Set(0, {}, 50);
        cells.Set(1, std::move(u), kTextCell - (valueWidth - kValueCell));
        cells.Set(2, std::move(value), valueWidth);
        alignment = "llr";
        cells.Print(canvas, 3, alignment, rect);
        return;
    }
    default:
        cells.Set(0, g.Cell(0, row), 50);
        cells.Set(1, g.Cell(1, row), 900);
        alignment = "llll";
        cells.Print(canvas, 2, alignment, rect);
        return;
    }
}

} // namespace

void RecipePrintout::PrintCopy(PrintCanvas& canvas, const PrintDate& date) const
{
    const PrintGrid& g = grid_;
    CellList cells;
    std::string alignment;
    std::string description1, description2;
    int page = 1;
    int next = 1;
    const auto oneCell = [&](std::string text, PrintRect& rect) {
        cells.Set(0, std::move(text), 900);
        cells.Print(canvas, 1, alignment, rect);
    };

    for (;;) {
        PrintRect rect = PageFrame(canvas, "Rezeptausdruck", page, date);
        alignment = "llll";
        SetPrintFont(canvas, 3);
        if (page > 1 && !Trimmed(description1).empty()) {
            SetPrintFont(canvas, 6);
            PrintRule(canvas, rect, 10);
            std::string text = "Fortsetzung: " + Trimmed(description1);
            if (!Trimmed(description2).empty())
                text += " " + Trimmed(description2);
            // Clipped, the line would end in half a letter.
            const int room = TenthsToPixels(kTextCell, canvas.DpiX()) -
                             2 * TenthsToPixels(kInnerMargin, canvas.DpiX());
            oneCell(FitTextAtWord(canvas, text, room), rect);
            PrintRule(canvas, rect, 10);
        }
        SetPrintFont(canvas, 4);

        bool rowsOnPage = false;
        while (next < g.RowCount()) {
            if (rowsOnPage && next >= kFirstBodyRow && next + 1 < g.RowCount() &&
                IsSectionHeading(g, next) && HeadingWouldEndPage(canvas, rect))
                break;
            rowsOnPage = true;
            const int row = next++;
            switch (row) {
            case 1:
                oneCell(g.Cell(3, 1) + " (" + g.Cell(2, 1) + ") " + g.Cell(1, 1), rect);
                break;
            case 2:
                oneCell("Rezept: " + g.Cell(1, 2) + ",  Gruppe:" + g.Cell(2, 2), rect);
                break;
            case 3:
                AdvanceMillimetres(canvas, rect, 1);
                PrintRule(canvas, rect, 10);
                SetPrintFont(canvas, 6);
                description1 = g.Cell(1, 3);
                oneCell(g.Cell(1, 3), rect);
                if (!Trimmed(g.Cell(2, 3)).empty()) {
                    description2 = g.Cell(2, 3);
                    oneCell(g.Cell(2, 3), rect);
                }
                break;
            case 4:
                PrintRule(canvas, rect, 10);
                AdvanceMillimetres(canvas, rect, 1);
                SetPrintFont(canvas, 4);
                oneCell(g.Cell(1, 4) + " Portionen", rect);
                break;
            case 5:
                AdvanceMillimetres(canvas, rect, 1);
                oneCell("AZ=" + g.Cell(1, 6) + " WZ=" + g.Cell(1, 7) + " Kcal=" + g.Cell(1, 8) +
                            " KJ=" + g.Cell(1, 9) + " BE=" + g.Cell(1, 10) +
                            " Chol=" + g.Cell(1, 11),
                        rect);
                next = kFirstBodyRow;
                break;
            default:
                PrintBodyRow(canvas, g, row, cells, alignment, rect);
                break;
            }
            if (PageFull(canvas, rect))
                break;
        }
        if (next >= g.RowCount())
            return;
        canvas.NewPage();
        ++page;
    }
}

std::string RecipePrintout::Title() const
{
    const std::string name = Trimmed(grid_.Cell(1, 2));
    return name.empty() ? "Rezeptausdruck" : "Rezeptausdruck: " + name;
}

} // namespace kovanta::print
