#pragma once

#include "print/document.h"
#include "print/primitives.h"
#include "recipe/records.h"

#include <string>
#include <string_view>
#include <vector>

// The three list printouts: the recipe list ("Rezeptliste"), the menu plan ("Speiseplan") and
// the requirements list ("Bedarfsliste"). Each is a table with a header row repeated on every
// page; the texts come from the list as it is shown (sorted as the user sorted it), so the
// window reads them from its grids and `rezeptur print` builds them the same way.
namespace kovanta::print {

// One data row of a list: its cell texts (ANSI), left to right. hasEntry is false for a menu
// plan row without a recipe; such rows are not printed.
struct ListRow {
    std::vector<std::string> cells;
    bool hasEntry = true;
};

// A list as shown: the header texts of the printed columns and the data rows.
struct ListTable {
    std::vector<std::string> header;
    std::vector<ListRow> rows;
};

// The printed columns of the recipe list are its RecipeListTexts() (recipe/records.h).
// The header texts of the printed columns of the recipe list, the menu plan and the
// requirements list, as their grids show them.
std::vector<std::string> RecipeListPrintHeader();
std::vector<std::string> MenuPlanPrintHeader();
std::vector<std::string> RequirementsPrintHeader();

// A quantity of the requirements list as printed: trimmed, and with a decimal separator, its
// trailing zeros and then a trailing separator removed ("  12,500" -> "12,5", "3,000" -> "3",
// "0,000" -> "0", which prints as an empty cell).
std::string PrintedQuantity(std::string_view cellText);

// The warning printed on every requirements page when the plan offers alternative articles.
inline constexpr std::string_view kAlternativesWarning =
    "A C H T U N G:   Alternativartikel enthalten!";

class ListPrintout : public Printout {
public:
    // Page title "Rezeptliste"; columns 32 mm, 32 mm and seven of 15 mm.
    static ListPrintout RecipeList(ListTable table);
    // Page title "Speiseplan"; columns 15 mm, 32 mm, 60 mm; rows without entry left out.
    static ListPrintout MenuPlan(ListTable table);
    // Page title "Bedarfsliste"; columns 17 mm, 17 mm, 60 mm; cells trimmed, quantities as
    // PrintedQuantity; with alternatives the warning line heads every page.
    static ListPrintout Requirements(ListTable table, bool alternatives);

    // Every page: the page frame, the warning (requirements only), the header row in font 3,
    // then data rows in font 4 until less than one and a half lines are left. A new page is
    // begun only while rows remain. A cell text that is exactly "0" prints empty.
    void PrintCopy(PrintCanvas& canvas, const PrintDate& date) const override;

    // The page title.
    std::string Title() const override { return title_; }
    // The rows as they will be printed (after leaving out, trimming and blanking).
    const std::vector<std::vector<std::string>>& PrintedRows() const { return rows_; }

private:
    ListPrintout() = default;
    void PrintRow(PrintCanvas& canvas, const std::vector<std::string>& texts, bool header,
                  PrintRect& rect) const;

    std::string title_;
    std::vector<int> widths_;
    std::vector<std::string> header_;
    std::vector<std::vector<std::string>> rows_;
    std::string headerAlignment_;
    std::string headerBoundaries_;
    std::string dataAlignment_;
    std::string dataBoundaries_;
    bool alternatives_ = false;
};

} // namespace kovanta::print
