// Sorting by a column, column widths and row heights, and the stored grid settings.
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

namespace kovanta {

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
    lastSortArt_ = sortArt;

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
    showSortIndicator();
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
    const int designed =
        uiScale_.px(defs_.designedWidth(c) == 0 && c < defs_.count() ? defaultColWidth_
                                                                     : defs_.designedWidth(c));
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
        grid::stretchedLastWidth(widths, uiScale_.px(defs_.designedWidth(last)),
                                 defs_.datenTypAt(last), defs_.resizable(last),
                                 contentsRect().width());
    if (w)
        SetColWidths(last, *w);
}

void TAStringGrid::FitRowHeight(int row)
{
    if (!hasOption(goRowSizing) || row < FixedRows || row >= RowCount())
        return;
    int height = uiScale_.px(defaultRowHeight_);
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
                SetColWidths(c, uiScale_.px(widths[c]));
            widthsRestored_ = true;
        }
    }
    // Stored or designed, every width is limited after loading (a first start in a narrow
    // window must not get a column wider than the grid). The limit needs the grid's real width,
    // which exists once it is laid out.
    limitPending_ = true;
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
    applyAutoFit();
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
    // Automatic widths are no choice of the user's: the next start fits them again.
    if (SaveSettings.AutoSave && SaveSettings.SaveColumnSizes && !AutoWidthsActive()) {
        std::vector<int> widths;
        for (int c = 0; c < ColCount(); ++c)
            widths.push_back(uiScale_.designed(ColWidths(c)));
        store.writeString(key, QStringLiteral("Sizes"),
                          QString::fromStdString(grid::formatSizes(widths)));
    }
    if (SaveSettings.SaveHeight)
        store.writeInteger(key, QStringLiteral("GridHeight"), height());
    if (SaveSettings.SaveWidth)
        store.writeInteger(key, QStringLiteral("GridWidth"), width());
    store.sync();
}

} // namespace kovanta
