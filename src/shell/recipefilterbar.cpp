#include "recipefilterbar.h"

#include "grid/astringgrid.h"
#include "grid/stringgridmodel.h"
#include "hint.h"
#include "platform/qt/ansiqstring.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace kovanta {

namespace {

// Grid columns searched: "Rezept" and "Rezeptgruppe".
constexpr int kNameCol = 2;
constexpr int kGroupCol = 3;

} // namespace

RecipeFilterBar::RecipeFilterBar(TAStringGrid* list, QWidget* parent)
    : QWidget(parent), grid_(list)
{
    setObjectName(QStringLiteral("RezeptFilter"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(6);

    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("SuchFeld"));
    field_->setPlaceholderText(QStringLiteral("Suchen"));
    field_->setClearButtonEnabled(true);
    applyHint(field_, QStringLiteral("Rezepte nach Name oder Gruppe filtern (Strg+F)|"
                                     "Zeigt nur die Rezepte, in deren Name oder Gruppe jedes "
                                     "eingegebene Wort vorkommt; Esc zeigt wieder alle"));
    field_->installEventFilter(this);
    layout->addWidget(field_, 1);

    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("SuchAnzahl"));
    count_->setText(QString::fromStdString(FilterCountText(0, 0)));
    layout->addWidget(count_, 0);

    // Ctrl+F from anywhere in the window, while the list (and so this bar) is visible.
    auto* find = new QAction(this);
    find->setObjectName(QStringLiteral("Suchen1"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    find->setShortcutContext(Qt::WindowShortcut);
    addAction(find);
    connect(find, &QAction::triggered, this, &RecipeFilterBar::focusField);

    pending_ = new QTimer(this);
    pending_->setSingleShot(true);
    pending_->setInterval(0);
    connect(pending_, &QTimer::timeout, this, &RecipeFilterBar::refilter);

    connect(field_, &QLineEdit::textChanged, this, &RecipeFilterBar::onTextChanged);

    // The list changes under the filter: new rows (a read), other names, another order.
    StringGridModel* cells = grid_->GridModel();
    const auto rowsChanged = [this] { scheduleRefilter(true); };
    connect(cells, &QAbstractItemModel::rowsInserted, this, rowsChanged);
    connect(cells, &QAbstractItemModel::rowsRemoved, this, rowsChanged);
    connect(cells, &QAbstractItemModel::modelReset, this, rowsChanged);
    connect(cells, &QAbstractItemModel::layoutChanged, this, [this] {
        if (!sorting_)
            scheduleRefilter(true);
    });
    connect(cells, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& from, const QModelIndex& to) {
                // Model column c is grid column c + 1. A changed plan mark does not concern
                // the filter; new names (a filled list) are filtered before anything paints.
                const int first = from.column() + TAStringGrid::FixedCols;
                const int last = to.column() + TAStringGrid::FixedCols;
                if (last < kNameCol || first > kGroupCol)
                    return;
                indexStale_ = true;
                refilter();
            });

    // Sorting moves rows through a layout change, which the view would have to replay for every
    // hidden row; the rows are shown for the sort and filtered again after it.
    sortBegin_ = grid_->OnSortBegin;
    grid_->OnSortBegin = [this](TAStringGrid* g, int from, int count, bool& allow) {
        if (sortBegin_)
            sortBegin_(g, from, count, allow);
        if (!allow)
            return;
        sorting_ = true;
        showAllRows();
    };
    sortEnd_ = grid_->OnSortEnde;
    grid_->OnSortEnde = [this](TAStringGrid* g, int from, int count) {
        if (sortEnd_)
            sortEnd_(g, from, count);
        sorting_ = false;
        indexStale_ = true;
        refilter();
    };
    grid_->RowFinderPosition = [this](int row) {
        const std::size_t r = static_cast<std::size_t>(row - TAStringGrid::FixedRows);
        return row >= TAStringGrid::FixedRows && r < position_.size() ? position_[r] : row;
    };
    refilter();
}

RecipeFilterBar::~RecipeFilterBar()
{
    // The grid may outlive the bar while the window is torn down.
    if (grid_) {
        grid_->RowFinderPosition = nullptr;
        grid_->OnSortBegin = sortBegin_;
        grid_->OnSortEnde = sortEnd_;
    }
}

bool RecipeFilterBar::rowShown(int gridRow) const
{
    const int r = gridRow - TAStringGrid::FixedRows;
    if (r < 0 || r >= grid_->RowCount() - TAStringGrid::FixedRows)
        return false;
    return !grid_->isRowHidden(r);
}

void RecipeFilterBar::focusField()
{
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
}

bool RecipeFilterBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == field_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            if (field_->text().isEmpty())
                return false;
            field_->clear();
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
             key->key() == Qt::Key_Down) &&
            key->modifiers() == Qt::NoModifier) {
            // On to the results: the current row, or the first shown one.
            keepCurrentRowShown();
            if (!grid_->currentIndex().isValid()) {
                for (int r = 0; r < static_cast<int>(hidden_.size()); ++r) {
                    if (!hidden_[static_cast<std::size_t>(r)]) {
                        grid_->SetRow(r + TAStringGrid::FixedRows);
                        break;
                    }
                }
            }
            grid_->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void RecipeFilterBar::onTextChanged()
{
    pending_->stop();
    refilter();
}

void RecipeFilterBar::scheduleRefilter(bool rebuild)
{
    if (rebuild)
        indexStale_ = true;
    pending_->start();
}

void RecipeFilterBar::refilter()
{
    pending_->stop();
    apply();
}

void RecipeFilterBar::rebuildIndex()
{
    const StringGridModel& cells = *grid_->GridModel();
    const int rows = grid_->RowCount() - TAStringGrid::FixedRows;
    const std::size_t n = static_cast<std::size_t>(std::max(0, rows));
    filter_.Clear();
    filter_.Reserve(n, n * 32);
    hasRecipe_.assign(n, 0);
    hidden_.assign(n, 0);
    for (std::size_t r = 0; r < n; ++r) {
        const int row = static_cast<int>(r) + TAStringGrid::FixedRows;
        filter_.Add(cells.cell(kNameCol, row), cells.cell(kGroupCol, row));
        hasRecipe_[r] = grid_->Objects(0, row) != nullptr;
        // What the view holds now: rows it kept across a change of the row count.
        hidden_[r] = grid_->isRowHidden(static_cast<int>(r));
    }
    indexStale_ = false;
}

void RecipeFilterBar::apply()
{
    if (indexStale_)
        rebuildIndex();
    filter_.SetQuery(qstringToAnsi(field_->text()));
    filter_.Apply(matches_);
    const bool all = filter_.Empty();
    const std::size_t n = hidden_.size();

    bool changes = false;
    for (std::size_t r = 0; r < n && !changes; ++r)
        changes = hidden_[r] != (!all && (!hasRecipe_[r] || !matches_[r]));
    if (changes) {
        // Hiding rows one by one with painting on would lay out the whole list each time.
        const bool wasEnabled = grid_->updatesEnabled();
        grid_->setUpdatesEnabled(false);
        for (std::size_t r = 0; r < n; ++r) {
            const std::uint8_t hide = !all && (!hasRecipe_[r] || !matches_[r]);
            if (hidden_[r] != hide) {
                grid_->setRowHidden(static_cast<int>(r), hide != 0);
                hidden_[r] = hide;
            }
        }
        if (wasEnabled)
            grid_->setUpdatesEnabled(true);
    }

    position_.assign(n, 0);
    int place = 0;
    total_ = 0;
    shown_ = 0;
    for (std::size_t r = 0; r < n; ++r) {
        if (!hidden_[r])
            ++place;
        position_[r] = place;
        total_ += hasRecipe_[r];
        shown_ += hasRecipe_[r] && !hidden_[r];
    }
    count_->setText(QString::fromStdString(
        FilterCountText(static_cast<std::size_t>(shown_), static_cast<std::size_t>(total_))));
    keepCurrentRowShown();
    grid_->viewport()->update();
}

void RecipeFilterBar::showAllRows()
{
    bool any = false;
    for (const std::uint8_t h : hidden_)
        any = any || h;
    if (!any)
        return;
    const bool wasEnabled = grid_->updatesEnabled();
    grid_->setUpdatesEnabled(false);
    for (std::size_t r = 0; r < hidden_.size(); ++r) {
        if (hidden_[r]) {
            grid_->setRowHidden(static_cast<int>(r), false);
            hidden_[r] = 0;
        }
    }
    if (wasEnabled)
        grid_->setUpdatesEnabled(true);
    position_.clear();
}

void RecipeFilterBar::keepCurrentRowShown()
{
    const QModelIndex current = grid_->currentIndex();
    if (!current.isValid())
        return;
    const std::size_t r = static_cast<std::size_t>(current.row());
    if (r < hidden_.size() && !hidden_[r])
        return;
    for (std::size_t i = 0; i < hidden_.size(); ++i) {
        if (!hidden_[i]) {
            grid_->SetCurrentCell(grid_->Col(), static_cast<int>(i) + TAStringGrid::FixedRows);
            return;
        }
    }
    // Nothing shown: no row is current, so nothing hidden can be previewed or planned.
    grid_->selectionModel()->clear();
}

} // namespace kovanta
