#pragma once

#include "views/menuplan.h"

#include <QEvent>
#include <QHeaderView>
#include <QObject>
#include <QPointer>

#include <functional>
#include <string>
#include <string_view>

// The menu plan on the list grid (TAStringGrid): the GridAccess adapter, the header
// double-click watch and the plan grid's editor events. Header-only templates, so that the views
// layer does not link the grid layer; the main window instantiates them with its grids.
namespace kovanta {

// GridAccess over a list grid. The grid may go first: the adapter then reads an empty grid and
// writes nothing.
template <class Grid> class GridRef final : public GridAccess {
public:
    explicit GridRef(Grid* grid) : grid_(grid) {}

    int RowCount() const override { return grid_ ? grid_->RowCount() : 0; }
    void SetRowCount(int rows) override
    {
        if (grid_)
            grid_->SetRowCount(rows);
    }
    int Row() const override { return grid_ ? grid_->Row() : 0; }
    std::string GetCell(int col, int row) const override
    {
        return grid_ ? grid_->GetCell(col, row) : std::string();
    }
    void SetCell(int col, int row, std::string_view text) override
    {
        if (grid_)
            grid_->SetCell(col, row, text);
    }
    TGridInfo* Objects(int col, int row) const override
    {
        return grid_ ? grid_->Objects(col, row) : nullptr;
    }
    void SetObjects(int col, int row, TGridInfo* object) override
    {
        if (grid_)
            grid_->SetObjects(col, row, object);
    }
    void Repaint() override
    {
        if (grid_)
            grid_->viewport()->repaint();
    }

private:
    QPointer<Grid> grid_;
};

// Tells whether the double-click being handled landed on the column header row. The grid
// raises its double-click event after a header double-click has sorted the list, too; the plan
// must not take that for a choice of the current recipe.
class HeaderDoubleClickWatch : public QObject {
public:
    HeaderDoubleClickWatch(QWidget* header, QWidget* cells, QObject* parent)
        : QObject(parent), header_(header)
    {
        header->installEventFilter(this);
        cells->installEventFilter(this);
    }
    bool OnHeader() const { return onHeader_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Filters installed later run first, so this is seen before the grid reacts.
        if (event->type() == QEvent::MouseButtonDblClick)
            onHeader_ = watched == header_;
        return false;
    }

private:
    QWidget* header_; // watched, not owned
    bool onHeader_ = false;
};

// The plan grid's editor reports: OnExitEdit and OnLeaveRowInput reach the plan. plan must
// outlive the grid's events.
template <class Grid> void ConnectPlanEditing(MenuPlan& plan, Grid* planGrid)
{
    planGrid->OnExitEdit = [&plan](auto*, int col, int row, int, std::string& text) {
        plan.OnExitEdit(col, row, text);
    };
    planGrid->OnLeaveRowInput = [&plan](auto*, int row, bool changed) {
        plan.OnLeaveRowInput(row, changed);
    };
}

} // namespace kovanta
