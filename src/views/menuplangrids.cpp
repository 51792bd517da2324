#include "views/menuplangrids.h"

#include <QEvent>

namespace kovanta {

int ListGridRef::RowCount() const
{
    return grid_ ? grid_->RowCount() : 0;
}

void ListGridRef::SetRowCount(int rows)
{
    if (grid_)
        grid_->SetRowCount(rows);
}

int ListGridRef::Row() const
{
    return grid_ ? grid_->Row() : 0;
}

std::string ListGridRef::GetCell(int col, int row) const
{
    return grid_ ? grid_->GetCell(col, row) : std::string();
}

void ListGridRef::SetCell(int col, int row, std::string_view text)
{
    if (grid_)
        grid_->SetCell(col, row, text);
}

TGridInfo* ListGridRef::Objects(int col, int row) const
{
    return grid_ ? grid_->Objects(col, row) : nullptr;
}

void ListGridRef::SetObjects(int col, int row, TGridInfo* object)
{
    if (grid_)
        grid_->SetObjects(col, row, object);
}

void ListGridRef::Repaint()
{
    if (grid_)
        grid_->viewport()->repaint();
}

HeaderDoubleClickWatch::HeaderDoubleClickWatch(QWidget* header, QWidget* cells, QObject* parent)
    : QObject(parent), header_(header)
{
    header->installEventFilter(this);
    cells->installEventFilter(this);
}

bool HeaderDoubleClickWatch::eventFilter(QObject* watched, QEvent* event)
{
    // Filters installed later run first, so this is seen before the grid reacts.
    if (event->type() == QEvent::MouseButtonDblClick)
        onHeader_ = watched == header_;
    return false;
}

void ConnectPlanEditing(MenuPlan& plan, TAStringGrid* planGrid)
{
    planGrid->OnExitEdit = [&plan](auto*, int col, int row, int, std::string& text) {
        plan.OnExitEdit(col, row, text);
    };
    planGrid->OnLeaveRowInput = [&plan](auto*, int row, bool changed) {
        plan.OnLeaveRowInput(row, changed);
    };
}

} // namespace kovanta
