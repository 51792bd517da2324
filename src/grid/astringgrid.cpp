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
    h->setDefaultSectionSize(uiScale_.px(defaultColWidth_));
    h->setSectionsClickable(false);
    h->setHighlightSections(false);
    h->setStretchLastSection(false);
    h->setMouseTracking(true);
    h->viewport()->installEventFilter(this);
    QHeaderView* v = verticalHeader();
    v->setMinimumSectionSize(1);
    v->setDefaultSectionSize(uiScale_.px(defaultRowHeight_));
    v->setSectionResizeMode(QHeaderView::Fixed);
    v->setSectionsClickable(false);
    v->setHighlightSections(false);
    v->setFirstSectionMovable(true);
    v->viewport()->installEventFilter(this);
    viewport()->installEventFilter(this);
    SetColWidths(0, uiScale_.px(defaultColWidth_));
    SetRowHeights(0, uiScale_.px(defaultRowHeight_));

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
    watchForAutoWidths();
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
        SetColWidths(c, uiScale_.px(defaultColWidth_));
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
    if (row >= FixedRows && grid::cellKindFor(defs_.datenTypAt(col)) == grid::CellKind::Number)
        widenForNumber(col, text);
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
    horizontalHeader()->setDefaultSectionSize(uiScale_.px(width));
}

void TAStringGrid::SetDefaultRowHeight(int height)
{
    defaultRowHeight_ = height;
    const int h = uiScale_.px(height);
    verticalHeader()->setDefaultSectionSize(h);
    for (int r = FixedRows; r < RowCount(); ++r)
        SetRowHeights(r, h);
    SetRowHeights(0, h);
}

void TAStringGrid::SetUiScale(const UiScale& scale)
{
    uiScale_ = scale;
    SetDefaultColWidth(defaultColWidth_);
    SetDefaultRowHeight(defaultRowHeight_);
}

void TAStringGrid::widenForNumber(int col, std::string_view text)
{
    // A cheap bound first: most numbers are far narrower than their column, and a list of
    // twenty thousand recipes should not be measured digit by digit.
    // Masked numbers are padded with blanks on the left; cutting those loses nothing.
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    const int column = ColWidths(col);
    const int cellMargins = 2 + 3 + 1; // text inset left and right, grid line
    const bool plain = text.find_first_not_of("0123456789-+,. ") == std::string_view::npos;
    if (plain) {
        if (numberCharWidth_ <= 0) {
            const QFontMetrics fm = fontMetrics();
            for (const char c : std::string_view("0123456789-+,. "))
                numberCharWidth_ =
                    std::max(numberCharWidth_, fm.horizontalAdvance(QLatin1Char(c)));
        }
        if (static_cast<int>(text.size()) * numberCharWidth_ + cellMargins <= column)
            return;
    }
    const int needed = textWidth(std::string(text)) + cellMargins;
    if (needed > column)
        SetColWidths(col, needed);
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
            SetColWidths(col, uiScale_.px(e.width == 0 ? defaultColWidth_ : e.width));
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