#pragma once

#include "grid/core/numberentry.h"
#include "grid/editorsync.h"
#include "grid/numberkeys.h"

#include <QLineEdit>

#include <string>

namespace kovanta {

class TAStringGrid;

// TAInplaceEdit: the one in-place editor of a TAStringGrid, owned by the grid and moved from
// cell to cell. It keeps the cell text in step with what the user types and enforces the kind of
// its column (EditArt: fixed-point numbers, dates, times, text); number kinds forward every key
// to a grid::NumberEntry. Its EditorSync turns movements between cells and rows into the
// deferred notifications OnEditChange, OnExitEdit and OnLeaveRowInput of the grid.
class TAInplaceEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TAInplaceEdit(TAStringGrid* grid);

    TAStringGrid* Grid() const { return grid_; }
    int EditArt() const { return editArt_; }
    void SetEditArt(int editArt);
    int Col() const { return col_; }
    int Row() const { return row_; }
    void SetCell(int col, int row);
    // The cell whose text the editor loaded last (0, 0 before the first load).
    int LoadedCol() const { return loadedCol_; }
    int LoadedRow() const { return loadedRow_; }
    int Decimals() const { return numbers_.decimals(); }
    bool RowChanged() const { return sync_.rowChanged(); }
    void SetRowChanged(bool on) { sync_.setRowChanged(on); }
    grid::KeyCalcSwitches KeyCalc;

    // The content loading: the editor moves onto its cell (SetCell) and takes its text.
    void LoadCell();
    // The synchronisation step (AG_SYNC_CELL), mode 0 normal, 1 focus lost, 2 start afresh.
    void SyncCell(int mode) { sync_.sync(mode); }
    // The cell-exit step (AG_EXIT_CELL) for cell (col, row) of kind editArt.
    void ExitCell(int editArt, int col, int row) { sync_.exitCell(editArt, col, row); }
    // The placement over a cell. When the editor moved (rather than scrolled), the exit of
    // the previously placed cell is queued.
    void PlaceAt(const QRect& rect, bool moved);
    // Widening to the text (plus a pending character).
    void WidenToText(const QString& pending = {});

    // The ANSI editor text.
    std::string AnsiText() const;
    // Sets the text, keeping caret and selection where they are.
    void ReplaceText(const std::string& text);
    // OnIsGeburtsdatum's answer for a column (false when unassigned).
    bool IsBirthDateColumn(int col);

signals:
    // A key was refused because the number would have grown beyond its length or the cell's
    // limits (OnGetMinMaxValue); the editor beeps.
    void inputRefused();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    bool isNumber() const;
    bool isDate() const;
    bool isTime() const;
    void applyKindLook();
    bool dateTimeKey(QKeyEvent* e);
    void pasteClipboard();
    void updateValidityColour();
    void setBackground(const QColor& colour);
    void writeToCell();

    TAStringGrid* grid_;
    EditorSync sync_;
    NumberKeys numbers_;
    int editArt_ = 0;
    int col_ = 0, row_ = 0;
    bool loading_ = false;
    bool validityColouring_ = false;
    std::string escapeText_;
    bool hasEscapeText_ = false;
    std::string focusText_;
    int loadedCol_ = 0, loadedRow_ = 0;
    int widenedNextCol_ = -1;
    int baseWidth_ = 0;
};

} // namespace kovanta
