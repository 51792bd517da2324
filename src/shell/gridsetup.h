#pragma once

#include "grid/astringgrid.h"

#include <QString>

class QTableView;
class QWidget;

namespace kovanta {

class RecipeListModel;

// The three list grids of the main window as TAStringGrids: StringGrid1 (recipe list),
// StringGrid2 (menu plan) and StringGrid3 (requirements list), each configured with its
// options and column definitions and with its stored column widths restored ("Sizes" under
// Software\kovanta\SDIAppForm\<name>, written back when the grid is destroyed).
//
// Creates the grid named name (one of the three) as a child of parent. The owner window must
// already carry its object name, which is part of the settings key.
TAStringGrid* CreateListGrid(const QString& name, QWidget* parent);

// The grid behind one of the main window's list views (nullptr for another view).
TAStringGrid* AsListGrid(QTableView* view);

// Keeps the recipe list grid filled from the model: every read (a model reset) puts the
// entries as row objects into the grid and fills their rows; a changed entry (dataChanged)
// refills its row wherever sorting has moved it. The entries stay owned by the model; the
// grid only points at them.
void BindRecipeList(TAStringGrid& grid, const RecipeListModel& model);

// The model index (0-based) of the entry in a recipe list grid row, or -1 without one.
int RecipeEntryIndexOfRow(const TAStringGrid& grid, const RecipeListModel& model, int gridRow);

} // namespace kovanta
