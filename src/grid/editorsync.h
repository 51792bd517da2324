#pragma once

#include <string>

namespace kovanta {

class TAInplaceEdit;
class TAStringGrid;

// The cell editor's account of where it stands and what it changed, from which the grid's
// notifications follow: OnEditChange when the text or the cell changed, OnExitEdit for every cell
// the editor left, OnLeaveRowInput once per row left, with whether the row was edited. Runs the
// queued items AG_SYNC_CELL, AG_EXIT_CELL and AG_LEAVE_ROW of its editor.
class EditorSync {
public:
    EditorSync(TAInplaceEdit& editor, TAStringGrid& grid) : editor_(editor), grid_(grid) {}

    // The synchronisation step: mode 0 normal, 1 focus lost, 2 start afresh. Ignored while
    // blocked (the editor is loading a cell, which is no edit).
    void sync(int mode);
    void setBlocked(bool on) { blocked_ = on; }
    // The cell-exit step for cell (col, row) of kind editArt.
    void exitCell(int editArt, int col, int row);
    void leaveRow(int row, bool changed);
    // The editor was placed over its cell; moved: it moved there from another cell, whose exit
    // is queued.
    void placed(bool moved);

    bool rowChanged() const { return rowChanged_; }
    void setRowChanged(bool on) { rowChanged_ = on; }
    // The editor stands where it was last synchronised, with that text.
    bool unchangedSince(const std::string& text) const;
    // A change the editor makes on its own (blanking a zero) is no edit: the text counts as
    // synchronised.
    void takeAsSynchronised(std::string text) { lastText_ = std::move(text); }

private:
    TAInplaceEdit& editor_;
    TAStringGrid& grid_;
    int lastCol_ = 0, lastRow_ = 0;
    std::string lastText_;
    bool rowChanged_ = false;
    bool blocked_ = false;
    int boundsCol_ = 0, boundsRow_ = 0;
};

} // namespace kovanta
