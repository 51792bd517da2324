#pragma once

#include "grid/astringgrid.h"
#include "recipe/records.h"
#include "views/menuplan.h"
#include "views/menuplangrids.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The recipe list's part in the main window beyond its cells: the row finder, the keys that
// toggle a recipe in the menu plan, and the portions a listed recipe has in the menu plan.
namespace kovanta {

// The row finder's shading, light gray, as a grid colour (0x00BBGGRR).
inline constexpr TColor kRowFinderTColor = 230 | (230 << 8) | (230 << 16);

// The column definitions of the recipe list grid StringGrid1, in the list grid's format:
// column 0 fixed, " S" (plan mark, drawn as a check box), "Rezept", "Rezeptgruppe",
// "Portionen", "kcal", "kJ", "BE", "Chol", "AZ", "WZ", "Filename", and the untitled entry index.
const std::vector<std::string>& RecipeListColNames();
inline constexpr int kRecipeListColumns = 13;

// The texts of recipe list row row (grid coordinates, row 1 = first recipe) from the entry in
// its column-0 object slot: " S" "1"/"0", names, the numbers as plain decimal integers (0
// included), the file name and the entry index. A row without an entry gets empty texts in
// every column, 0 included. Called after every read for every row, and for rows whose plan
// mark changed.
void FillRecipeListRow(GridAccess& list, int row);

// The row of the recipe list that becomes current after a read: the first row holding the
// same recipe as previous (the recipe that was current before the read, if any), else row 1;
// 0 when the list holds no recipe.
int CurrentRowAfterRead(const GridAccess& list, const TImpListInfo* previous);

// The row finder on a list grid: the switch and the colour, then a repaint.
void ApplyGridRowFinder(TAStringGrid& grid, bool on, TColor color = kRowFinderTColor);

// PlanPortions over the menu plan grid (rows 1 .. RowCount-1, entry in column 0, portions text
// in column 1, ANSI).
std::int32_t PlanPortionsInGrid(const TImpListInfo& recipe, const GridAccess& plan);

// The space key (current column becomes the first) and a double-click on a row of a list grid (not
// on its column headers, whose double-click sorts) call onToggle, which posts the "toggle in plan"
// message. Through the grid's OnKeyDown and OnDblClick events, replacing what they held, so
// that a list never has two toggles (one double-click toggling twice would undo itself).
void InstallTogglePlanTriggers(TAStringGrid& grid, std::function<void()> onToggle);

} // namespace kovanta
