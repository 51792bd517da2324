#include "grid/astringgrid.h"

#include "grid/ainplaceedit.h"
#include "grid/stringgriddelegate.h"
#include "grid/stringgridinput.h"
#include "grid/stringgridlayout.h"
#include "grid/stringgridmodel.h"
#include "platform/strings.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScopeGuard>

#include <algorithm>
#include <utility>

namespace kovanta {

TAStringGrid::TAStringGrid(QWidget* parent) : QTableView(parent)
{
    // The parts first: the view reports its first current cell while it takes the model.
    model_ = new StringGridModel(this);
    delegate_ = new StringGridDelegate(this);
    layout_ = new StringGridLayout(this);
    input_ = new StringGridInput(this);
    setModel(model_);
    setItemDelegate(delegate_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(true);
    setAutoScroll(true);
    setCornerButtonEnabled(false);

    // Header cells show what painting shows of fixed cells: the text hook, the blank "255" of
    // check box columns, control characters as blanks.
    model_->setHeaderText([this](int col, int row) {
        std::string text = delegate_->shownCell(col, row).visible();
        blankControls(text);
        return text;
    });
    model_->setHeaderHint([this](int col, int row) { return delegate_->hintOf(col, row); });
    SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goDrawFocusSelected |
               goColSizing | goEditing | goTabs | goAlwaysShowEditor | goThumbTracking);
    SetColNames(TColNames{"Text|20|0|1|1|"});
}

TAStringGrid::~TAStringGrid()
{
    // The focus leaves the editor while the widgets go: no handler runs then, its owner may be
    // going too.
    disconnect(qApp, nullptr, input_, nullptr);
    if (loaded_)
        SaveGridSettings();
    // The parts that filter the events of the grid's widgets go while the grid is whole:
    // deleted later with the other children, they would see a grid that is only a QTableView.
    delete std::exchange(input_, nullptr);
    delete std::exchange(layout_, nullptr);
}

// ---- cells -----------------------------------------------------------------------------------

void TAStringGrid::SetColCount(int count)
{
    const int old = ColCount();
    model_->setColCount(count);
    layout_->columnsAdded(old);
    input_->placeEditor();
}

void TAStringGrid::SetRowCount(int count)
{
    model_->setGridRowCount(count);
    input_->placeEditor();
}

void TAStringGrid::SetCell(int col, int row, std::string_view text)
{
    if (!model_->setCell(col, row, text))
        return;
    if (row >= FixedRows &&
        grid::cellKindFor(ColumnDefs().datenTypAt(col)) == grid::CellKind::Number)
        layout_->widenForNumber(col, text);
    input_->cellWritten(col, row, text);
}

// ---- current cell ----------------------------------------------------------------------------

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

void TAStringGrid::SetOptions(GridOptions options)
{
    options_ = options;
    setShowGrid(hasOption(goVertLine) || hasOption(goHorzLine));
    setSelectionBehavior(hasOption(goRowSelect) ? SelectRows : SelectItems);
    setSelectionMode(hasOption(goRangeSelect) ? ContiguousSelection : SingleSelection);
    verticalHeader()->setSectionsMovable(hasOption(goRowMoving));
    horizontalHeader()->setSectionsMovable(hasOption(goColMoving));
    verticalHeader()->setSectionResizeMode(hasOption(goRowSizing) ? QHeaderView::Interactive
                                                                  : QHeaderView::Fixed);
    layout_->applyColumnResizeModes();
    input_->optionsChanged();
}

// ---- column definitions ----------------------------------------------------------------------

void TAStringGrid::SetColNames(const TColNames& names)
{
    colNames_ = names;
    applyColNames();
}

void TAStringGrid::applyColNames()
{
    model_->setColumns(grid::buildColumnDefs(colNames_.entries()));
    if (colNames_.empty()) {
        viewport()->update();
        return;
    }
    SetColCount(colNames_.count());
    if (RowCount() < 1)
        SetRowCount(1);
    for (int col = 0; col < colNames_.count(); ++col)
        SetCell(col, 0, colNames_.entry(col).name);
    layout_->applyDesignedWidths();
    viewport()->update();
}

int TAStringGrid::EditArtOf(int col, int row)
{
    int art = grid::editArtFor(ColumnDefs().datenTypAt(col));
    if (OnGetEditorArt)
        OnGetEditorArt(this, col, row, art);
    return art;
}

// ---- properties ------------------------------------------------------------------------------

void TAStringGrid::setKeyCalc(bool grid::KeyCalcSwitches::*which, bool on)
{
    keyCalc_.*which = on;
    input_->keyCalcChanged();
}

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

// ---- sorting ---------------------------------------------------------------------------------

void TAStringGrid::SortColumn(int col, int mode)
{
    if (col < 0 || col >= ColCount() || mode < 0 || mode > 4)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor); // the hourglass while it sorts
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
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
    const bool hasState = col < static_cast<int>(SortTyp().size());
    if (mode == 0) {
        const char typ = hasState ? SortTyp()[col] : '0';
        sortArt = (typ >= '0' && typ <= '3') ? typ - '0' : 0;
        if (col != lastSortCol_) {
            sortArt &= ~1;
            model_->setSortTyp(col, static_cast<char>('0' + sortArt));
        }
    } else {
        sortArt = mode - 1;
    }
    lastSortCol_ = col;
    lastSortArt_ = sortArt;

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
    const int currentCol = Col();
    const std::vector<int> order = model_->sortRows(
        rows, col, {grid::sortTypeFor(ColumnDefs().datenTypAt(col)), sortArt, SortObjectUsed},
        hook);
    for (std::size_t i = 0; followed >= 0 && i < order.size(); ++i) {
        if (rows[order[i]] == followed) {
            input_->followRow(currentCol, rows[i]);
            break;
        }
    }
    if (mode == 0 && hasState)
        model_->setSortTyp(col, grid::nextSortTyp(SortTyp()[col], ColumnDefs().datenTypAt(col)));
    layout_->showSortIndicator(lastSortCol_, lastSortArt_ % 2 == 0);
    input_->resyncEditor();
    if (OnSortEnde)
        OnSortEnde(this, sortAb, sortZahl);
}

// ---- widths, settings and the editor: the parts ----------------------------------------------

void TAStringGrid::Loaded()
{
    loaded_ = true;
    applyColNames();
    if (SaveSettings.AutoSave)
        layout_->restoreStoredSizes();
}

bool TAStringGrid::CellEditableForSync() const
{
    return CanEditShow() && hasOption(goEditing) && hasOption(goAlwaysShowEditor) &&
           !hasOption(goRowSelect);
}

// ---- the view's events, handed to the parts --------------------------------------------------

bool TAStringGrid::event(QEvent* e)
{
    // Events come while the parts are made (a child added) and after they went.
    if (!input_ || !layout_)
        return QTableView::event(e);
    if (e->type() == QEvent::FontChange)
        layout_->fontChanged();
    return input_->gridEvent(e) || QTableView::event(e);
}

} // namespace kovanta
