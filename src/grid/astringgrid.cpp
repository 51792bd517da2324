#include "grid/astringgrid.h"

#include "grid/ainplaceedit.h"
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

namespace kovanta {

void TGridCellPainter::BeforeDraw(TGridInfo*, int, int, QPainter&, const QRect&,
                                  const grid::CellState&, bool&)
{}

void TGridCellPainter::AfterDraw(TGridInfo*, int, int, QPainter&, const QRect&,
                                 const grid::CellState&, bool&)
{}

namespace {

// Narrower than this, a grid is still waiting for its layout (a side panel starts at 50).
constexpr int kLaidOutWidth = 100;

// Shows the hourglass for as long as it lives.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

TAStringGrid::TAStringGrid(QWidget* parent) : QTableView(parent)
{
    model_ = new TAStringGridModel(this);
    setModel(model_);
    delegate_ = new TAStringGridDelegate(this);
    setItemDelegate(delegate_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setTabKeyNavigation(true);
    setAutoScroll(true);
    setCornerButtonEnabled(false);

    QHeaderView* h = horizontalHeader();
    h->setMinimumSectionSize(1);
    h->setDefaultSectionSize(defaultColWidth_);
    h->setSectionsClickable(false);
    h->setHighlightSections(false);
    h->setStretchLastSection(false);
    h->setMouseTracking(true);
    h->viewport()->installEventFilter(this);
    QHeaderView* v = verticalHeader();
    v->setMinimumSectionSize(1);
    v->setDefaultSectionSize(defaultRowHeight_);
    v->setSectionResizeMode(QHeaderView::Fixed);
    v->setSectionsClickable(false);
    v->setHighlightSections(false);
    v->setFirstSectionMovable(true);
    v->viewport()->installEventFilter(this);
    viewport()->installEventFilter(this);
    SetColWidths(0, defaultColWidth_);
    SetRowHeights(0, defaultRowHeight_);

    connect(v, &QHeaderView::sectionMoved, this, &TAStringGrid::onRowSectionMoved);
    connect(h, &QHeaderView::sectionMoved, this, &TAStringGrid::onColumnSectionMoved);
    connect(h, &QHeaderView::sectionResized, this, [this] { placeEditor(); });
    connect(v, &QHeaderView::sectionResized, this, [this] { placeEditor(); });
    connect(qApp, &QApplication::focusChanged, this, &TAStringGrid::onFocusChanged);

    // Header cells follow the painting rules that apply to fixed cells: the text hook and the
    // blank "255" of check box columns.
    model_->setHeaderText([this](int col, int row) {
        std::string text = model_->cell(col, row);
        bool canDraw = true;
        if (OnGetDrawCellText)
            OnGetDrawCellText(this, col, row, text, canDraw);
        if (canDraw && grid::paintsBlank(defs_.datenTypAt(col), text, row, FixedRows, BlankNull))
            text.clear();
        return text;
    });
    model_->setHeaderHint([this](int col, int row) { return hintOf(col, row); });
    drawCheckBoxes();
    SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goDrawFocusSelected |
               goColSizing | goEditing | goTabs | goAlwaysShowEditor | goThumbTracking);
    SetColNames(TColNames{"Text|20|0|1|1|"});
}

TAStringGrid::~TAStringGrid()
{
    if (loaded_)
        SaveGridSettings();
}

// ---- cells -----------------------------------------------------------------------------------

int TAStringGrid::ColCount() const
{
    return model_->colCount();
}

int TAStringGrid::RowCount() const
{
    return model_->gridRowCount();
}

void TAStringGrid::SetColCount(int count)
{
    const int old = ColCount();
    model_->setColCount(count);
    for (int c = std::max(1, old); c < ColCount(); ++c)
        SetColWidths(c, defaultColWidth_);
    applyColumnResizeModes();
    placeEditor();
}

void TAStringGrid::SetRowCount(int count)
{
    model_->setGridRowCount(count);
    placeEditor();
}

std::string TAStringGrid::GetCell(int col, int row) const
{
    return model_->cell(col, row);
}

void TAStringGrid::SetCell(int col, int row, std::string_view text)
{
    if (!model_->setCell(col, row, text))
        return;
    // A cell changed by code under the editor is shown in the editor at once.
    if (editor_ && editor_->isVisible() && editor_->Col() == col && editor_->Row() == row &&
        editor_->AnsiText() != text)
        editor_->LoadCell();
}

TGridInfo* TAStringGrid::Objects(int col, int row) const
{
    return model_->object(col, row);
}

void TAStringGrid::SetObjects(int col, int row, TGridInfo* object)
{
    model_->setObject(col, row, object);
}

void TAStringGrid::ClearRowObjects()
{
    for (int row = FixedRows; row < RowCount(); ++row) {
        if (TGridInfo* info = model_->object(0, row)) {
            model_->setObject(0, row, nullptr);
            delete info;
        }
    }
}

void TAStringGrid::RefreshRow(int row)
{
    model_->refreshRow(row);
}

// ---- current cell ----------------------------------------------------------------------------

QModelIndex TAStringGrid::indexOf(int col, int row) const
{
    return model_->index(row - FixedRows, col - FixedCols);
}

int TAStringGrid::Col() const
{
    const QModelIndex idx = currentIndex();
    return idx.isValid() ? idx.column() + FixedCols : FixedCols;
}

int TAStringGrid::Row() const
{
    const QModelIndex idx = currentIndex();
    return idx.isValid() ? idx.row() + FixedRows : FixedRows;
}

void TAStringGrid::SetCol(int col)
{
    SetCurrentCell(col, Row());
}

void TAStringGrid::SetRow(int row)
{
    SetCurrentCell(Col(), row);
}

void TAStringGrid::SetCurrentCell(int col, int row)
{
    const QModelIndex idx = indexOf(col, row);
    if (!idx.isValid())
        return;
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::ClearAndSelect;
    if (hasOption(goRowSelect))
        flags |= QItemSelectionModel::Rows;
    selectionModel()->setCurrentIndex(idx, flags);
}

std::vector<int> TAStringGrid::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& idx : selectionModel()->selectedIndexes())
        rows.push_back(idx.row() + FixedRows);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty() && currentIndex().isValid())
        rows.push_back(Row());
    return rows;
}

// ---- geometry --------------------------------------------------------------------------------

int TAStringGrid::ColWidths(int col) const
{
    if (col == 0)
        return col0Width_;
    if (col < 0 || col >= ColCount())
        return 0;
    return horizontalHeader()->sectionSize(col - FixedCols);
}

void TAStringGrid::SetColWidths(int col, int width)
{
    width = std::max(0, width);
    if (col == 0) {
        col0Width_ = width;
        verticalHeader()->setFixedWidth(width);
    } else if (col > 0 && col < ColCount()) {
        horizontalHeader()->resizeSection(col - FixedCols, width);
    }
}

int TAStringGrid::RowHeights(int row) const
{
    if (row == 0)
        return row0Height_;
    if (row < 0 || row >= RowCount())
        return 0;
    return verticalHeader()->sectionSize(row - FixedRows);
}

void TAStringGrid::SetRowHeights(int row, int height)
{
    height = std::max(0, height);
    if (row == 0) {
        row0Height_ = height;
        horizontalHeader()->setFixedHeight(height);
    } else if (row > 0 && row < RowCount()) {
        verticalHeader()->resizeSection(row - FixedRows, height);
    }
}

void TAStringGrid::SetDefaultColWidth(int width)
{
    defaultColWidth_ = width;
    horizontalHeader()->setDefaultSectionSize(width);
}

void TAStringGrid::SetDefaultRowHeight(int height)
{
    defaultRowHeight_ = height;
    verticalHeader()->setDefaultSectionSize(height);
    for (int r = FixedRows; r < RowCount(); ++r)
        SetRowHeights(r, height);
    SetRowHeights(0, height);
}

void TAStringGrid::SetOptions(GridOptions options)
{
    options_ = options;
    applyOptions();
}

void TAStringGrid::applyOptions()
{
    setShowGrid(hasOption(goVertLine) || hasOption(goHorzLine));
    setSelectionBehavior(hasOption(goRowSelect) ? SelectRows : SelectItems);
    setSelectionMode(hasOption(goRangeSelect) ? ContiguousSelection : SingleSelection);
    verticalHeader()->setSectionsMovable(hasOption(goRowMoving));
    horizontalHeader()->setSectionsMovable(hasOption(goColMoving));
    verticalHeader()->setSectionResizeMode(hasOption(goRowSizing) ? QHeaderView::Interactive
                                                                  : QHeaderView::Fixed);
    applyColumnResizeModes();
    if (hasOption(goEditing) && hasOption(goAlwaysShowEditor))
        editorMode_ = true;
    if (!hasOption(goEditing)) {
        editorMode_ = false;
        if (editor_) {
            if (editor_->hasFocus())
                setFocus(Qt::OtherFocusReason);
            editor_->hide();
        }
    }
}

void TAStringGrid::applyColumnResizeModes()
{
    QHeaderView* h = horizontalHeader();
    for (int c = FixedCols; c < ColCount(); ++c) {
        const bool resizable = hasOption(goColSizing) && defs_.resizable(c);
        h->setSectionResizeMode(c - FixedCols,
                                resizable ? QHeaderView::Interactive : QHeaderView::Fixed);
    }
}

// ---- column definitions ----------------------------------------------------------------------

void TAStringGrid::SetColNames(const TColNames& names)
{
    colNames_ = names;
    applyColNames();
}

void TAStringGrid::applyColNames()
{
    defs_ = grid::buildColumnDefs(colNames_.entries());
    if (colNames_.empty()) {
        viewport()->update();
        return;
    }
    SetColCount(colNames_.count());
    if (RowCount() < 1)
        SetRowCount(1);
    for (int col = 0; col < colNames_.count(); ++col) {
        const grid::ColEntry e = colNames_.entry(col);
        SetCell(col, 0, e.name);
        if (!widthsRestored_)
            SetColWidths(col, e.width == 0 ? defaultColWidth_ : e.width);
    }
    applyColumnResizeModes();
    viewport()->update();
}

int TAStringGrid::EditArtOf(int col, int row)
{
    int art = grid::editArtFor(defs_.datenTypAt(col));
    if (OnGetEditorArt)
        OnGetEditorArt(this, col, row, art);
    return art;
}

// ---- properties ------------------------------------------------------------------------------

void TAStringGrid::SetMitZeilenFinder(bool on)
{
    if (on == mitZeilenFinder_)
        return;
    mitZeilenFinder_ = on;
    viewport()->update();
}

void TAStringGrid::SetZeilFindColor(TColor color)
{
    if (color == zeilFindColor_)
        return;
    zeilFindColor_ = color;
    viewport()->update();
}

void TAStringGrid::SetKeyCalkMwst(bool on)
{
    keyCalc_[0] = on;
    if (editor_)
        editor_->KeyCalc.mwst = on;
}

void TAStringGrid::SetKeyCalkSkonto(bool on)
{
    keyCalc_[1] = on;
    if (editor_)
        editor_->KeyCalc.skonto = on;
}

void TAStringGrid::SetKeyCalkEUR(bool on)
{
    keyCalc_[2] = on;
    if (editor_)
        editor_->KeyCalc.eur = on;
}

void TAStringGrid::SetKeyCalkATS(bool on)
{
    keyCalc_[3] = on;
    if (editor_)
        editor_->KeyCalc.ats = on;
}

// ---- editor ----------------------------------------------------------------------------------

bool TAStringGrid::CanEditShow() const
{
    const int col = Col();
    if (!hasOption(goEditing) || hasOption(goRowSelect) || !editorMode_)
        return false;
    // Every column must be covered by the per-column strings.
    if (defs_.count() < ColCount() || !defs_.covers(col))
        return false;
    const char typ = defs_.datenTypAt(col);
    return defs_.editable(col) && typ != 'X' && typ != 'P';
}

bool TAStringGrid::CellEditableForSync() const
{
    return CanEditShow() && hasOption(goEditing) && hasOption(goAlwaysShowEditor) &&
           !hasOption(goRowSelect);
}

void TAStringGrid::SetEditorMode(bool on)
{
    if (on && !hasOption(goEditing))
        on = false;
    editorMode_ = on;
    updateEditor();
    if (editor_ && editor_->isVisible())
        editor_->selectAll();
}

void TAStringGrid::ensureEditor()
{
    if (editor_ || !hasOption(goEditing))
        return;
    editor_ = new TAInplaceEdit(this);
    editor_->KeyCalc = {keyCalc_[0], keyCalc_[1], keyCalc_[2], keyCalc_[3]};
    editor_->hide();
}

void TAStringGrid::updateEditor()
{
    if (!hasOption(goEditing))
        return;
    ensureEditor();
    if (!currentIndex().isValid()) {
        if (editor_->hasFocus())
            setFocus(Qt::OtherFocusReason);
        editor_->hide();
        return;
    }
    if (!CanEditShow()) {
        // Check box, counter and read-only cells have no editor. The grid takes the focus
        // first: hiding a focused widget would pass the focus on as a Tab key does.
        if (editor_->hasFocus())
            setFocus(Qt::OtherFocusReason);
        editor_->hide();
        return;
    }
    const int col = Col(), row = Row();
    const int art = EditArtOf(col, row);
    if (editor_->LoadedCol() != col || editor_->LoadedRow() != row || !editor_->isVisible() ||
        editor_->EditArt() != art) {
        editor_->SetCell(col, row);
        editor_->SetEditArt(art);
        editor_->LoadCell();
    }
    placeEditor(true);
    if (!editor_->isVisible() && hasFocusWithin_)
        editor_->show();
    if (hasFocusWithin_ && editor_->isVisible() && !editor_->hasFocus())
        editor_->setFocus(Qt::OtherFocusReason);
}

void TAStringGrid::placeEditor(bool moved)
{
    if (!editor_ || !currentIndex().isValid() || editor_->Col() != Col() || editor_->Row() != Row())
        return;
    const QRect r = visualRect(currentIndex());
    if (!r.isValid())
        return;
    editor_->PlaceAt(r.adjusted(0, 0, -1, -1), moved);
}

void TAStringGrid::resyncEditor()
{
    if (!editor_ || !currentIndex().isValid())
        return;
    editor_->SetCell(Col(), Row());
    if (editor_->isVisible())
        editor_->LoadCell();
    updateEditor();
}

void TAStringGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    placeEditor();
}

void TAStringGrid::refitAfterEditorWidening(int col)
{
    if (AutoColResize && col > 0 && col < ColCount())
        FitColumn(col);
}

void TAStringGrid::postItem(QObject* target, int item, int v1, int v2)
{
    QCoreApplication::postEvent(target, new GridItemEvent(static_cast<GridItem>(item), v1, v2));
}

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
            const std::string now = ((grid::digitValue(old) + 1) & 1) ? "1" : "0";
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
    const int value = grid::digitValue(GetCell(col, row));
    if (typ != 'X' && typ != 'P')
        return;
    const std::string text =
        typ == 'X' ? std::string(1, ((value + 1) & 1) ? '1' : '0') : std::to_string(value + 1);
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
        FitColumns(hit.index, true);
        return;
    case grid::DblClickTarget::AllColumns:
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
    // The current cell moved with its row (or its row shifted); the editor follows it.
    resyncEditor();
    viewport()->update();
}

void TAStringGrid::onColumnSectionMoved(int, int oldVisual, int newVisual)
{
    if (OnColumnMoved)
        OnColumnMoved(this, oldVisual + FixedCols, newVisual + FixedCols);
}

// ---- sorting ---------------------------------------------------------------------------------

void TAStringGrid::SortColumn(int col, int mode)
{
    if (col < 0 || col >= ColCount() || mode < 0 || mode > 4)
        return;
    WaitCursor wait;
    std::vector<int> rows;
    int followed = -1;
    const std::vector<int> selected = SelectedRows();
    if (SortMarkiert && selected.size() > 1) {
        rows = selected;
    } else {
        for (int r = FixedRows; r < RowCount(); ++r)
            rows.push_back(r);
        followed = currentIndex().isValid() ? Row() : -1;
    }
    if (rows.empty())
        return;
    const int sortAb = rows.front();
    const int sortZahl = static_cast<int>(rows.size());
    bool allow = true;
    if (OnSortBegin)
        OnSortBegin(this, sortAb, sortZahl, allow);
    if (!allow)
        return;

    int sortArt = 0;
    // A column beyond the column definitions (added by code) sorts ascending and keeps no state.
    const bool hasState = col < static_cast<int>(defs_.sortTyp.size());
    if (mode == 0) {
        const char typ = hasState ? defs_.sortTyp[col] : '0';
        sortArt = (typ >= '0' && typ <= '3') ? typ - '0' : 0;
        if (col != lastSortCol_) {
            sortArt &= ~1;
            if (hasState)
                defs_.sortTyp[col] = static_cast<char>('0' + sortArt);
        }
    } else {
        sortArt = mode - 1;
    }
    lastSortCol_ = col;

    const grid::SortSettings settings{grid::sortTypeFor(defs_.datenTypAt(col)), sortArt,
                                      SortObjectUsed};
    std::vector<grid::SortEntry> entries;
    entries.reserve(rows.size());
    for (int r : rows)
        entries.push_back({model_->cell(col, r), model_->object(0, r)});
    grid::SortCompareHook hook;
    if (OnSortCompare) {
        hook = [this, col, sortAb](int upper, std::string& tx1, std::string& tx2, const void*& o1,
                                   const void*& o2, int& type, int& art) {
            auto* g1 = static_cast<TGridInfo*>(const_cast<void*>(o1));
            auto* g2 = static_cast<TGridInfo*>(const_cast<void*>(o2));
            OnSortCompare(this, col, sortAb + upper, tx1, tx2, g1, g2, type, art);
            o1 = g1;
            o2 = g2;
        };
    }
    const std::vector<int> order = grid::sortOrder(entries, settings, hook);

    const int currentCol = Col();
    model_->rearrangeRows(rows, order);
    if (followed >= 0) {
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (rows[order[i]] == followed) {
                inSelect_ = true;
                SetCurrentCell(currentCol, rows[i]);
                inSelect_ = false;
                scrollTo(currentIndex());
                break;
            }
        }
    }
    if (mode == 0 && hasState)
        defs_.sortTyp[col] = grid::nextSortTyp(defs_.sortTyp[col], defs_.datenTypAt(col));
    resyncEditor();
    if (OnSortEnde)
        OnSortEnde(this, sortAb, sortZahl);
}

// ---- widths ----------------------------------------------------------------------------------

int TAStringGrid::textWidth(const std::string& text) const
{
    int widest = 0;
    for (const std::string& line : grid::splitLines(text))
        widest = std::max(widest, fontMetrics().horizontalAdvance(ansiToQString(line)));
    return widest;
}

void TAStringGrid::FitColumn(int c)
{
    if (c < 0 || c >= ColCount())
        return;
    const int designed = defs_.designedWidth(c) == 0 && c < defs_.count() ? defaultColWidth_
                                                                          : defs_.designedWidth(c);
    if (!defs_.resizable(c)) {
        SetColWidths(c, designed);
        return;
    }
    int widest = 0;
    bool measured = false;
    for (int r = 0; r < RowCount(); ++r) {
        std::string text = GetCell(c, r);
        bool canDraw = true;
        if (OnGetDrawCellText)
            OnGetDrawCellText(this, c, r, text, canDraw);
        if (!canDraw)
            continue;
        measured = true;
        widest = std::max(widest, textWidth(text));
    }
    if (measured)
        SetColWidths(
            c, grid::fittedWidth(designed, widest, viewport()->width() + col0Width_, col0Width_));
}

void TAStringGrid::FitColumns(int c, bool force)
{
    if (!force && !AutoColResize)
        return;
    if (c >= 0) {
        const int last = ColWidthEinzel ? c : ColCount() - 1;
        for (int i = c; i <= last; ++i)
            FitColumn(i);
    } else {
        for (int i = 0; i < ColCount(); ++i)
            FitColumn(i);
        for (int r = FixedRows; r < RowCount(); ++r)
            FitRowHeight(r);
    }
    StretchLastColumn();
}

void TAStringGrid::StretchLastColumn()
{
    const int last = ColCount() - 1;
    if (last < 0)
        return;
    std::vector<int> widths;
    for (int c = 0; c <= last; ++c)
        widths.push_back(ColWidths(c));
    const auto w =
        grid::stretchedLastWidth(widths, defs_.designedWidth(last), defs_.datenTypAt(last),
                                 defs_.resizable(last), contentsRect().width());
    if (w)
        SetColWidths(last, *w);
}

void TAStringGrid::FitRowHeight(int row)
{
    if (!hasOption(goRowSizing) || row < FixedRows || row >= RowCount())
        return;
    int height = defaultRowHeight_;
    for (int c = FixedCols; c < ColCount(); ++c) {
        std::string text = GetCell(c, row);
        bool canDraw = true;
        if (OnGetDrawCellText)
            OnGetDrawCellText(this, c, row, text, canDraw);
        if (!canDraw)
            continue;
        int h = 2;
        for (const std::string& line : grid::splitLines(text))
            h += fontMetrics().boundingRect(ansiToQString(line + " ")).height();
        height = std::max(height, h);
    }
    SetRowHeights(row, height);
}

// ---- settings --------------------------------------------------------------------------------

void TAStringGrid::Loaded()
{
    loaded_ = true;
    applyColNames();
    if (!SaveSettings.AutoSave)
        return;
    applyStoredSettings();
}

void TAStringGrid::applyStoredSettings()
{
    if (SaveSettings.RegistryKey.isEmpty()) {
        const QWidget* owner = window();
        SaveSettings.EffectiveKey = defaultGridRegistryKey(
            QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
            owner ? owner->objectName() : QString(), owner ? owner->property("Tag").toInt() : 0);
    } else {
        SaveSettings.EffectiveKey = SaveSettings.RegistryKey;
    }
    SaveSettings.Section = objectName();
    const QString key = SaveSettings.EffectiveKey + QLatin1Char('\\') + SaveSettings.Section;
    SettingsStore store;
    if (SaveSettings.SaveWidth || SaveSettings.SaveHeight) {
        const int w = SaveSettings.SaveWidth
                          ? store.readInteger(key, QStringLiteral("GridWidth"), width())
                          : width();
        const int h = SaveSettings.SaveHeight
                          ? store.readInteger(key, QStringLiteral("GridHeight"), height())
                          : height();
        resize(w, h);
    }
    if (SaveSettings.SaveColumnSizes && ColCount() > 0) {
        const std::string sizes = store.readString(key, QStringLiteral("Sizes")).toStdString();
        const std::vector<int> widths = grid::parseSizes(sizes);
        if (!widths.empty()) {
            for (int c = 0; c < ColCount() && c < static_cast<int>(widths.size()); ++c)
                SetColWidths(c, widths[c]);
            widthsRestored_ = true;
        }
    }
    // The width limit needs the grid's real width, which exists once it is laid out.
    limitPending_ = widthsRestored_;
    if (limitPending_ && isVisible() && width() >= kLaidOutWidth)
        limitColumnWidths();
}

void TAStringGrid::limitColumnWidths()
{
    limitPending_ = false;
    const int gridWidth = width();
    for (int c = 0; c < ColCount(); ++c)
        SetColWidths(c, grid::limitStoredWidth(ColWidths(c), gridWidth));
}

void TAStringGrid::showEvent(QShowEvent* e)
{
    QTableView::showEvent(e);
    if (limitPending_ && width() >= kLaidOutWidth)
        limitColumnWidths();
}

void TAStringGrid::resizeEvent(QResizeEvent* e)
{
    QTableView::resizeEvent(e);
    if (limitPending_ && isVisible() && width() >= kLaidOutWidth)
        limitColumnWidths();
    placeEditor();
}

void TAStringGrid::SaveGridSettings()
{
    if (SaveSettings.EffectiveKey.isEmpty())
        SaveSettings.EffectiveKey = SaveSettings.RegistryKey;
    const QString key = SaveSettings.EffectiveKey + QLatin1Char('\\') +
                        (SaveSettings.Section.isEmpty() ? objectName() : SaveSettings.Section);
    SettingsStore store;
    if (SaveSettings.AutoSave && SaveSettings.SaveColumnSizes) {
        std::vector<int> widths;
        for (int c = 0; c < ColCount(); ++c)
            widths.push_back(ColWidths(c));
        store.writeString(key, QStringLiteral("Sizes"),
                          QString::fromStdString(grid::formatSizes(widths)));
    }
    if (SaveSettings.SaveHeight)
        store.writeInteger(key, QStringLiteral("GridHeight"), height());
    if (SaveSettings.SaveWidth)
        store.writeInteger(key, QStringLiteral("GridWidth"), width());
    store.sync();
}

// ---- check boxes -----------------------------------------------------------------------------

void TAStringGrid::drawCheckBoxes()
{
    // Four 13 x 13 pictures: empty, checked, and both again for a selected cell.
    for (int i = 0; i < 4; ++i) {
        QPixmap pm(15, 15);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, false);
        const bool selected = i >= 2;
        p.setPen(QPen(selected ? QColor(0, 0, 128) : QColor(96, 96, 96), 1));
        p.setBrush(selected ? QColor(214, 228, 255) : QColor(Qt::white));
        p.drawRect(2, 2, 11, 11);
        if (i % 2 == 1) {
            QPen tick(QColor(0, 0, 0), 2);
            p.setPen(tick);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.drawPolyline(QPolygon({QPoint(4, 8), QPoint(7, 11), QPoint(11, 4)}));
        }
        p.end();
        checkBoxes_[i] = pm;
    }
}

} // namespace kovanta
