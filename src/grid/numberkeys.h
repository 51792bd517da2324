#pragma once

#include "grid/core/numberentry.h"

#include <string_view>

class QKeyEvent;

namespace kovanta {

class TAInplaceEdit;
class TAStringGrid;

// The number kinds of the cell editor: a cell's value loaded, keys and pasted text applied to
// it by the fixed-point entry (grid::NumberEntry), the cell's limits (OnGetMinMaxValue), the
// letter-key calculations and the calculator key; the result shown in the editor with its
// caret and selection.
class NumberKeys {
public:
    NumberKeys(TAInplaceEdit& editor, TAStringGrid& grid) : editor_(editor), grid_(grid) {}

    int decimals() const { return entry_.decimals(); }
    void setDecimals(int decimals) { entry_.setDecimals(decimals); }
    void setMinusIgnore(bool on) { entry_.setMinusIgnore(on); }
    // The editor moves onto number cell (col, row) holding cellText: the value formatted with
    // the decimals, every character but the last selected.
    void load(std::string_view cellText, int col, int row);
    // One key. False when the key is the edit control's own (caret keys, copy, cut).
    bool keyPress(QKeyEvent* e);
    void paste(std::string_view clipboard);

private:
    // The entry takes the editor's text, caret and selection, and gives them back.
    void takeEditorState();
    void show();
    void applyLimits(int col, int row);

    TAInplaceEdit& editor_;
    TAStringGrid& grid_;
    grid::NumberEntry entry_{2};
};

} // namespace kovanta
