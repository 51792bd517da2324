#pragma once

#include "grid/core/cellrules.h"
#include "recipe/records.h"

#include <QPixmap>

#include <cstdint>
#include <functional>
#include <string>

class QPainter;
class QRect;

namespace kovanta {

class TAInplaceEdit;
class TAStringGrid;

// The events of TAStringGrid, all optional: an empty one is skipped. TAStringGrid inherits
// them, so that they are set on the grid by their names (grid->OnExitEdit = ...); the grid
// raises them after its own work, Sender first.
struct StringGridEvents {
    std::function<void(TAStringGrid*, int col, int row, bool& canEdit)> OnCanCellEdit;
    std::function<void(TAStringGrid*, int enterRow, int& col)> OnEnterRowInput;
    std::function<void(TAStringGrid*, int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(TAStringGrid*, int col, int row, int& editArt)> OnGetEditorArt;
    std::function<void(TAStringGrid*, int col, int row, std::string& text, bool& canDraw)>
        OnGetDrawCellText;
    std::function<void(TAStringGrid*, int col, int row, QPixmap& graphic)> OnGetDrawBitmap;
    std::function<void(TAStringGrid*, int col, int row, QPainter&, const QRect&,
                       const grid::CellState&)>
        OnDrawCell;
    std::function<void(TAStringGrid*, int col, int row, std::string& hint, bool& show)>
        OnGetHintText;
    // Asked when the mouse moves over a cell: whether the column's border may be dragged.
    std::function<void(TAStringGrid*, int col, int row, bool& canSize)> OnCanColSizing;
    std::function<void(TAStringGrid*, int col, int row, char sortTyp, char datenTyp, char readOnly,
                       char colSizing, std::uint8_t minWidth)>
        OnMoveNewCell;
    // Raised by the editor (Sender = the editor).
    std::function<void(TAInplaceEdit*, int col, int row, std::string& editText, bool newCell)>
        OnEditChange;
    std::function<void(TAInplaceEdit*, int col, int row, int editArt, std::string& editText)>
        OnExitEdit;
    std::function<void(TAInplaceEdit*, int leaveRow, bool changed)> OnLeaveRowInput;
    std::function<void(TAInplaceEdit*, int& key)> OnCursorUpDown;
    std::function<void(TAInplaceEdit*, int col, int row, int& key)> OnReturnKeyDown;
    std::function<bool(QObject*, int col)> OnIsGeburtsdatum;
    // The values a number cell accepts while typing, asked when the editor moves onto it:
    // setting limited makes the editor refuse (with a beep) a key that would take the value
    // below minValue or above maxValue. Unassigned: no limit beyond the entry's length.
    std::function<void(TAStringGrid*, int col, int row, double& minValue, double& maxValue,
                       bool& limited)>
        OnGetMinMaxValue;
    // Sorting.
    std::function<void(TAStringGrid*, int sortAb, int sortZahl, bool& allowSort)> OnSortBegin;
    std::function<void(TAStringGrid*, int sortCol, int sortRow, std::string& tx1, std::string& tx2,
                       TGridInfo*& obj1, TGridInfo*& obj2, int& sortType, int& sortArt)>
        OnSortCompare;
    std::function<void(TAStringGrid*, int sortAb, int sortZahl)> OnSortEnde;
    // After the grid's own handling of the same occurrence.
    std::function<void(TAStringGrid*, int& key, Qt::KeyboardModifiers)> OnKeyDown;
    std::function<void(TAStringGrid*, char& key)> OnKeyPress;
    std::function<void(TAStringGrid*)> OnDblClick;
    std::function<void(TAStringGrid*)> OnClick;
    std::function<void(TAStringGrid*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)>
        OnMouseDown;
    std::function<void(TAStringGrid*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)>
        OnMouseUp;
    std::function<void(TAStringGrid*, Qt::KeyboardModifiers, int x, int y)> OnMouseMove;
    std::function<void(TAStringGrid*)> OnEnter;
    std::function<void(TAStringGrid*)> OnExit;
    std::function<void(TAStringGrid*, int from, int to)> OnColumnMoved;
    // The number the row finder's shading counts a data row by: the row itself while unset. A
    // list that hides rows hands in each row's place among the shown rows (1 for the first), so
    // that the shading keeps alternating.
    std::function<int(int row)> RowFinderPosition;
};

} // namespace kovanta
