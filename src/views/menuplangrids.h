#pragma once

#include "grid/astringgrid.h"
#include "views/menuplan.h"

#include <QObject>
#include <QPointer>

#include <string>
#include <string_view>

// The menu plan on the list grid (TAStringGrid): the GridAccess adapter, the header
// double-click watch and the plan grid's editor events.
namespace kovanta {

// GridAccess over a list grid. The grid may go first: the adapter then reads an empty grid and
// writes nothing. Does not own the grid.
class ListGridRef final : public GridAccess {
public:
    explicit ListGridRef(TAStringGrid* grid) : grid_(grid) {}

    int RowCount() const override;
    void SetRowCount(int rows) override;
    int Row() const override;
    std::string GetCell(int col, int row) const override;
    void SetCell(int col, int row, std::string_view text) override;
    TGridInfo* Objects(int col, int row) const override;
    void SetObjects(int col, int row, TGridInfo* object) override;
    void Repaint() override;

private:
    QPointer<TAStringGrid> grid_;
};

// Tells whether the double-click being handled landed on the column header row. The grid
// raises its double-click event after a header double-click has sorted the list, too; the plan
// must not take that for a choice of the current recipe.
class HeaderDoubleClickWatch : public QObject {
public:
    // Watches header and cells (neither owned); parent owns the watch.
    HeaderDoubleClickWatch(QWidget* header, QWidget* cells, QObject* parent);
    bool OnHeader() const { return onHeader_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* header_; // watched, not owned
    bool onHeader_ = false;
};

// The plan grid's editor reports: OnExitEdit and OnLeaveRowInput reach the plan. plan must
// outlive the grid's events.
void ConnectPlanEditing(MenuPlan& plan, TAStringGrid* planGrid);

} // namespace kovanta
