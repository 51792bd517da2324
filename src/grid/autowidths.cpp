#include "grid/autowidths.h"

#include "grid/astringgrid.h"
#include "grid/stringgriddelegate.h"
#include "grid/stringgridlayout.h"
#include "grid/stringgridmodel.h"
#include "platform/qt/ansiqstring.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace kovanta {

namespace {

// How many of the widest texts by estimate are measured with the real font.
constexpr std::size_t kMeasured = 8;
constexpr int kFixedCols = TAStringGrid::FixedCols;

} // namespace

AutoWidths::AutoWidths(TAStringGrid* grid, StringGridLayout* layout)
    : QObject(layout), grid_(grid), layout_(layout)
{
    const StringGridModel* model = grid->GridModel();
    QHeaderView* h = grid->horizontalHeader();
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
                contentChanged(from.column() + kFixedCols, to.column() + kFixedCols);
            });
    connect(model, &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation o) {
        if (o == Qt::Horizontal)
            schedule();
    });
    const auto all = [this] { contentChanged(0, grid_->ColCount() - 1); };
    for (auto signal : {&QAbstractItemModel::rowsRemoved, &QAbstractItemModel::columnsInserted,
                        &QAbstractItemModel::columnsRemoved})
        connect(model, signal, this, all);
    connect(model, &QAbstractItemModel::modelReset, this, all);
    // Only a border dragged with the mouse is the user's; code resizes sections too.
    connect(h, &QHeaderView::sectionResized, this, [this] {
        if (headerPressed_ && !applying_)
            userSizedColumns();
    });
    h->viewport()->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
}

bool AutoWidths::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == grid_->viewport()) {
        if (e->type() == QEvent::Resize)
            apply();
    } else if (e->type() == QEvent::MouseButtonPress) {
        headerPressed_ = true;
    } else if (e->type() == QEvent::MouseButtonRelease) {
        headerPressed_ = false;
    }
    return false;
}

void AutoWidths::setEnabled(bool on)
{
    enabled_ = on;
    if (on)
        contentChanged(0, grid_->ColCount() - 1);
}

bool AutoWidths::active() const
{
    return enabled_ && !userWidths_ && !layout_->widthsRestored();
}

void AutoWidths::fontChanged()
{
    advancesMeasured_ = false;
    contentChanged(0, grid_->ColCount() - 1);
}

void AutoWidths::contentChanged(int firstCol, int lastCol)
{
    // A changed text in the sorted column may break the order: the arrow goes.
    const int sorted = grid_->LastSortedColumn();
    if (sorted >= firstCol && sorted <= lastCol)
        layout_->showSortIndicator(-1, true);
    if (!enabled_)
        return;
    contentWidths_.resize(static_cast<std::size_t>(std::max(0, grid_->ColCount())), -1);
    for (int c = std::max(0, firstCol); c <= lastCol && c < grid_->ColCount(); ++c)
        contentWidths_[static_cast<std::size_t>(c)] = -1;
    schedule();
}

void AutoWidths::schedule()
{
    if (!enabled_ || queued_)
        return;
    // Filling a list writes cell after cell: one fit after all of them.
    queued_ = true;
    QTimer::singleShot(0, this, [this] {
        queued_ = false;
        apply();
    });
}

int AutoWidths::measureContent(int col)
{
    if (!advancesMeasured_) {
        const QFontMetricsF fm(grid_->font());
        for (int i = 0; i < 256; ++i)
            advances_[static_cast<std::size_t>(i)] =
                fm.horizontalAdvance(ansiToQString(std::string(1, static_cast<char>(i))));
        advancesMeasured_ = true;
    }
    // The texts as they are painted; the real font measures only the widest few by estimate,
    // so that twenty thousand recipes cost one pass of additions.
    const StringGridDelegate& painting = grid_->delegate();
    std::vector<std::pair<double, int>> estimates;
    estimates.reserve(static_cast<std::size_t>(std::max(0, grid_->RowCount() - 1)));
    for (int r = TAStringGrid::FixedRows; r < grid_->RowCount(); ++r) {
        if (!grid_->OnGetDrawCellText) {
            // The common case without the hook: no copy of the text.
            const std::string& text = grid_->GridModel()->cell(col, r);
            if (!text.empty() && !grid::paintsBlank(grid_->ColumnDefs().datenTypAt(col), text, r,
                                                    TAStringGrid::FixedRows, grid_->BlankNull))
                estimates.emplace_back(grid::estimatedTextWidth(text, advances_), r);
            continue;
        }
        const StringGridDelegate::Shown shown = painting.shownCell(col, r);
        if (shown.canDraw && !shown.visible().empty())
            estimates.emplace_back(grid::estimatedTextWidth(shown.text, advances_), r);
    }
    if (estimates.empty())
        return 0;
    const std::size_t k = std::min(kMeasured, estimates.size());
    std::partial_sort(estimates.begin(), estimates.begin() + static_cast<std::ptrdiff_t>(k),
                      estimates.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    int widest = 0;
    for (std::size_t i = 0; i < k; ++i)
        widest = std::max(widest,
                          painting.paintedWidth(col, painting.shownCell(col, estimates[i].second)));
    return widest + grid::kCellTextMargins;
}

std::vector<grid::AutoColumn> AutoWidths::columns()
{
    contentWidths_.resize(static_cast<std::size_t>(std::max(0, grid_->ColCount())), -1);
    std::vector<grid::AutoColumn> columns;
    const QHeaderView* h = grid_->horizontalHeader();
    for (int c = kFixedCols; c < grid_->ColCount(); ++c) {
        grid::AutoColumn a;
        a.designed = layout_->designedWidth(c);
        a.fixed = !grid_->ColumnDefs().resizable(c);
        a.text = grid::isTextKind(grid_->ColumnDefs().datenTypAt(c));
        const QString caption = h->model()->headerData(c - kFixedCols, Qt::Horizontal).toString();
        a.caption = caption.trimmed().isEmpty() ? 0 : h->sectionSizeHint(c - kFixedCols);
        int& content = contentWidths_[static_cast<std::size_t>(c)];
        if (!a.fixed && content < 0)
            content = measureContent(c);
        a.content = std::max(0, content);
        columns.push_back(a);
    }
    return columns;
}

void AutoWidths::apply()
{
    if (!active())
        return;
    const std::vector<int> widths = grid::autoColumnWidths(columns(), grid_->viewport()->width());
    applying_ = true;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const int col = static_cast<int>(i) + kFixedCols;
        if (layout_->colWidth(col) != widths[i])
            layout_->setColWidth(col, widths[i]);
    }
    applying_ = false;
    const int natural = naturalWidth();
    if (natural != lastNaturalWidth_) {
        lastNaturalWidth_ = natural;
        emit grid_->naturalWidthChanged();
    }
}

int AutoWidths::naturalWidth()
{
    int width = 0;
    for (const grid::AutoColumn& c : columns())
        width += grid::naturalColumnWidth(c, 0);
    return width + layout_->colWidth(0) + 2 * grid_->frameWidth() +
           grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                       grid_->verticalScrollBar());
}

} // namespace kovanta
