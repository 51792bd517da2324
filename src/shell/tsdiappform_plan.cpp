// The main window's menu plan and requirements list (docs/menu-plan.md): the hooks that the
// window calls, wired to MenuPlan.

#include "gridsetup.h"
#include "menuplanparts.h"
#include "messages.h"
#include "planfileactions.h"
#include "recipefilterbar.h"
#include "recipelistmodel.h"
#include "startup.h"
#include "tablayout.h"
#include "tsdiappform.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace kovanta {

// Window creation: the plan over StringGrid1, StringGrid2 and StringGrid3, listening to the
// plan grid's editor.
void TSDIAppForm::setUpMenuPlan()
{
    MenuPlan::Hooks hooks;
    hooks.planTabCurrent = [this] { return tabs_->currentIndex() == TabMenuPlan; };
    hooks.planMarksChanged = [this] { updatePrintButton(); };
    hooks.previewRefreshNeeded = [this] { markPreviewPortionsChanged(); };
    hooks.alternativesChanged = [this](bool found) { alternativesFound_ = found; };
    hooks.postFillRequirementRow = [this](int row) {
        postWindowMessage(this, MSG_FILL_REQUIREMENT_ROW, row);
    };
    hooks.showMessage = [this](const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("PlanMessage"));
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
    };
    TAStringGrid* plan = AsListGrid(tabs_->planGrid());
    menuPlan_ = std::make_unique<MenuPlanParts>(
        *proz_, AsListGrid(tabs_->recipeGrid()), plan, AsListGrid(tabs_->requirementsGrid()),
        tabs_->alternativePanel(), std::move(hooks));
    ConnectPlanEditing(menuPlan_->menuPlan, plan);
}

// The plan file items of "Datei", before "Beenden", and their state on every tab.
void TSDIAppForm::setUpPlanFiles()
{
    PlanFileActions::Hooks hooks;
    hooks.requirementsTabCurrent = [this] { return tabs_->currentIndex() == TabRequirements; };
    hooks.alternativesShown = [this] { return alternativesFound_; };
    hooks.showPlan = [this] {
        if (tabs_->currentIndex() != TabMenuPlan && tabs_->currentIndex() != TabRequirements)
            tabs_->setCurrentIndex(TabMenuPlan);
    };
    planFiles_ = new PlanFileActions(this, *menuPlan_, this, std::move(hooks), this);
    actions_->addPlanFiles(planFiles_);
    connect(tabs_, &TabWorkArea::tabChanged, planFiles_, &PlanFileActions::updateActions);
}

// After every read: keep the plan entries found again, mark them in the new list.
void TSDIAppForm::reconcileMenuPlan()
{
    menuPlan_->menuPlan.Reconcile();
}

// "Bedarfsliste" became current: recompute the requirements of the plan.
void TSDIAppForm::recomputeRequirements()
{
    menuPlan_->menuPlan.Recompute();
}

// MSG_FILL_REQUIREMENT_ROW: fill one requirements row.
void TSDIAppForm::fillRequirementRow(int row)
{
    menuPlan_->menuPlan.FillRequirementRow(row);
}

// MSG_TOGGLE_PLAN: as a double-click on the recipe list.
void TSDIAppForm::togglePlan()
{
    // A row the quick filter hides is no choice of the cook's (while nothing is shown the grid
    // still names its first row as current).
    if (!tabs_->recipeFilter()->rowShown(AsListGrid(tabs_->recipeGrid())->Row()))
        return;
    menuPlan_->menuPlan.TogglePlan();
}

} // namespace kovanta
