#include "listprintouts.h"

#include "recipe/quantities.h"
#include "recipe/rezeptimportproz.h"

namespace kovanta::print {

namespace {

constexpr int kInnerMargin = 5;

std::string Blank0(std::string text)
{
    if (text == "0")
        text.clear();
    return text;
}

} // namespace

std::vector<std::string> RecipeListPrintHeader()
{
    return {"Rezept", "Rezeptgruppe", "Portionen", "kcal", "kJ", "BE", "Chol", "AZ", "WZ"};
}

std::vector<std::string> MenuPlanPrintHeader()
{
    return {"Portionen", "Rezept", "Gruppe"};
}

std::vector<std::string> RequirementsPrintHeader()
{
    return {"Menge", "Einheit", "Artikel"};
}

std::string PrintedQuantity(std::string_view cellText)
{
    return StripTrailingZeros(Trim(cellText));
}

ListPrintout ListPrintout::RecipeList(ListTable table)
{
    ListPrintout p;
    p.title_ = "Rezeptliste";
    p.widths_ = {320, 320, 150, 150, 150, 150, 150, 150, 150};
    p.headerAlignment_ = "cccccccccc";
    p.headerBoundaries_ = "|||||||||||";
    p.dataAlignment_ = "llrrrrrrrr";
    p.dataBoundaries_ = "|||||||||||";
    p.header_ = std::move(table.header);
    p.rows_.reserve(table.rows.size());
    for (ListRow& row : table.rows) {
        for (std::string& cell : row.cells)
            cell = Blank0(std::move(cell));
        p.rows_.push_back(std::move(row.cells));
    }
    return p;
}

ListPrintout ListPrintout::MenuPlan(ListTable table)
{
    ListPrintout p;
    p.title_ = "Speiseplan";
    p.widths_ = {150, 320, 600};
    p.headerAlignment_ = "ccc";
    p.headerBoundaries_ = "||||";
    p.dataAlignment_ = "rll";
    p.dataBoundaries_ = "|||||||||||";
    p.header_ = std::move(table.header);
    for (ListRow& row : table.rows) {
        if (!row.hasEntry)
            continue;
        for (std::string& cell : row.cells)
            cell = Blank0(std::move(cell));
        p.rows_.push_back(std::move(row.cells));
    }
    return p;
}

ListPrintout ListPrintout::Requirements(ListTable table, bool alternatives)
{
    ListPrintout p;
    p.title_ = "Bedarfsliste";
    p.widths_ = {170, 170, 600};
    p.headerAlignment_ = "rll";
    p.headerBoundaries_ = "||||";
    p.dataAlignment_ = "rll";
    p.dataBoundaries_ = "|  |";
    p.alternatives_ = alternatives;
    p.header_ = std::move(table.header);
    p.rows_.reserve(table.rows.size());
    for (ListRow& row : table.rows) {
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            std::string text =
                i == 0 ? PrintedQuantity(row.cells[i]) : std::string(Trim(row.cells[i]));
            row.cells[i] = Blank0(std::move(text));
        }
        p.rows_.push_back(std::move(row.cells));
    }
    return p;
}

void ListPrintout::PrintRow(PrintCanvas& canvas, const std::vector<std::string>& texts, bool header,
                            PrintRect& rect) const
{
    TableRow row;
    row.cells.resize(widths_.size());
    for (std::size_t i = 0; i < widths_.size(); ++i) {
        row.cells[i].widthTenths = widths_[i];
        if (i < texts.size())
            row.cells[i].text = texts[i];
    }
    row.marginTenths = kInnerMargin;
    row.alignment = header ? headerAlignment_ : dataAlignment_;
    row.boundaries = header ? headerBoundaries_ : dataBoundaries_;
    row.ruleAbove = header;
    row.ruleBelow = true;
    PrintTableRow(canvas, row, rect);
}

void ListPrintout::PrintCopy(PrintCanvas& canvas, const PrintDate& date) const
{
    int page = 1;
    std::size_t next = 0;
    for (;;) {
        PrintRect rect = PageFrame(canvas, title_, page, date);
        if (alternatives_) {
            SetPrintFont(canvas, 1);
            PrintTextLine(canvas, kAlternativesWarning, rect, Align::Centre);
            AdvanceMillimetres(canvas, rect, 3);
        }
        SetPrintFont(canvas, 3);
        PrintRow(canvas, header_, true, rect);
        SetPrintFont(canvas, 4);
        // At least one row per page, so that a page too small for any row cannot loop.
        while (next < rows_.size()) {
            PrintRow(canvas, rows_[next], false, rect);
            ++next;
            if (PageFull(canvas, rect))
                break;
        }
        if (next >= rows_.size())
            return;
        canvas.NewPage();
        ++page;
    }
}

} // namespace kovanta::print
