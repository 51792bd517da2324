#pragma once

#include <QObject>
#include <QPoint>

#include <functional>
#include <string_view>

class QKeyEvent;
class QModelIndex;
class QMouseEvent;

namespace kovanta {

class TAInplaceEdit;
class TAStringGrid;

// What the user does to a TAStringGrid with keyboard and mouse, and its cell editor: cell
// selection (OnCanCellEdit, OnEnterRowInput, OnSelectCell, skipping read-only columns), the
// editor that follows the current cell, Enter as Tab, check box toggles, clicks, header
// double-clicks (sort or fit), rows dragged by their header, and the deferred grid items.
class StringGridInput : public QObject {
    Q_OBJECT
public:
    explicit StringGridInput(TAStringGrid* grid);

    TAInplaceEdit* editor() const { return editor_; }
    bool editorMode() const { return editorMode_; }
    void setEditorMode(bool on);
    bool canEditShow() const;

    // The editor over the current cell, placed again after the view moved; moved: the editor
    // moved onto another cell.
    void placeEditor(bool moved = false);
    // After rows moved under the current cell: the editor takes the current cell again.
    void resyncEditor();
    // After a sort: the followed row's new place becomes current, without a selection event.
    void followRow(int col, int row);
    // A cell changed by code under the editor is shown in the editor at once.
    void cellWritten(int col, int row, std::string_view text);
    void optionsChanged();
    void keyCalcChanged();

    // The view's events; the bool ones return true when the event was taken.
    bool gridEvent(QEvent* e);
    void currentChanged(const QModelIndex& current, const QModelIndex& previous);
    bool keyPressed(QKeyEvent* e);
    void mousePressed(QMouseEvent* e, const std::function<void()>& viewPress);
    void mouseReleased(QMouseEvent* e);
    void doubleClicked(QPoint gridPos);
    void gridFocused();

    // Used by the editor.
    void setSelectionJustChanged(bool on) { selectionJustChanged_ = on; }
    // A key the editor hands on to the grid (Tab, arrows between cells).
    void editorKey(QKeyEvent* event);
    // The toggle of a check box cell, by a click or a blank: the editor follows it.
    void toggleCell(int col, int row, bool byKey);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void ensureEditor();
    void updateEditor();
    void onFocusChanged(QWidget* now);
    void onRowSectionMoved(int oldVisual, int newVisual);
    int skipReadOnly(int col);

    TAStringGrid* grid_;
    TAInplaceEdit* editor_ = nullptr;
    bool editorMode_ = false;
    bool selectionJustChanged_ = false;
    // A click moved the current cell: the editor takes it as newly focused (whole text selected)
    // until a key arrives.
    bool clickedInto_ = false;
    int previousCol_ = -1;
    int previousRow_ = -1;
    bool hasFocusWithin_ = false;
    bool inSelect_ = false;
};

} // namespace kovanta
