#include "views/recipelistview.h"

#include "grid/stringgridmodel.h"
#include "platform/codepage.h"
#include "views/menuplangrids.h"
#include "views/recipelistmodel.h"

#include <QHeaderView>

#include <algorithm>

namespace kovanta {

const std::vector<std::string>& RecipeListColNames()
{
    static const std::vector<std::string> names = {
        "|20|0|1|1|",
        " S|19|X|1|1|Auswahl eines Rezeptes",
        "Rezept|100|L|1|0|Rezepturenbezeichnung",
        "Rezeptgruppe|100|L|1|0|Gruppenzuordnung",
        "Portionen|50|0|1|0|Portionsanzahl",
        "kcal|45|0|1||kcal je Portion",
        "kJ|45|0|1||kJ je Portion",
        "BE|45|0|1||BE je Portion",
        "Chol|45|0|1||Chol je Portion",
        "AZ|40|0|1||Arbeitszeit in Minuten",
        "WZ|40|0|1||Wartezeit in Minuten",
        "Filename|80|L|1|0|Filename der Rezeptur",
        "|200|0|1||",
    };
    return names;
}

void FillRecipeListRow(GridAccess& list, int row)
{
    const auto* e = dynamic_cast<const TImpListInfo*>(list.Objects(0, row));
    if (!e) {
        for (int col = 0; col < kRecipeListColumns; ++col)
            list.SetCell(col, row, {});
        return;
    }
    list.SetCell(plancols::kListMark, row, e->InPlan == 1 ? "1" : "0");
    int col = plancols::kListMark + 1;
    for (std::string& text : RecipeListTexts(*e))
        list.SetCell(col++, row, std::move(text));
    // Paths are kept as the file system spells them (UTF-8); grid texts are ANSI.
    list.SetCell(col++, row, codepage::utf8ToAnsi(e->FileName));
    list.SetCell(col, row, std::to_string(e->EntryIndex));
}

void ApplyGridRowFinder(TAStringGrid& grid, bool on, TColor color)
{
    grid.SetMitZeilenFinder(on);
    grid.SetZeilFindColor(color);
    grid.viewport()->update();
}

void InstallTogglePlanTriggers(TAStringGrid& grid, std::function<void()> onToggle)
{
    auto* watch =
        new HeaderDoubleClickWatch(grid.horizontalHeader()->viewport(), grid.viewport(), &grid);
    grid.OnDblClick = [watch, onToggle](TAStringGrid*) {
        if (!watch->OnHeader())
            onToggle();
    };
    grid.OnKeyDown = [onToggle](TAStringGrid* g, int& key, Qt::KeyboardModifiers mods) {
        if (key == Qt::Key_Space && mods == Qt::NoModifier) {
            // Column 0 is the fixed column, shown as the row header, which cannot be current
            // here; the first column after it is the nearest.
            g->SetCol(TAStringGrid::FixedCols);
            onToggle();
        }
    };
}

RecipeListView::RecipeListView(TAStringGrid* grid, RecipeListModel& list) : grid_(grid), list_(list)
{
    grid->OnSortBegin = [this](TAStringGrid*, int, int, bool& allow) {
        if (allow)
            emit aboutToSort();
    };
    grid->OnSortEnde = [this](TAStringGrid*, int, int) {
        remap();
        emit sorted();
    };
    connect(&list, &RecipeListModel::aboutToReset, this, [this] {
        if (const TImpListInfo* current = currentEntry())
            previous_.emplace(*current);
        if (!grid_)
            return;
        // One change notice for the whole list, not one per row.
        StringGridModel& cells = *grid_->GridModel();
        cells.beginBatch();
        for (int row = TAStringGrid::FixedRows; row < grid_->RowCount(); ++row)
            grid_->SetObjects(0, row, nullptr);
        cells.endBatch();
        indexOfRow_.clear();
        rowOfIndex_.clear();
    });
    connect(&list, &RecipeListModel::reset, this, [this] {
        load();
        emit rowsReset();
        chooseCurrentRow();
    });
    connect(&list, &RecipeListModel::markChanged, this, [this](int index) {
        if (const int row = rowOfIndex(index); row > 0 && grid_)
            grid_->SetCell(plancols::kListMark, row, list_.entry(index)->InPlan == 1 ? "1" : "0");
    });
    load();
}

RecipeListView::~RecipeListView()
{
    if (!grid_)
        return;
    grid_->OnSortBegin = nullptr;
    grid_->OnSortEnde = nullptr;
    for (int row = TAStringGrid::FixedRows; row < grid_->RowCount(); ++row)
        grid_->SetObjects(0, row, nullptr);
}

void RecipeListView::load()
{
    if (!grid_)
        return;
    const int count = list_.entryCount();
    ListGridRef access(grid_);
    // The grid keeps at least one data row below its header.
    grid_->SetRowCount(std::max(2, count + TAStringGrid::FixedRows));
    // A hundred thousand rows of twelve cells: one change notice for the whole list instead of
    // one per cell.
    StringGridModel& cells = *grid_->GridModel();
    cells.beginBatch();
    for (int row = TAStringGrid::FixedRows; row < grid_->RowCount(); ++row) {
        grid_->SetObjects(0, row, list_.entry(row - TAStringGrid::FixedRows));
        FillRecipeListRow(access, row);
    }
    cells.endBatch();
    remap();
}

void RecipeListView::remap()
{
    indexOfRow_.assign(grid_ ? static_cast<std::size_t>(grid_->RowCount()) : 0, -1);
    rowOfIndex_.assign(static_cast<std::size_t>(list_.entryCount()), 0);
    if (!grid_)
        return;
    for (int row = TAStringGrid::FixedRows; row < grid_->RowCount(); ++row) {
        const int index = list_.indexOf(grid_->Objects(0, row));
        indexOfRow_[static_cast<std::size_t>(row)] = index;
        if (index >= 0)
            rowOfIndex_[static_cast<std::size_t>(index)] = row;
    }
}

int RecipeListView::indexOfRow(int gridRow) const
{
    if (gridRow < 0 || gridRow >= static_cast<int>(indexOfRow_.size()))
        return -1;
    return indexOfRow_[static_cast<std::size_t>(gridRow)];
}

int RecipeListView::rowOfIndex(int index) const
{
    if (index < 0 || index >= static_cast<int>(rowOfIndex_.size()))
        return 0;
    return rowOfIndex_[static_cast<std::size_t>(index)];
}

int RecipeListView::currentIndex() const
{
    if (!grid_ || !grid_->currentIndex().isValid())
        return -1;
    return indexOfRow(grid_->Row());
}

const TImpListInfo* RecipeListView::currentEntry() const
{
    return list_.entry(currentIndex());
}

std::vector<const TImpListInfo*> RecipeListView::shownEntries() const
{
    std::vector<const TImpListInfo*> shown;
    if (!grid_)
        return shown;
    for (int row = TAStringGrid::FixedRows; row < grid_->RowCount(); ++row) {
        if (grid_->isRowHidden(row - TAStringGrid::FixedRows))
            continue;
        if (const TImpListInfo* e = list_.entry(indexOfRow(row)))
            shown.push_back(e);
    }
    return shown;
}

void RecipeListView::chooseCurrentRow()
{
    // The empty list a read starts with keeps the recipe for the list the read ends with.
    if (!grid_ || list_.entryCount() == 0)
        return;
    const std::optional<TImpListInfo> previous = std::move(previous_);
    previous_.reset();
    int index = 0;
    if (previous) {
        const auto& entries = list_.entries();
        const auto found = std::find_if(entries.begin(), entries.end(),
                                        [&](const auto& e) { return e->SameRecipe(*previous); });
        if (found != entries.end())
            index = static_cast<int>(found - entries.begin());
    }
    int row = rowOfIndex(index);
    // A row the quick filter hides is no choice: the first shown one is, and with nothing
    // shown there is no current row.
    if (grid_->isRowHidden(row - TAStringGrid::FixedRows)) {
        row = 0;
        for (int r = TAStringGrid::FixedRows; r < grid_->RowCount() && row == 0; ++r) {
            if (!grid_->isRowHidden(r - TAStringGrid::FixedRows) && indexOfRow(r) >= 0)
                row = r;
        }
    }
    if (row > 0)
        grid_->SetCurrentCell(TAStringGrid::FixedCols, row);
}

} // namespace kovanta
