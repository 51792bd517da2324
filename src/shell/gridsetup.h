#pragma once

#include "grid/astringgrid.h"

#include <QString>

class QTableView;
class QWidget;

namespace kovanta {

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

} // namespace kovanta
