#include "grid/stringgridlayout.h"

#include "grid/astringgrid.h"
#include "grid/autowidths.h"
#include "grid/core/gridwidths.h"
#include "grid/stringgriddelegate.h"
#include "platform/qt/ansiqstring.h"
#include "platform/qt/settingsstore.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHeaderView>

#include <algorithm>
#include <cstdint>

namespace kovanta {

namespace {

// Narrower than this, a grid is still waiting for its layout (a side panel starts at 50).
constexpr int kLaidOutWidth = 100;
constexpr int kFixedCols = TAStringGrid::FixedCols;
constexpr int kFixedRows = TAStringGrid::FixedRows;

} // namespace

int textLinesWidth(const QFontMetrics& fm, std::string_view text)
{
    int widest = 0;
    for (const std::string& line : grid::splitLines(text))
        widest = std::max(widest, fm.horizontalAdvance(ansiToQString(line)));
    return widest;
}

int textLinesHeight(const QFontMetrics& fm, std::string_view text)
{
    int height = 2;
    for (const std::string& line : grid::splitLines(text))
        height += fm.boundingRect(ansiToQString(line + " ")).height();
    return height;
}

StringGridLayout::StringGridLayout(TAStringGrid* grid) : QObject(grid), grid_(grid)
{
    QHeaderView* h = grid->horizontalHeader();
    h->setMinimumSectionSize(1);
    h->setDefaultSectionSize(uiScale_.px(defaultColWidth_));
    h->setSectionsClickable(false);
    h->setHighlightSections(false);
    h->setStretchLastSection(false);
    // The direction of the last sort shows in its header; the captions leave room for it.
    h->setSortIndicatorShown(true);
    h->setSortIndicator(-1, Qt::AscendingOrder);
    QHeaderView* v = grid->verticalHeader();
    v->setMinimumSectionSize(1);
    v->setDefaultSectionSize(uiScale_.px(defaultRowHeight_));
    v->setSectionResizeMode(QHeaderView::Fixed);
    v->setSectionsClickable(false);
    v->setHighlightSections(false);
    v->setFirstSectionMovable(true);
    setColWidth(0, uiScale_.px(defaultColWidth_));
    setRowHeight(0, uiScale_.px(defaultRowHeight_));
    autoWidths_ = new AutoWidths(grid, this);
}

StringGridLayout::~StringGridLayout() = default;

// ---- sizes -----------------------------------------------------------------------------------

int StringGridLayout::colWidth(int col) const
{
    if (col == 0)
        return col0Width_;
    if (col < 0 || col >= grid_->ColCount())
        return 0;
    return grid_->horizontalHeader()->sectionSize(col - kFixedCols);
}

void StringGridLayout::setColWidth(int col, int width)
{
    width = std::max(0, width);
    if (col == 0) {
        col0Width_ = width;
        grid_->verticalHeader()->setFixedWidth(width);
    } else if (col > 0 && col < grid_->ColCount()) {
        grid_->horizontalHeader()->resizeSection(col - kFixedCols, width);
    }
}

int StringGridLayout::rowHeight(int row) const
{
    if (row == 0)
        return row0Height_;
    if (row < 0 || row >= grid_->RowCount())
        return 0;
    return grid_->verticalHeader()->sectionSize(row - kFixedRows);
}

void StringGridLayout::setRowHeight(int row, int height)
{
    height = std::max(0, height);
    if (row == 0) {
        row0Height_ = height;
        grid_->horizontalHeader()->setFixedHeight(height);
    } else if (row > 0 && row < grid_->RowCount()) {
        grid_->verticalHeader()->resizeSection(row - kFixedRows, height);
    }
}

void StringGridLayout::setDefaultColWidth(int width)
{
    defaultColWidth_ = width;
    grid_->horizontalHeader()->setDefaultSectionSize(uiScale_.px(width));
}

void StringGridLayout::setDefaultRowHeight(int height)
{
    defaultRowHeight_ = height;
    const int h = uiScale_.px(height);
    grid_->verticalHeader()->setDefaultSectionSize(h);
    for (int r = kFixedRows; r < grid_->RowCount(); ++r)
        setRowHeight(r, h);
    setRowHeight(0, h);
}

void StringGridLayout::setUiScale(const UiScale& scale)
{
    uiScale_ = scale;
    setDefaultColWidth(defaultColWidth_);
    setDefaultRowHeight(defaultRowHeight_);
}

int StringGridLayout::designedWidth(int col) const
{
    const int designed = grid_->ColumnDefs().designedWidth(col);
    return uiScale_.px(designed == 0 ? defaultColWidth_ : designed);
}

QPoint StringGridLayout::cellAt(QPoint p) const
{
    const QRect area = grid_->contentsRect();
    const int x = p.x() - area.left();
    const int y = p.y() - area.top();
    int col = -1, row = -1;
    if (x >= 0 && x < col0Width_) {
        col = 0;
    } else if (x >= col0Width_) {
        const int logical = grid_->horizontalHeader()->logicalIndexAt(x - col0Width_);
        col = logical >= 0 ? logical + kFixedCols : -1;
    }
    if (y >= 0 && y < row0Height_) {
        row = 0;
    } else if (y >= row0Height_) {
        const int logical = grid_->verticalHeader()->logicalIndexAt(y - row0Height_);
        row = logical >= 0 ? logical + kFixedRows : -1;
    }
    return {col, row};
}

QRect StringGridLayout::cellRect(int col, int row) const
{
    const QHeaderView* h = grid_->horizontalHeader();
    const QHeaderView* v = grid_->verticalHeader();
    int left = 0, width = col0Width_, top = 0, height = row0Height_;
    if (col > 0 && col < grid_->ColCount()) {
        left = col0Width_ + h->sectionViewportPosition(col - kFixedCols);
        width = h->sectionSize(col - kFixedCols);
    } else if (col != 0) {
        return {};
    }
    if (row > 0 && row < grid_->RowCount()) {
        top = row0Height_ + v->sectionViewportPosition(row - kFixedRows);
        height = v->sectionSize(row - kFixedRows);
    } else if (row != 0) {
        return {};
    }
    const QRect area = grid_->contentsRect();
    return {area.left() + left, area.top() + top, width, height};
}

// ---- column definitions ----------------------------------------------------------------------

void StringGridLayout::columnsAdded(int oldCount)
{
    for (int c = std::max(1, oldCount); c < grid_->ColCount(); ++c)
        setColWidth(c, uiScale_.px(defaultColWidth_));
    applyColumnResizeModes();
}

void StringGridLayout::applyDesignedWidths()
{
    if (!widthsRestored_) {
        for (int col = 0; col < grid_->ColumnDefs().count(); ++col)
            setColWidth(col, designedWidth(col));
    }
    applyColumnResizeModes();
}

void StringGridLayout::applyColumnResizeModes()
{
    // A column's own ColSizing decides, as the grid's mouse handling sets goColSizing for the
    // column under the mouse: the lists of the main window leave it out of their Options and
    // are sized by the user all the same.
    QHeaderView* h = grid_->horizontalHeader();
    for (int c = kFixedCols; c < grid_->ColCount(); ++c)
        h->setSectionResizeMode(c - kFixedCols, grid_->ColumnDefs().resizable(c)
                                                    ? QHeaderView::Interactive
                                                    : QHeaderView::Fixed);
}

void StringGridLayout::mouseOverCell(QPoint cell)
{
    if (cell.x() < 0 || cell.y() < 0)
        return;
    const grid::ColumnDefs& defs = grid_->ColumnDefs();
    const int c = cell.x();
    if (grid_->OnCanColSizing) {
        bool canSize = defs.resizable(c);
        grid_->OnCanColSizing(grid_, c, cell.y(), canSize);
        if (c >= kFixedCols)
            grid_->horizontalHeader()->setSectionResizeMode(
                c - kFixedCols, canSize ? QHeaderView::Interactive : QHeaderView::Fixed);
    }
    if (cell == hoverCell_)
        return;
    hoverCell_ = cell;
    if (grid_->OnMoveNewCell)
        grid_->OnMoveNewCell(grid_, c, cell.y(), defs.sortTypAt(c), defs.datenTypAt(c),
                             defs.covers(c) ? defs.readOnly[c] : '1',
                             defs.covers(c) ? defs.colSizing[c] : '1',
                             static_cast<std::uint8_t>(std::clamp(defs.designedWidth(c), 0, 255)));
}

void StringGridLayout::widenForNumber(int col, std::string_view text)
{
    // Masked numbers are padded with blanks on the left; cutting those loses nothing.
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    const int column = colWidth(col);
    const int cellMargins = grid::kCellTextMargins;
    // A cheap bound first: most numbers are far narrower than their column, and a list of
    // twenty thousand recipes should not be measured digit by digit.
    const bool plain = text.find_first_not_of("0123456789-+,. ") == std::string_view::npos;
    if (plain) {
        if (numberCharWidth_ <= 0) {
            const QFontMetrics fm = grid_->fontMetrics();
            for (const char c : std::string_view("0123456789-+,. "))
                numberCharWidth_ = std::max(numberCharWidth_, fm.horizontalAdvance(QLatin1Char(c)));
        }
        if (static_cast<int>(text.size()) * numberCharWidth_ + cellMargins <= column)
            return;
    }
    const int needed = textLinesWidth(grid_->fontMetrics(), text) + cellMargins;
    if (needed > column)
        setColWidth(col, needed);
}

// ---- fitting ---------------------------------------------------------------------------------

void StringGridLayout::fitColumn(int c)
{
    if (c < 0 || c >= grid_->ColCount())
        return;
    const int designed = designedWidth(c);
    if (!grid_->ColumnDefs().resizable(c)) {
        setColWidth(c, designed);
        return;
    }
    const StringGridDelegate& painting = grid_->delegate();
    int widest = 0;
    bool measured = false;
    for (int r = 0; r < grid_->RowCount(); ++r) {
        const StringGridDelegate::Shown shown = painting.shownCell(c, r);
        if (!shown.canDraw)
            continue;
        measured = true;
        widest = std::max(widest, painting.paintedWidth(c, shown));
    }
    if (measured)
        setColWidth(c, grid::fittedWidth(designed, widest, grid_->viewport()->width() + col0Width_,
                                         col0Width_));
}

void StringGridLayout::fitColumns(int c, bool force)
{
    if (!force && !grid_->AutoColResize)
        return;
    if (c >= 0) {
        const int last = grid_->ColWidthEinzel ? c : grid_->ColCount() - 1;
        for (int i = c; i <= last; ++i)
            fitColumn(i);
    } else {
        for (int i = 0; i < grid_->ColCount(); ++i)
            fitColumn(i);
        for (int r = kFixedRows; r < grid_->RowCount(); ++r)
            fitRowHeight(r);
    }
    stretchLastColumn();
}

void StringGridLayout::stretchLastColumn()
{
    const int last = grid_->ColCount() - 1;
    if (last < 0)
        return;
    std::vector<int> widths;
    for (int c = 0; c <= last; ++c)
        widths.push_back(colWidth(c));
    const grid::ColumnDefs& defs = grid_->ColumnDefs();
    const auto w = grid::stretchedLastWidth(widths, uiScale_.px(defs.designedWidth(last)),
                                            defs.datenTypAt(last), defs.resizable(last),
                                            grid_->contentsRect().width());
    if (w)
        setColWidth(last, *w);
}

void StringGridLayout::fitRowHeight(int row)
{
    if (!grid_->hasOption(goRowSizing) || row < kFixedRows || row >= grid_->RowCount())
        return;
    const QFontMetrics fm = grid_->fontMetrics();
    int height = uiScale_.px(defaultRowHeight_);
    for (int c = kFixedCols; c < grid_->ColCount(); ++c) {
        const StringGridDelegate::Shown shown = grid_->delegate().shownCell(c, row);
        if (shown.canDraw)
            height = std::max(height, textLinesHeight(fm, shown.text));
    }
    setRowHeight(row, height);
}

void StringGridLayout::refitAfterEditorWidening(int col)
{
    if (grid_->AutoColResize && col > 0 && col < grid_->ColCount())
        fitColumn(col);
}

void StringGridLayout::fitRowToEditor(std::string_view text)
{
    if (!grid_->hasOption(goRowSizing))
        return;
    const int h = textLinesHeight(grid_->fontMetrics(), text);
    if (h > rowHeight(grid_->Row()))
        setRowHeight(grid_->Row(), h);
}

void StringGridLayout::showSortIndicator(int col, bool ascending)
{
    grid_->horizontalHeader()->setSortIndicator(col >= kFixedCols ? col - kFixedCols : -1,
                                                ascending ? Qt::AscendingOrder
                                                          : Qt::DescendingOrder);
}

// ---- stored sizes ----------------------------------------------------------------------------

void StringGridLayout::restoreStoredSizes()
{
    if (restoreGridSizes(*grid_))
        widthsRestored_ = true;
    // Stored or designed, every width is limited after loading (a first start in a narrow
    // window must not get a column wider than the grid). The limit needs the grid's real width,
    // which exists once it is laid out.
    limitPending_ = true;
    if (grid_->isVisible() && grid_->width() >= kLaidOutWidth)
        limitColumnWidths();
}

void StringGridLayout::storeSizes()
{
    // Automatic widths are no choice of the user's: the next start fits them again.
    storeGridSizes(*grid_, !autoWidths_->active());
}

void StringGridLayout::limitColumnWidths()
{
    limitPending_ = false;
    const int gridWidth = grid_->width();
    for (int c = 0; c < grid_->ColCount(); ++c)
        setColWidth(c, grid::limitStoredWidth(colWidth(c), gridWidth));
}

// ---- the view's events -----------------------------------------------------------------------

void StringGridLayout::fontChanged()
{
    numberCharWidth_ = 0; // measured again with the new font
    autoWidths_->fontChanged();
}

void StringGridLayout::shown()
{
    if (limitPending_ && grid_->width() >= kLaidOutWidth)
        limitColumnWidths();
    autoWidths_->apply();
}

void StringGridLayout::resized()
{
    if (limitPending_ && grid_->isVisible() && grid_->width() >= kLaidOutWidth)
        limitColumnWidths();
}

} // namespace kovanta
