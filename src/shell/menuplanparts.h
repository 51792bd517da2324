#pragma once

#include "grid/astringgrid.h"
#include "views/menuplan.h"
#include "views/menuplangrids.h"

// The main window's menu plan: the plan logic with the adapters of its three grids. Kept by
// the window (tsdiappform_plan.cpp sets it up), destroyed before the grids so that it can free
// the plan and requirements entries it owns.
namespace kovanta {

struct MenuPlanParts {
    MenuPlanParts(const TRezeptImportProz& proz, TAStringGrid* recipeList, TAStringGrid* plan,
                  TAStringGrid* requirements, QWidget* alternativePanel, MenuPlan::Hooks hooks)
        : list(recipeList), planGrid(plan), requirementsGrid(requirements),
          menuPlan(proz, list, planGrid, requirementsGrid, alternativePanel, std::move(hooks))
    {}

    ListGridRef list;
    ListGridRef planGrid;
    ListGridRef requirementsGrid;
    MenuPlan menuPlan; // after the adapters it uses
};

} // namespace kovanta
