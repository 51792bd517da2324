#pragma once

#include "grid/astringgrid.h"
#include "views/menuplan.h"
#include "views/menuplangrids.h"

// The main window's menu plan: the plan logic with the adapters of its two grids, listening to
// the plan grid's editor. The grids may go first (the adapters then read empty grids); the
// recipe list, the processor and what the hooks use must outlive the parts.
namespace kovanta {

class MenuPlanParts {
public:
    MenuPlanParts(const TRezeptImportProz& proz, RecipeListModel& recipes, TAStringGrid* plan,
                  TAStringGrid* requirements, QWidget* alternativePanel, MenuPlan::Hooks hooks)
        : planGrid(plan), requirementsGrid(requirements),
          menuPlan(proz, recipes, planGrid, requirementsGrid, alternativePanel, std::move(hooks)),
          editor_(plan)
    {
        ConnectPlanEditing(menuPlan, plan);
    }
    ~MenuPlanParts()
    {
        // The editor reports after the current event; nothing may reach the plan once it goes.
        if (editor_) {
            editor_->OnExitEdit = nullptr;
            editor_->OnLeaveRowInput = nullptr;
        }
    }
    MenuPlanParts(const MenuPlanParts&) = delete;
    MenuPlanParts& operator=(const MenuPlanParts&) = delete;

    ListGridRef planGrid;
    ListGridRef requirementsGrid;
    MenuPlan menuPlan; // after the adapters it uses

private:
    QPointer<TAStringGrid> editor_;
};

} // namespace kovanta
