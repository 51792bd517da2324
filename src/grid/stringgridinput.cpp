#include "grid/stringgridinput.h"

#include "grid/ainplaceedit.h"
#include "grid/astringgrid.h"
#include "grid/core/gridwidths.h"
#include "grid/gridevents.h"
#include "grid/stringgridlayout.h"
#include "grid/stringgridmodel.h"
#include "platform/qt/ansiqstring.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kovanta {

namespace {

constexpr int kFixedCols = TAStringGrid::FixedCols;
constexpr int kFixedRows = TAStringGrid::FixedRows;

} // namespace

StringGridInput::StringGridInput(TAStringGrid* grid) : QObject(grid), grid_(grid)
{
    grid->setMouseTracking(true);
    grid->viewport()->setMouseTracking(true);
    grid->viewport()->installEventFilter(this);
    QHeaderView* h = grid->horizontalHeader();
    QHeaderView* v = grid->verticalHeader();
    h->setMouseTracking(true);
    h->viewport()->installEventFilter(this);
    v->viewport()->installEventFilter(this);
    connect(v, &QHeaderView::sectionMoved, this,
            [this](int, int from, int to) { onRowSectionMoved(from, to); });
    connect(h, &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
        if (grid_->OnColumnMoved)
            grid_->OnColumnMoved(grid_, from + kFixedCols, to + kFixedCols);
    });
    connect(h, &QHeaderView::sectionResized, this, [this] { placeEditor(); });
    connect(v, &QHeaderView::sectionResized, this, [this] { placeEditor(); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { onFocusChanged(now); });
}

// ---- the editor ------------------------------------------------------------------------------

bool StringGridInput::canEditShow() const
{
    const grid::ColumnDefs& defs = grid_->ColumnDefs();
    const int col = grid_->Col();
    if (!grid_->hasOption(goEditing) || grid_->hasOption(goRowSelect) || !editorMode_)
        return false;
    // Every column must be covered by the per-column strings.
    if (defs.count() < grid_->ColCount() || !defs.covers(col))
        return false;
    const char typ = defs.datenTypAt(col);
    return defs.editable(col) && typ != 'X' && typ != 'P';
}

void StringGridInput::setEditorMode(bool on)
{
    editorMode_ = on && grid_->hasOption(goEditing);
    updateEditor();
    if (editor_ && editor_->isVisible())
        editor_->selectAll();
}

void StringGridInput::optionsChanged()
{
    if (grid_->hasOption(goEditing) && grid_->hasOption(goAlwaysShowEditor))
        editorMode_ = true;
    if (grid_->hasOption(goEditing))
        return;
    editorMode_ = false;
    if (editor_) {
        if (editor_->hasFocus())
            grid_->setFocus(Qt::OtherFocusReason);
        editor_->hide();
    }
}

void StringGridInput::keyCalcChanged()
{
    if (editor_)
        editor_->KeyCalc = grid_->keyCalc_;
}

void StringGridInput::ensureEditor()
{
    if (editor_ || !grid_->hasOption(goEditing))
        return;
    editor_ = new TAInplaceEdit(grid_);
    editor_->KeyCalc = grid_->keyCalc_;
    editor_->installEventFilter(this);
    editor_->hide();
}

void StringGridInput::updateEditor()
{
    if (!grid_->hasOption(goEditing))
        return;
    ensureEditor();
    if (!grid_->currentIndex().isValid() || !canEditShow()) {
        // Check box, counter and read-only cells have no editor. The grid takes the focus
        // first: hiding a focused widget would pass the focus on as a Tab key does.
        if (editor_->hasFocus())
            grid_->setFocus(Qt::OtherFocusReason);
        editor_->hide();
        return;
    }
    const int col = grid_->Col(), row = grid_->Row();
    const int art = grid_->EditArtOf(col, row);
    if (editor_->LoadedCol() != col || editor_->LoadedRow() != row || !editor_->isVisible() ||
        editor_->EditArt() != art) {
        editor_->SetCell(col, row);
        editor_->SetEditArt(art);
        editor_->LoadCell();
        // Clicked into: the value is taken whole, as when the editor receives the focus.
        if (clickedInto_ && grid_->AutoEditSelect)
            editor_->selectAll();
    }
    placeEditor(true);
    if (!editor_->isVisible() && hasFocusWithin_)
        editor_->show();
    if (hasFocusWithin_ && editor_->isVisible() && !editor_->hasFocus())
        editor_->setFocus(Qt::OtherFocusReason);
}

void StringGridInput::placeEditor(bool moved)
{
    if (!editor_ || !grid_->currentIndex().isValid() || editor_->Col() != grid_->Col() ||
        editor_->Row() != grid_->Row())
        return;
    const QRect r = grid_->visualRect(grid_->currentIndex());
    if (r.isValid())
        editor_->PlaceAt(r.adjusted(0, 0, -1, -1), moved);
}

void StringGridInput::resyncEditor()
{
    if (!editor_ || !grid_->currentIndex().isValid())
        return;
    editor_->SetCell(grid_->Col(), grid_->Row());
    if (editor_->isVisible())
        editor_->LoadCell();
    updateEditor();
}

void StringGridInput::followRow(int col, int row)
{
    inSelect_ = true;
    grid_->SetCurrentCell(col, row);
    inSelect_ = false;
    grid_->scrollTo(grid_->currentIndex());
}

void StringGridInput::cellWritten(int col, int row, std::string_view text)
{
    if (editor_ && editor_->isVisible() && editor_->Col() == col && editor_->Row() == row &&
        editor_->AnsiText() != text)
        editor_->LoadCell();
}

// ---- cell selection --------------------------------------------------------------------------

void StringGridInput::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (inSelect_ || !current.isValid())
        return;
    int col = current.column() + kFixedCols;
    const int row = current.row() + kFixedRows;
    selectionJustChanged_ = true;

    bool canEdit = grid_->ColumnDefs().editable(col);
    if (grid_->OnCanCellEdit)
        grid_->OnCanCellEdit(grid_, col, row, canEdit);
    if (canEdit != editorMode_ && grid_->hasOption(goEditing))
        postGridItem(grid_, GridItem::AG_SET_EDITORMODE, canEdit ? 1 : 0);

    const int requestedCol = col;
    if (row != previousRow_) {
        if (grid_->OnEnterRowInput)
            grid_->OnEnterRowInput(grid_, row, col);
        previousRow_ = row;
    }
    bool canSelect = true;
    if (grid_->OnSelectCell)
        grid_->OnSelectCell(grid_, col, row, canSelect);
    if (!canSelect && previous.isValid()) {
        inSelect_ = true;
        grid_->selectionModel()->setCurrentIndex(
            previous, QItemSelectionModel::ClearAndSelect |
                          (grid_->hasOption(goRowSelect) ? QItemSelectionModel::Rows
                                                         : QItemSelectionModel::NoUpdate));
        inSelect_ = false;
        return;
    }
    if (editor_) {
        editor_->SetCell(col, row);
        editor_->WidenToText();
        postGridItem(editor_, GridItem::AG_SYNC_CELL, 0);
    }
    const int target = skipReadOnly(col);
    if (target != requestedCol)
        postGridItem(grid_, GridItem::AG_SET_COL, target);
    previousCol_ = col;
    updateEditor();
}

int StringGridInput::skipReadOnly(int col)
{
    const grid::ColumnDefs& defs = grid_->ColumnDefs();
    if (!grid_->NoReadOnlySelect || !grid_->hasOption(goEditing) || previousCol_ < 0 ||
        defs.editable(col))
        return col;
    if (previousCol_ > col) {
        // Leftwards: the nearest editable column to the left.
        for (int c = col; c >= kFixedCols; --c)
            if (defs.editable(c))
                return c;
        return col;
    }
    // Rightwards or staying: the next editable column, else the first one of the row.
    for (int c = col; c < grid_->ColCount(); ++c)
        if (defs.editable(c))
            return c;
    previousCol_ = 0;
    for (int c = kFixedCols; c < grid_->ColCount(); ++c)
        if (defs.editable(c))
            return c;
    return col;
}

// ---- keys, focus and the deferred items ------------------------------------------------------

bool StringGridInput::gridEvent(QEvent* e)
{
    if (!isGridItem(e))
        return false;
    const auto* item = static_cast<GridItemEvent*>(e);
    switch (item->item()) {
    case GridItem::AG_ENTER_AS_TAB: {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        grid_->keyPressEvent(&press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
        grid_->keyReleaseEvent(&release);
        break;
    }
    case GridItem::AG_SET_EDITORMODE:
        setEditorMode(item->value1 != 0);
        break;
    case GridItem::AG_SET_COL:
        if (item->value1 < grid_->ColCount() && item->value1 >= kFixedCols)
            grid_->SetCol(item->value1);
        break;
    case GridItem::AG_ROW_HEIGHT:
        if (editor_)
            grid_->layout().fitRowToEditor(editor_->AnsiText());
        break;
    default:
        break;
    }
    return true;
}

void StringGridInput::onFocusChanged(QWidget* now)
{
    const bool within = now && (now == grid_ || grid_->isAncestorOf(now));
    if (within == hasFocusWithin_)
        return;
    hasFocusWithin_ = within;
    if (within) {
        updateEditor();
        if (editor_ && grid_->isVisible() && canEditShow() && editor_->isVisible() &&
            !editor_->hasFocus())
            editor_->setFocus(Qt::OtherFocusReason);
        if (editor_)
            postGridItem(editor_, GridItem::AG_SYNC_CELL, 2);
        if (grid_->OnEnter)
            grid_->OnEnter(grid_);
    } else {
        if (editor_) {
            editor_->hide();
            postGridItem(editor_, GridItem::AG_SYNC_CELL, 1);
        }
        if (grid_->OnExit)
            grid_->OnExit(grid_);
    }
    grid_->viewport()->update();
}

void StringGridInput::gridFocused()
{
    // While the editor is shown the keyboard belongs to it, also when the grid itself is
    // clicked or focused by code.
    if (hasFocusWithin_ && editor_ && editor_->isVisible() && canEditShow())
        editor_->setFocus(Qt::OtherFocusReason);
}

void StringGridInput::editorKey(QKeyEvent* event)
{
    grid_->keyPressEvent(event);
    // Handled here: an ignored key would travel on to the grid as its parent a second time.
    event->accept();
}

bool StringGridInput::keyPressed(QKeyEvent* e)
{
    clickedInto_ = false;
    int key = e->key();
    if (key == Qt::Key_Home)
        previousCol_ = 0;
    else if (key == Qt::Key_End)
        previousCol_ = grid_->ColCount();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter)
        postGridItem(grid_, GridItem::AG_ROW_HEIGHT);
    if (grid_->OnKeyDown) {
        grid_->OnKeyDown(grid_, key, e->modifiers());
        if (key == 0) {
            e->accept();
            return true;
        }
    }
    if (enter) {
        if (editor_)
            postGridItem(grid_, GridItem::AG_ENTER_AS_TAB);
        e->accept();
        return true;
    }
    const std::string typed = qstringToAnsi(e->text());
    if (typed.size() != 1 || static_cast<unsigned char>(typed[0]) < 0x20 ||
        (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    char c = typed[0];
    if (grid_->OnKeyPress) {
        grid_->OnKeyPress(grid_, c);
        if (c == 0) {
            e->accept();
            return true;
        }
    }
    const int col = grid_->Col(), row = grid_->Row();
    const bool editable = grid_->hasOption(goEditing) && grid_->ColumnDefs().editable(col);
    if (c == ' ' && editable && editor_ && !editor_->isVisible() &&
        grid_->EditArtOf(col, row) == grid::editart::CheckBox) {
        // A blank toggles a check box cell, which has no visible editor.
        toggleCell(col, row, true);
        e->accept();
        return true;
    }
    if (editable && !grid_->hasOption(goAlwaysShowEditor) && !editorMode_) {
        setEditorMode(true);
        if (editor_ && editor_->isVisible())
            QCoreApplication::sendEvent(editor_, e);
        return true;
    }
    return false;
}

void StringGridInput::toggleCell(int col, int row, bool byKey)
{
    const std::string old = grid_->GetCell(col, row);
    std::string text;
    if (byKey || grid_->ColumnDefs().datenTypAt(col) == 'X') {
        text = grid::toggledCheckBox(old);
    } else if (grid_->ColumnDefs().datenTypAt(col) == 'P') {
        const std::int64_t value = grid::digitValue(old);
        text = std::to_string(value < std::numeric_limits<std::int64_t>::max() ? value + 1 : value);
    } else {
        return;
    }
    grid_->SetCell(col, row, text);
    if (!byKey)
        grid_->RefreshRow(row);
    if (!editor_)
        return;
    editor_->SetCell(col, row);
    editor_->setText(ansiToQString(text));
    // A click is followed at once; a key after the key.
    if (byKey)
        postGridItem(editor_, GridItem::AG_SYNC_CELL, 0);
    else
        editor_->SyncCell(0);
    editor_->SetRowChanged(true);
    if (!byKey)
        return;
    if (grid_->OnEditChange) {
        std::string changed = text;
        grid_->OnEditChange(editor_, col, row, changed, false);
        grid_->SetCell(col, row, changed);
    }
    postGridItem(editor_, GridItem::AG_EXIT_CELL, grid::editart::CheckBox, col + row * 256);
}

// ---- mouse -----------------------------------------------------------------------------------

void StringGridInput::mousePressed(QMouseEvent* e, const std::function<void()>& viewPress)
{
    // The click may move the current cell; the editor then takes the value whole.
    clickedInto_ = e->button() == Qt::LeftButton;
    viewPress();
    if (grid_->OnMouseDown) {
        const QPoint p = grid_->viewport()->mapTo(grid_, e->position().toPoint());
        grid_->OnMouseDown(grid_, e->button(), e->modifiers(), p.x(), p.y());
    }
}

void StringGridInput::mouseReleased(QMouseEvent* e)
{
    const QPoint p = grid_->viewport()->mapTo(grid_, e->position().toPoint());
    const QPoint cell = grid_->CellAt(p);
    if (e->button() == Qt::LeftButton && grid_->hasOption(goEditing) && !selectionJustChanged_ &&
        cell.y() >= kFixedRows && cell.x() >= kFixedCols && cell.x() == grid_->Col() &&
        cell.y() == grid_->Row() && grid_->ColumnDefs().editable(cell.x()))
        toggleCell(cell.x(), cell.y(), false);
    if (grid_->OnMouseUp)
        grid_->OnMouseUp(grid_, e->button(), e->modifiers(), p.x(), p.y());
    if (e->button() == Qt::LeftButton && grid_->OnClick)
        grid_->OnClick(grid_);
    selectionJustChanged_ = false;
}

void StringGridInput::doubleClicked(QPoint p)
{
    const QPoint shifted = grid_->CellAt(p - QPoint(4, 0));
    const QRect rect = grid_->CellRect(shifted.x(), shifted.y());
    const QPoint origin = grid_->contentsRect().topLeft();
    const auto hit = grid::headerHitTest(p.x() - origin.x(), p.y() - origin.y(), shifted.x(),
                                         shifted.y(), rect.left() + rect.width() - origin.x(),
                                         rect.top() + rect.height() - origin.y(), kFixedCols);
    StringGridLayout& layout = grid_->layout();
    switch (hit.target) {
    case grid::DblClickTarget::Column:
    case grid::DblClickTarget::AllColumns:
        layout.autoWidths().userSizedColumns();
        layout.fitColumns(hit.target == grid::DblClickTarget::Column ? hit.index : -1, true);
        return;
    case grid::DblClickTarget::Row:
        if (grid_->AutoColResize)
            layout.fitRowHeight(hit.index);
        return;
    case grid::DblClickTarget::None:
        break;
    }
    const QPoint cell = grid_->CellAt(p);
    if (cell.y() == 0 && cell.x() >= 0 && grid_->SortAutomatik)
        grid_->SortColumn(cell.x(), 0);
    if (grid_->OnDblClick)
        grid_->OnDblClick(grid_);
}

bool StringGridInput::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == editor_) {
        if (e->type() == QEvent::KeyPress)
            clickedInto_ = false;
        return false;
    }
    const bool header = watched == grid_->horizontalHeader()->viewport() ||
                        watched == grid_->verticalHeader()->viewport();
    if (e->type() != QEvent::MouseButtonDblClick && e->type() != QEvent::MouseMove)
        return false;
    auto* me = static_cast<QMouseEvent*>(e);
    const QPoint gridPos = static_cast<QWidget*>(watched)->mapTo(grid_, me->position().toPoint());
    if (e->type() == QEvent::MouseMove) {
        grid_->layout().mouseOverCell(grid_->CellAt(gridPos));
        if (grid_->OnMouseMove)
            grid_->OnMouseMove(grid_, me->modifiers(), gridPos.x(), gridPos.y());
        return false;
    }
    if (!header)
        return false;
    doubleClicked(gridPos);
    return true; // no built-in fitting of the header
}

// ---- rows dragged by their header ------------------------------------------------------------

void StringGridInput::onRowSectionMoved(int oldVisual, int newVisual)
{
    QHeaderView* v = grid_->verticalHeader();
    // The header only moved its picture of the section: put it back and move the model row.
    {
        const QSignalBlocker block(v);
        v->moveSection(newVisual, oldVisual);
    }
    grid_->GridModel()->moveGridRow(oldVisual + kFixedRows, newVisual + kFixedRows);
    // The rows are in the user's order now, no longer in the sorted one.
    grid_->layout().showSortIndicator(-1, true);
    // The current cell moved with its row (or its row shifted); the editor follows it.
    resyncEditor();
    grid_->viewport()->update();
}

} // namespace kovanta
