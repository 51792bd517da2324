#include "recipefilterbar.h"

#include "grid/astringgrid.h"
#include "hint.h"
#include "platform/qt/ansiqstring.h"
#include "views/recipelistmodel.h"
#include "views/recipelistview.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace kovanta {

RecipeFilterBar::RecipeFilterBar(QWidget* parent) : QWidget(parent)
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
    connect(field_, &QLineEdit::textChanged, this, &RecipeFilterBar::refilter);
}

RecipeFilterBar::~RecipeFilterBar()
{
    // The grid may outlive the bar while the window is torn down.
    if (grid_)
        grid_->RowFinderPosition = nullptr;
}

void RecipeFilterBar::setList(RecipeListView* list)
{
    if (list_)
        list_->disconnect(this);
    if (grid_)
        grid_->RowFinderPosition = nullptr;
    list_ = list;
    grid_ = list ? list->grid() : nullptr;
    indexStale_ = true;
    if (!list_ || !grid_)
        return;
    // A new read brings other entries; a sort only moves their rows. The rows are shown for the
    // sort (the view would replay the sort's layout change for every hidden row) and filtered
    // again after it.
    connect(list_, &RecipeListView::rowsReset, this, [this] {
        indexStale_ = true;
        refilter();
    });
    connect(list_, &RecipeListView::aboutToSort, this, [this] {
        sorting_ = true;
        showAllRows();
    });
    connect(list_, &RecipeListView::sorted, this, [this] {
        sorting_ = false;
        refilter();
    });
    grid_->RowFinderPosition = [this](int row) {
        const std::size_t r = static_cast<std::size_t>(row - TAStringGrid::FixedRows);
        return row >= TAStringGrid::FixedRows && r < position_.size() ? position_[r] : row;
    };
    refilter();
}

bool RecipeFilterBar::rowShown(int gridRow) const
{
    const int r = gridRow - TAStringGrid::FixedRows;
    if (!grid_ || r < 0 || r >= grid_->RowCount() - TAStringGrid::FixedRows)
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
    if (watched == field_ && event->type() == QEvent::KeyPress && grid_) {
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

void RecipeFilterBar::refilter()
{
    if (!sorting_)
        apply();
}

void RecipeFilterBar::rebuildIndex()
{
    const RecipeListModel& list = list_->list();
    filter_.Clear();
    filter_.Reserve(list.entries().size(), list.entries().size() * 32);
    for (const auto& e : list.entries())
        filter_.Add(e->ShortName, e->GroupName);
    indexStale_ = false;
}

void RecipeFilterBar::apply()
{
    if (!list_ || !grid_)
        return;
    if (indexStale_)
        rebuildIndex();
    filter_.SetQuery(qstringToAnsi(field_->text()));
    filter_.Apply(matches_);
    const bool all = filter_.Empty();
    const std::size_t n =
        static_cast<std::size_t>(std::max(0, grid_->RowCount() - TAStringGrid::FixedRows));
    // What the view holds now: it keeps hidden rows across a change of the row count.
    hidden_.resize(n);
    for (std::size_t r = 0; r < n; ++r)
        hidden_[r] = grid_->isRowHidden(static_cast<int>(r));

    position_.assign(n, 0);
    std::vector<std::uint8_t> hide(n, 0);
    int place = 0;
    shown_ = 0;
    for (std::size_t r = 0; r < n; ++r) {
        const int index = list_->indexOfRow(static_cast<int>(r) + TAStringGrid::FixedRows);
        const bool match = index >= 0 && matches_[static_cast<std::size_t>(index)];
        hide[r] = !all && !match;
        if (!hide[r])
            ++place;
        position_[r] = place;
        shown_ += index >= 0 && !hide[r];
    }
    total_ = list_->list().entryCount();
    if (hide != hidden_) {
        // Hiding rows one by one with painting on would lay out the whole list each time.
        const bool wasEnabled = grid_->updatesEnabled();
        grid_->setUpdatesEnabled(false);
        for (std::size_t r = 0; r < n; ++r) {
            if (hidden_[r] != hide[r])
                grid_->setRowHidden(static_cast<int>(r), hide[r] != 0);
        }
        hidden_.swap(hide);
        if (wasEnabled)
            grid_->setUpdatesEnabled(true);
    }
    count_->setText(QString::fromStdString(
        FilterCountText(static_cast<std::size_t>(shown_), static_cast<std::size_t>(total_))));
    keepCurrentRowShown();
    grid_->viewport()->update();
}

void RecipeFilterBar::showAllRows()
{
    if (!grid_)
        return;
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
    if (!grid_)
        return;
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
