#pragma once

#include "print/document.h"
#include "print/primitives.h"
#include "recipe/recipetext.h"

#include <string>
#include <utility>

// The recipe printout ("Rezeptausdruck"): one recipe from the print grid that FillPrintGrid
// filled (recipetext.h), with its head block, the figures line and the body rows over as many
// pages as needed; every further page starts with a continuation line naming the recipe.
namespace kovanta::print {

// Separates the article segments of one text line ("Salz^Pfeffer^") on paper.
inline constexpr std::string_view kSegmentSeparator = ", ";

class RecipePrintout : public Printout {
public:
    // An empty grid (nothing filled) prints one page with the frame alone.
    explicit RecipePrintout(PrintGrid grid) : grid_(std::move(grid)) {}

    // Head block (grid rows 1-4), the figures line (rows 6-11, in place of row 5), then body
    // rows 12 and on, each as one table row with inner margin 5 and no rules; font 4 unless a
    // row says otherwise. A page is full when less than one and a half lines are left; a new
    // page is begun only while grid rows remain. A section heading (a label row) that would be
    // the last line of a page begins the next page instead. The continuation line of a later
    // page ends at a word with "…" when it is longer than its cell.
    void PrintCopy(PrintCanvas& canvas, const PrintDate& date) const override;
    // "Rezeptausdruck: " and the recipe's name; "Rezeptausdruck" for an empty grid.
    std::string Title() const override;

private:
    PrintGrid grid_;
};

} // namespace kovanta::print
