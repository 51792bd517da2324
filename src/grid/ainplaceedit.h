#pragma once

#include "grid/core/numberentry.h"

#include <QLineEdit>

#include <string>

namespace kovanta {

class TAStringGrid;

// TAInplaceEdit: the one in-place editor of a TAStringGrid, owned by the grid and moved from
// cell to cell. It keeps the cell text in step with what the user types, enforces the kind of
// its column (EditArt: fixed-point numbers, dates, times, text) and turns movements between
// cells and rows into the deferred notifications OnEditChange, OnExitEdit and OnLeaveRowInput
// of the grid. Number kinds forward every key to a grid::NumberEntry.
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
    int Decimals() const { return entry_.decimals(); }
    bool RowChanged() const { return rowChanged_; }
    void SetRowChanged(bool on) { rowChanged_ = on; }
    grid::KeyCalcSwitches KeyCalc;

    // The content loading: the editor moves onto its cell (SetCell) and takes its text.
    void LoadCell();
    // The synchronisation step (AG_SYNC_CELL), mode 0 normal, 1 focus lost, 2 start afresh.
    void SyncCell(int mode);
    // The cell-exit step (AG_EXIT_CELL) for cell (col, row) of kind editArt.
    void ExitCell(int editArt, int col, int row);
    // The placement over a cell. When the editor moved (rather than scrolled), the exit of
    // the previously placed cell is queued.
    void PlaceAt(const QRect& rect, bool moved);
    // Widening to the text (plus a pending character).
    void WidenToText(const QString& pending = {});

    // The ANSI editor text.
    std::string AnsiText() const;

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
    void applyKindLook();
    void setEntryText();
    void numberKeyPress(QKeyEvent* e, char key);
    bool dateTimeKey(QKeyEvent* e);
    void pasteClipboard();
    void onTextEdited();
    void updateValidityColour();
    void writeToCell();
    void setHintFromCell();
    void applyNumberLimits();

    TAStringGrid* grid_;
    grid::NumberEntry entry_;
    int editArt_ = 0;
    int col_ = 0, row_ = 0;
    int lastCol_ = 0, lastRow_ = 0, lastArt_ = 0;
    std::string lastText_;
    bool rowChanged_ = false;
    bool blocked_ = false;
    bool loading_ = false;
    bool validityColouring_ = false;
    std::string escapeText_;
    bool hasEscapeText_ = false;
    std::string focusText_;
    int boundsCol_ = 0, boundsRow_ = 0;
    int loadedCol_ = 0, loadedRow_ = 0;
    int widenedNextCol_ = -1;
    int baseWidth_ = 0;
};

} // namespace kovanta
