#pragma once

#include "recipe/records.h"
#include "views/menuplan.h"

#include <QColor>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QAbstractItemModel;
class QAbstractItemView;

// The recipe list's part in the main window beyond its cells: the row finder, the keys that
// toggle a recipe in the menu plan, and the portions a listed recipe has in the menu plan.
namespace kovanta {

// The row finder's shading: light gray.
inline const QColor kRowFinderColor{230, 230, 230};
// The same as a grid colour (0x00BBGGRR).
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

// The row finder on a list grid (TAStringGrid or anything with the same setters): the switch
// and the colour, then a repaint. A template so that this layer needs not link the grid.
template <class Grid> void ApplyGridRowFinder(Grid& grid, bool on, TColor color = kRowFinderTColor)
{
    grid.SetMitZeilenFinder(on);
    grid.SetZeilFindColor(color);
    grid.viewport()->update();
}

// PlanPortions over the menu plan grid (rows 1 .. RowCount-1, entry in column 0, portions text
// in column 1, ANSI).
std::int32_t PlanPortionsInGrid(const TImpListInfo& recipe, const GridAccess& plan);

// Switches the row finder (alternating row shading in color) of one list on or off and repaints
// it. The main window applies it to the recipe list and the menu plan, never to the
// requirements list.
void ApplyRowFinder(QAbstractItemView& list, bool on, const QColor& color = kRowFinderColor);

// The space key (current column becomes 0) and a double-click on a row of list call onToggle,
// which posts the "toggle in plan" message. The space key is not passed on to the list.
// Safe to call once per list; the hooks live as long as the list.
void InstallTogglePlanTriggers(QAbstractItemView& list, std::function<void()> onToggle);

// PlanPortions over a menu plan model: a row's entry is the TImpListInfo pointer (void*) that
// column 0 holds under entryRole (rows without one hold none), its portions text the display
// text of portionsColumn. Nothing planned (or no model): 0.
std::int32_t PlanPortionsInModel(const TImpListInfo& recipe, const QAbstractItemModel* plan,
                                 int entryRole, int portionsColumn);

} // namespace kovanta
