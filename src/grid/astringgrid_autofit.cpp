// Automatic column widths of the list grid and the sort indicator in its header.
#include "grid/astringgrid.h"
#include "grid/astringgridmodel.h"
#include "grid/core/gridwidths.h"
#include "platform/qt/ansiqstring.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <numeric>

namespace kovanta {

namespace {

// The cell's margins around its text: 2 left, 3 right, the grid line.
constexpr int kCellMargins = 6;
// How many of the widest texts by estimate are measured with the real font.
constexpr std::size_t kMeasured = 8;

} // namespace

void TAStringGrid::watchForAutoWidths()
{
    QHeaderView* h = horizontalHeader();
    // The direction of the last sort shows in its header; the captions leave room for it.
    h->setSortIndicatorShown(true);
    h->setSortIndicator(-1, Qt::AscendingOrder);
    connect(model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
                markContentChanged(from.column() + FixedCols, to.column() + FixedCols);
            });
    connect(model_, &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation o) {
        if (o == Qt::Horizontal)
            scheduleAutoFit();
    });
    for (auto signal : {&QAbstractItemModel::rowsRemoved, &QAbstractItemModel::columnsInserted,
                        &QAbstractItemModel::columnsRemoved})
        connect(model_, signal, this, [this] { markContentChanged(0, ColCount() - 1); });
    connect(model_, &QAbstractItemModel::modelReset, this,
            [this] { markContentChanged(0, ColCount() - 1); });
    // Only a border dragged with the mouse is the user's; code resizes sections too.
    connect(h, &QHeaderView::sectionResized, this, [this] {
        if (headerPressed_ && !applyingWidths_)
            userSizedColumns();
    });
}

void TAStringGrid::SetAutoColumnWidths(bool on)
{
    autoWidths_ = on;
    if (on)
        markContentChanged(0, ColCount() - 1);
}

bool TAStringGrid::AutoWidthsActive() const
{
    return autoWidths_ && !userWidths_ && !widthsRestored_;
}

void TAStringGrid::userSizedColumns()
{
    userWidths_ = true;
}

void TAStringGrid::markContentChanged(int firstCol, int lastCol)
{
    // A changed text in the sorted column may break the order: the indicator goes.
    if (lastSortCol_ >= firstCol && lastSortCol_ <= lastCol)
        horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    if (!autoWidths_)
        return;
    contentWidths_.resize(static_cast<std::size_t>(std::max(0, ColCount())), -1);
    for (int c = std::max(0, firstCol); c <= lastCol && c < ColCount(); ++c)
        contentWidths_[static_cast<std::size_t>(c)] = -1;
    scheduleAutoFit();
}

void TAStringGrid::scheduleAutoFit()
{
    if (!autoWidths_ || autoFitQueued_)
        return;
    // Filling a list writes cell after cell: one fit after all of them.
    autoFitQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        autoFitQueued_ = false;
        applyAutoFit();
    });
}

int TAStringGrid::measureContent(int col)
{
    if (!advancesMeasured_) {
        const QFontMetricsF fm(font());
        for (int i = 0; i < 256; ++i)
            advances_[static_cast<std::size_t>(i)] =
                fm.horizontalAdvance(ansiToQString(std::string(1, static_cast<char>(i))));
        advancesMeasured_ = true;
    }
    const char typ = defs_.datenTypAt(col);
    // The texts as they are painted; the real font measures only the widest few by estimate,
    // so that twenty thousand recipes cost one pass of additions.
    std::vector<std::pair<double, int>> estimates;
    estimates.reserve(static_cast<std::size_t>(std::max(0, RowCount() - FixedRows)));
    std::string hooked;
    for (int r = FixedRows; r < RowCount(); ++r) {
        const std::string* text = &model_->cell(col, r);
        if (OnGetDrawCellText) {
            hooked = *text;
            bool canDraw = true;
            OnGetDrawCellText(this, col, r, hooked, canDraw);
            if (!canDraw)
                continue;
            text = &hooked;
        }
        if (text->empty() || grid::paintsBlank(typ, *text, r, FixedRows, BlankNull))
            continue;
        estimates.emplace_back(grid::estimatedTextWidth(*text, advances_), r);
    }
    if (estimates.empty())
        return 0;
    const std::size_t k = std::min(kMeasured, estimates.size());
    std::partial_sort(estimates.begin(), estimates.begin() + static_cast<std::ptrdiff_t>(k),
                      estimates.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    int widest = 0;
    for (std::size_t i = 0; i < k; ++i) {
        std::string text = model_->cell(col, estimates[i].second);
        bool canDraw = true;
        if (OnGetDrawCellText)
            OnGetDrawCellText(this, col, estimates[i].second, text, canDraw);
        widest = std::max(widest, textWidth(text));
    }
    return widest + kCellMargins;
}

std::vector<grid::AutoColumn> TAStringGrid::autoColumns()
{
    contentWidths_.resize(static_cast<std::size_t>(std::max(0, ColCount())), -1);
    std::vector<grid::AutoColumn> columns;
    const QHeaderView* h = horizontalHeader();
    for (int c = FixedCols; c < ColCount(); ++c) {
        grid::AutoColumn a;
        const int designed = c < defs_.count() ? defs_.designedWidth(c) : 0;
        a.designed = uiScale_.px(designed == 0 ? defaultColWidth_ : designed);
        a.fixed = !defs_.resizable(c);
        a.text = grid::isTextKind(defs_.datenTypAt(c));
        const QString caption = h->model()->headerData(c - FixedCols, Qt::Horizontal).toString();
        a.caption = caption.trimmed().isEmpty() ? 0 : h->sectionSizeHint(c - FixedCols);
        int& content = contentWidths_[static_cast<std::size_t>(c)];
        if (!a.fixed && content < 0)
            content = measureContent(c);
        a.content = std::max(0, content);
        columns.push_back(a);
    }
    return columns;
}

void TAStringGrid::applyAutoFit()
{
    if (!AutoWidthsActive())
        return;
    const std::vector<grid::AutoColumn> columns = autoColumns();
    const std::vector<int> widths = grid::autoColumnWidths(columns, viewport()->width());
    applyingWidths_ = true;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const int col = static_cast<int>(i) + FixedCols;
        if (ColWidths(col) != widths[i])
            SetColWidths(col, widths[i]);
    }
    applyingWidths_ = false;
    const int natural = NaturalWidth();
    if (natural != lastNaturalWidth_) {
        lastNaturalWidth_ = natural;
        emit naturalWidthChanged();
    }
}

int TAStringGrid::NaturalWidth()
{
    const std::vector<grid::AutoColumn> columns = autoColumns();
    int width = 0;
    for (const grid::AutoColumn& c : columns)
        width += grid::naturalColumnWidth(c, 0);
    return width + col0Width_ + 2 * frameWidth() +
           style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
}

void TAStringGrid::showSortIndicator()
{
    if (lastSortCol_ < FixedCols)
        return;
    // Even sort kinds are ascending (by date or by day and month).
    const bool ascending = lastSortArt_ % 2 == 0;
    horizontalHeader()->setSortIndicator(lastSortCol_ - FixedCols,
                                         ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

} // namespace kovanta
