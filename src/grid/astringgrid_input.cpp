// Input of the list grid: cell selection, keys, mouse, hints, row and column moving.
#include "grid/ainplaceedit.h"
#include "grid/astringgrid.h"
#include "grid/astringgriddelegate.h"
#include "grid/astringgridmodel.h"
#include "grid/core/gridsort.h"
#include "grid/core/gridwidths.h"
#include "grid/gridevents.h"
#include "platform/qt/ansiqstring.h"
#include "platform/qt/settingsstore.h"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolTip>

#include <algorithm>
#include <limits>

namespace kovanta {

// ---- cell selection --------------------------------------------------------------------------

void TAStringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (inSelect_ || !current.isValid())
        return;
    int col = current.column() + FixedCols;
    const int row = current.row() + FixedRows;
    bool canSelect = true;
    selectionJustChanged_ = true;

    bool canEdit = defs_.editable(col);
    if (OnCanCellEdit)
        OnCanCellEdit(this, col, row, canEdit);
    if (canEdit != editorMode_ && hasOption(goEditing))
        postItem(this, static_cast<int>(GridItem::AG_SET_EDITORMODE), canEdit ? 1 : 0);

    const int requestedCol = col;
    if (row != previousRow_) {
        if (OnEnterRowInput)
            OnEnterRowInput(this, row, col);
        previousRow_ = row;
    }
    if (OnSelectCell)
        OnSelectCell(this, col, row, canSelect);
    if (!canSelect && previous.isValid()) {
        inSelect_ = true;
        selectionModel()->setCurrentIndex(previous, QItemSelectionModel::ClearAndSelect |
                                                        (hasOption(goRowSelect)
                                                             ? QItemSelectionModel::Rows
                                                             : QItemSelectionModel::NoUpdate));
        inSelect_ = false;
        return;
    }
    if (editor_) {
        editor_->SetCell(col, row);
        editor_->WidenToText();
        postItem(editor_, static_cast<int>(GridItem::AG_SYNC_CELL), 0);
    }

    int target = col;
    if (NoReadOnlySelect && hasOption(goEditing) && previousCol_ >= 0 && !defs_.editable(col)) {
        if (previousCol_ <= col) {
            target = -1;
            for (int c = col; c < ColCount() && target < 0; ++c)
                if (defs_.editable(c))
                    target = c;
            if (target < 0) {
                for (int c = FixedCols; c < ColCount() && target < 0; ++c)
                    if (defs_.editable(c))
                        target = c;
                previousCol_ = 0;
            }
            if (target < 0)
                target = col;
        } else {
            target = col;
            for (int c = col; c >= FixedCols; --c)
                if (defs_.editable(c)) {
                    target = c;
                    break;
                }
        }
    }
    if (target != requestedCol)
        postItem(this, static_cast<int>(GridItem::AG_SET_COL), target);
    previousCol_ = col;

    updateEditor();
}

// ---- events ----------------------------------------------------------------------------------

bool TAStringGrid::event(QEvent* e)
{
    if (e->type() == QEvent::FontChange) {
        numberCharWidth_ = 0; // measured again with the new font
        advancesMeasured_ = false;
        markContentChanged(0, ColCount() - 1);
    }
    if (!isGridItem(e))
        return QTableView::event(e);
    auto* item = static_cast<GridItemEvent*>(e);
    switch (item->item()) {
    case GridItem::AG_ENTER_AS_TAB: {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        keyPressEvent(&press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
        keyReleaseEvent(&release);
        break;
    }
    case GridItem::AG_SET_EDITORMODE:
        SetEditorMode(item->value1 != 0);
        break;
    case GridItem::AG_SET_COL:
        if (item->value1 < ColCount() && item->value1 >= FixedCols)
            SetCol(item->value1);
        break;
    case GridItem::AG_ROW_HEIGHT:
        if (hasOption(goRowSizing) && editor_) {
            int h = 2;
            for (const std::string& line : grid::splitLines(editor_->AnsiText() + " "))
                h += fontMetrics().boundingRect(ansiToQString(line)).height();
            if (h > RowHeights(Row()))
                SetRowHeights(Row(), h);
        }
        break;
    default:
        break;
    }
    return true;
}

void TAStringGrid::onFocusChanged(QWidget*, QWidget* now)
{
    const bool within = now && (now == this || isAncestorOf(now));
    if (within == hasFocusWithin_)
        return;
    hasFocusWithin_ = within;
    if (within) {
        updateEditor();
        if (editor_ && isVisible() && CanEditShow() && editor_->isVisible() && !editor_->hasFocus())
            editor_->setFocus(Qt::OtherFocusReason);
        if (editor_)
            postItem(editor_, static_cast<int>(GridItem::AG_SYNC_CELL), 2);
        if (OnEnter)
            OnEnter(this);
    } else {
        if (editor_) {
            editor_->hide();
            postItem(editor_, static_cast<int>(GridItem::AG_SYNC_CELL), 1);
        }
        if (OnExit)
            OnExit(this);
    }
    viewport()->update();
}

void TAStringGrid::focusInEvent(QFocusEvent* e)
{
    QTableView::focusInEvent(e);
    // While the editor is shown the keyboard belongs to it, also when the grid itself is
    // clicked or focused by code.
    if (hasFocusWithin_ && editor_ && editor_->isVisible() && CanEditShow())
        editor_->setFocus(Qt::OtherFocusReason);
}

void TAStringGrid::editorKey(QKeyEvent* event)
{
    keyPressEvent(event);
    // Handled here: an ignored key would travel on to the grid as its parent a second time.
    event->accept();
}

void TAStringGrid::keyPressEvent(QKeyEvent* e)
{
    int key = e->key();
    if (key == Qt::Key_Home)
        previousCol_ = 0;
    else if (key == Qt::Key_End)
        previousCol_ = ColCount();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter)
        postItem(this, static_cast<int>(GridItem::AG_ROW_HEIGHT));
    if (OnKeyDown) {
        OnKeyDown(this, key, e->modifiers());
        if (key == 0) {
            e->accept();
            return;
        }
    }
    if (enter) {
        if (editor_)
            postItem(this, static_cast<int>(GridItem::AG_ENTER_AS_TAB));
        e->accept();
        return;
    }
    const std::string typed = qstringToAnsi(e->text());
    if (typed.size() == 1 && static_cast<unsigned char>(typed[0]) >= 0x20 &&
        !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        char c = typed[0];
        if (OnKeyPress) {
            OnKeyPress(this, c);
            if (c == 0) {
                e->accept();
                return;
            }
        }
        const int col = Col(), row = Row();
        if (c == ' ' && hasOption(goEditing) && editor_ && !editor_->isVisible() &&
            EditArtOf(col, row) == grid::editart::CheckBox && defs_.editable(col)) {
            // A blank toggles a check box cell, which has no visible editor.
            const std::string old = GetCell(col, row);
            const std::string now = (grid::digitValue(old) & 1) == 0 ? "1" : "0"; // even: "1"
            SetCell(col, row, now);
            editor_->SetCell(col, row);
            editor_->setText(ansiToQString(now));
            postItem(editor_, static_cast<int>(GridItem::AG_SYNC_CELL), 0);
            editor_->SetRowChanged(true);
            if (OnEditChange) {
                std::string text = now;
                OnEditChange(editor_, col, row, text, false);
                SetCell(col, row, text);
            }
            postItem(editor_, static_cast<int>(GridItem::AG_EXIT_CELL), grid::editart::CheckBox,
                     col + row * 256);
            e->accept();
            return;
        }
        if (hasOption(goEditing) && !hasOption(goAlwaysShowEditor) && !editorMode_ &&
            defs_.editable(col)) {
            SetEditorMode(true);
            if (editor_ && editor_->isVisible())
                QCoreApplication::sendEvent(editor_, e);
            return;
        }
    }
    QTableView::keyPressEvent(e);
}

void TAStringGrid::toggleClickCell(int col, int row)
{
    const char typ = defs_.datenTypAt(col);
    const std::int64_t value = grid::digitValue(GetCell(col, row));
    if (typ != 'X' && typ != 'P')
        return;
    const std::string text =
        typ == 'X'
            ? std::string(1, (value & 1) == 0 ? '1' : '0')
            : std::to_string(value < std::numeric_limits<std::int64_t>::max() ? value + 1 : value);
    SetCell(col, row, text);
    RefreshRow(row);
    if (editor_) {
        editor_->SetCell(col, row);
        editor_->setText(ansiToQString(text));
        editor_->SyncCell(0);
        editor_->SetRowChanged(true);
    }
}

QPoint TAStringGrid::CellAt(QPoint p) const
{
    const QRect area = contentsRect();
    const int x = p.x() - area.left();
    const int y = p.y() - area.top();
    int col = -1, row = -1;
    if (x >= 0 && x < col0Width_) {
        col = 0;
    } else if (x >= col0Width_) {
        const int logical = horizontalHeader()->logicalIndexAt(x - col0Width_);
        col = logical >= 0 ? logical + FixedCols : -1;
    }
    if (y >= 0 && y < row0Height_) {
        row = 0;
    } else if (y >= row0Height_) {
        const int logical = verticalHeader()->logicalIndexAt(y - row0Height_);
        row = logical >= 0 ? logical + FixedRows : -1;
    }
    return {col, row};
}

QRect TAStringGrid::CellRect(int col, int row) const
{
    const QRect area = contentsRect();
    int left = 0, width = 0, top = 0, height = 0;
    if (col == 0) {
        width = col0Width_;
    } else if (col > 0 && col < ColCount()) {
        left = col0Width_ + horizontalHeader()->sectionViewportPosition(col - FixedCols);
        width = horizontalHeader()->sectionSize(col - FixedCols);
    } else {
        return {};
    }
    if (row == 0) {
        height = row0Height_;
    } else if (row > 0 && row < RowCount()) {
        top = row0Height_ + verticalHeader()->sectionViewportPosition(row - FixedRows);
        height = verticalHeader()->sectionSize(row - FixedRows);
    } else {
        return {};
    }
    return {area.left() + left, area.top() + top, width, height};
}

bool TAStringGrid::eventFilter(QObject* watched, QEvent* e)
{
    const bool hHeader = watched == horizontalHeader()->viewport();
    const bool vHeader = watched == verticalHeader()->viewport();
    if (!hHeader && !vHeader && watched != viewport())
        return QTableView::eventFilter(watched, e);
    if (hHeader && e->type() == QEvent::MouseButtonPress)
        headerPressed_ = true;
    else if (hHeader && e->type() == QEvent::MouseButtonRelease)
        headerPressed_ = false;
    else if (watched == viewport() && e->type() == QEvent::Resize)
        applyAutoFit();
    if (e->type() == QEvent::MouseButtonDblClick || e->type() == QEvent::MouseMove) {
        auto* me = static_cast<QMouseEvent*>(e);
        const QPoint gridPos =
            static_cast<QWidget*>(watched)->mapTo(this, me->position().toPoint());
        if (e->type() == QEvent::MouseMove) {
            reportCellUnderMouse(gridPos);
            if (OnMouseMove)
                OnMouseMove(this, me->modifiers(), gridPos.x(), gridPos.y());
        } else if (hHeader || vHeader) {
            handleDoubleClick(gridPos);
            return true; // no built-in fitting of the header
        }
    }
    return QTableView::eventFilter(watched, e);
}

void TAStringGrid::reportCellUnderMouse(QPoint gridPos)
{
    const QPoint cell = CellAt(gridPos);
    if (cell.x() >= 0 && cell.y() >= 0) {
        bool canSize = defs_.resizable(cell.x());
        if (OnCanColSizing) {
            OnCanColSizing(this, cell.x(), cell.y(), canSize);
            if (cell.x() >= FixedCols)
                horizontalHeader()->setSectionResizeMode(cell.x() - FixedCols,
                                                         canSize && hasOption(goColSizing)
                                                             ? QHeaderView::Interactive
                                                             : QHeaderView::Fixed);
        }
    }
    if (cell == hoverCell_)
        return;
    hoverCell_ = cell;
    if (cell.x() < 0 || cell.y() < 0)
        return;
    if (OnMoveNewCell) {
        const int w = defs_.designedWidth(cell.x());
        OnMoveNewCell(this, cell.x(), cell.y(), defs_.sortTypAt(cell.x()),
                      defs_.datenTypAt(cell.x()),
                      defs_.covers(cell.x()) ? defs_.readOnly[cell.x()] : '1',
                      defs_.covers(cell.x()) ? defs_.colSizing[cell.x()] : '1',
                      static_cast<std::uint8_t>(std::clamp(w, 0, 255)));
    }
}

QString TAStringGrid::hintOf(int col, int row)
{
    std::string hint = defs_.hintAt(col);
    bool show = true;
    if (OnGetHintText && col >= 0 && row >= 0)
        OnGetHintText(this, col, row, hint, show);
    // "short|long": the tooltip is the short part.
    return show ? ansiToQString(hint).section(QLatin1Char('|'), 0, 0) : QString();
}

bool TAStringGrid::viewportEvent(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        const QPoint cell = CellAt(viewport()->mapTo(this, he->pos()));
        const QString text = hintOf(cell.x(), cell.y());
        if (!text.isEmpty())
            QToolTip::showText(he->globalPos(), text, viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QTableView::viewportEvent(e);
}

void TAStringGrid::mousePressEvent(QMouseEvent* e)
{
    QTableView::mousePressEvent(e);
    if (OnMouseDown) {
        const QPoint p = viewport()->mapTo(this, e->position().toPoint());
        OnMouseDown(this, e->button(), e->modifiers(), p.x(), p.y());
    }
}

void TAStringGrid::mouseReleaseEvent(QMouseEvent* e)
{
    QTableView::mouseReleaseEvent(e);
    const QPoint p = viewport()->mapTo(this, e->position().toPoint());
    const QPoint cell = CellAt(p);
    if (e->button() == Qt::LeftButton && hasOption(goEditing) && !selectionJustChanged_ &&
        cell.y() >= FixedRows && cell.x() >= FixedCols && cell.x() == Col() && cell.y() == Row() &&
        defs_.editable(cell.x()))
        toggleClickCell(cell.x(), cell.y());
    if (OnMouseUp)
        OnMouseUp(this, e->button(), e->modifiers(), p.x(), p.y());
    if (e->button() == Qt::LeftButton && OnClick)
        OnClick(this);
    selectionJustChanged_ = false;
}

void TAStringGrid::mouseMoveEvent(QMouseEvent* e)
{
    QTableView::mouseMoveEvent(e);
}

void TAStringGrid::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTableView::mouseDoubleClickEvent(e);
    handleDoubleClick(viewport()->mapTo(this, e->position().toPoint()));
}

void TAStringGrid::handleDoubleClick(QPoint p)
{
    const QPoint shifted = CellAt(p - QPoint(4, 0));
    const QRect rect = CellRect(shifted.x(), shifted.y());
    const QPoint origin = contentsRect().topLeft();
    const auto hit = grid::headerHitTest(p.x() - origin.x(), p.y() - origin.y(), shifted.x(),
                                         shifted.y(), rect.left() + rect.width() - origin.x(),
                                         rect.top() + rect.height() - origin.y(), FixedCols);
    switch (hit.target) {
    case grid::DblClickTarget::Column:
        userSizedColumns();
        FitColumns(hit.index, true);
        return;
    case grid::DblClickTarget::AllColumns:
        userSizedColumns();
        FitColumns(-1, true);
        return;
    case grid::DblClickTarget::Row:
        if (AutoColResize)
            FitRowHeight(hit.index);
        return;
    case grid::DblClickTarget::None:
        break;
    }
    const QPoint cell = CellAt(p);
    if (cell.y() == 0 && cell.x() >= 0 && SortAutomatik)
        SortColumn(cell.x(), 0);
    if (OnDblClick)
        OnDblClick(this);
}

// ---- row and column moving -------------------------------------------------------------------

void TAStringGrid::onRowSectionMoved(int, int oldVisual, int newVisual)
{
    // The header only moved its picture of the section: put it back and move the model row.
    {
        const QSignalBlocker block(verticalHeader());
        verticalHeader()->moveSection(newVisual, oldVisual);
    }
    const int from = oldVisual + FixedRows, to = newVisual + FixedRows;
    model_->moveGridRow(from, to);
    // The rows are in the user's order now, no longer in the sorted one.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    // The current cell moved with its row (or its row shifted); the editor follows it.
    resyncEditor();
    viewport()->update();
}

void TAStringGrid::onColumnSectionMoved(int, int oldVisual, int newVisual)
{
    if (OnColumnMoved)
        OnColumnMoved(this, oldVisual + FixedCols, newVisual + FixedCols);
}

} // namespace kovanta
