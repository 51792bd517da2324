#include "views/menuplan.h"

#include "views/previewcontroller.h"
#include "views/recipelistmodel.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kovanta {

MenuPlan::MenuPlan(const TRezeptImportProz& proz, RecipeListModel& recipes, GridAccess& plan,
                   GridAccess& requirements, QWidget* alternativePanel, Hooks hooks)
    : proz_(proz), recipes_(recipes), plan_(plan), requirements_(requirements),
      alternativePanel_(alternativePanel), hooks_(std::move(hooks))
{}

MenuPlan::~MenuPlan()
{
    // The grids may outlive the plan: they must not keep pointers to what goes with it.
    for (int row = kFirstPlanRow; row < plan_.RowCount(); ++row) {
        if (PlanEntry(row))
            plan_.SetObjects(0, row, nullptr);
    }
    ClearRequirements();
}

TGridInfo1* MenuPlan::PlanEntry(int row) const
{
    if (row < kFirstPlanRow || row >= plan_.RowCount())
        return nullptr;
    return dynamic_cast<TGridInfo1*>(plan_.Objects(0, row));
}

std::vector<MenuPlan::PlannedRow> MenuPlan::plannedRows() const
{
    std::vector<PlannedRow> rows;
    for (int row = kFirstPlanRow; row < plan_.RowCount(); ++row) {
        if (const TGridInfo1* entry = PlanEntry(row))
            rows.push_back({row, entry, plan_.GetCell(plancols::kPlanPortions, row)});
    }
    return rows;
}

std::int32_t MenuPlan::plannedPortions(const TImpListInfo& recipe) const
{
    const std::vector<PlannedRow> rows = plannedRows();
    return PlanPortions(
        recipe, static_cast<int>(rows.size()),
        [&](int i) { return rows[static_cast<std::size_t>(i)].entry; },
        [&](int i) { return rows[static_cast<std::size_t>(i)].portions; });
}

std::vector<MenuPlan::RequirementRow> MenuPlan::requirementRows() const
{
    std::vector<RequirementRow> rows;
    for (int row = kFirstPlanRow; row < requirements_.RowCount(); ++row) {
        rows.push_back({dynamic_cast<const TBedarfsGridinfo*>(requirements_.Objects(0, row)),
                        requirements_.GetCell(plancols::kQuantity, row),
                        requirements_.GetCell(plancols::kUnit, row),
                        requirements_.GetCell(plancols::kArticle, row)});
    }
    return rows;
}

void MenuPlan::TogglePlan()
{
    if (!hooks_.planTabCurrent || !hooks_.planTabCurrent())
        return;
    const int index = hooks_.currentRecipe ? hooks_.currentRecipe() : -1;
    const TImpListInfo* entry = recipes_.entry(index);
    if (!entry)
        return;
    // Without a free row the recipe is not in the plan, so it is not marked either: the S
    // column always tells the truth.
    if (entry->InPlan != 1) {
        recipes_.setMark(index, AddRecipe(*entry));
    } else {
        recipes_.setMark(index, false);
        RemoveRecipe(*entry);
    }
    if (hooks_.planMarksChanged)
        hooks_.planMarksChanged();
}

bool MenuPlan::AddRecipe(const TImpListInfo& recipe)
{
    // Rows above the plan's current row are not looked at: the cook chooses where the plan
    // goes on by selecting a row.
    for (int row = std::max(kFirstPlanRow, plan_.Row()); row < plan_.RowCount(); ++row) {
        if (plan_.Objects(0, row) != nullptr)
            continue;
        auto entry = std::make_unique<TGridInfo1>();
        entry->CopyFrom(&recipe);
        entry->InPlan = 1;
        plan_.SetObjects(0, row, entry.get());
        planEntries_.push_back(std::move(entry));
        FillPlanRow(row);
        if (hooks_.previewRefreshNeeded)
            hooks_.previewRefreshNeeded();
        return true;
    }
    if (hooks_.showMessage)
        hooks_.showMessage(QString::fromUtf8(kNoFreePlanRow.data(),
                                             static_cast<qsizetype>(kNoFreePlanRow.size())));
    return false;
}

void MenuPlan::RemoveRecipe(const TImpListInfo& recipe)
{
    for (int row = kFirstPlanRow; row < plan_.RowCount(); ++row) {
        const TGridInfo1* entry = PlanEntry(row);
        if (entry && entry->SameRecipe(recipe))
            FreePlanRow(row);
    }
    // The recipe's portions for the preview are now its stored ones.
    if (hooks_.previewRefreshNeeded)
        hooks_.previewRefreshNeeded();
}

void MenuPlan::PutRecipe(int row, const TImpListInfo& recipe)
{
    if (row < kFirstPlanRow || row >= plan_.RowCount())
        return;
    if (plan_.Objects(0, row))
        FreePlanRow(row);
    auto entry = std::make_unique<TGridInfo1>();
    entry->CopyFrom(&recipe);
    plan_.SetObjects(0, row, entry.get());
    planEntries_.push_back(std::move(entry));
    FillPlanRow(row);
}

void MenuPlan::FreePlanRow(int row)
{
    const TGridInfo* object = plan_.Objects(0, row);
    plan_.SetObjects(0, row, nullptr);
    std::erase_if(planEntries_, [object](const auto& e) { return e.get() == object; });
    FillPlanRow(row);
}

void MenuPlan::FillPlanRow(int row)
{
    if (const TGridInfo1* entry = PlanEntry(row)) {
        plan_.SetCell(plancols::kPlanPortions, row, std::to_string(entry->Portions));
        plan_.SetCell(plancols::kPlanName, row, entry->ShortName);
        plan_.SetCell(plancols::kPlanGroup, row, entry->GroupName);
        return;
    }
    for (int col = 0; col < plancols::kPlanColumns; ++col)
        plan_.SetCell(col, row, {});
}

void MenuPlan::OnExitEdit(int col, int row, const std::string& text)
{
    if (col != plancols::kPlanPortions || row != plan_.Row())
        return;
    TGridInfo1* entry = PlanEntry(row);
    if (!entry || text == entry->PortionText)
        return;
    entry->PortionText = text;
    Recompute();
    if (hooks_.previewRefreshNeeded)
        hooks_.previewRefreshNeeded();
}

void MenuPlan::OnLeaveRowInput(int, bool changed)
{
    if (!changed)
        return;
    Recompute();
    // The cell-exit report is dropped when the cook has already moved to another row; the
    // preview must still follow the new count.
    if (hooks_.previewRefreshNeeded)
        hooks_.previewRefreshNeeded();
}

void MenuPlan::Reconcile()
{
    // One pass over the list: every listed recipe that some plan row holds is marked.
    const std::vector<PlannedRow> planned = plannedRows();
    std::vector<bool> found(planned.size(), false);
    for (int index = 0; index < recipes_.entryCount() && !planned.empty(); ++index) {
        const TImpListInfo& listed = *recipes_.entry(index);
        for (std::size_t i = 0; i < planned.size(); ++i) {
            if (listed.SameRecipe(*planned[i].entry)) {
                recipes_.setMark(index, true);
                found[i] = true;
            }
        }
    }
    bool dropped = false;
    for (std::size_t i = 0; i < planned.size(); ++i) {
        if (!found[i]) {
            FreePlanRow(planned[i].row);
            dropped = true;
        }
    }
    if (dropped) {
        // The requirements on show would still hold the recipe that is gone.
        Recompute();
        if (hooks_.previewRefreshNeeded)
            hooks_.previewRefreshNeeded();
    }
    if (hooks_.planMarksChanged)
        hooks_.planMarksChanged();
}

void MenuPlan::LoadPlan(const std::vector<LoadRow>& rows)
{
    for (int index = 0; index < recipes_.entryCount(); ++index)
        recipes_.setMark(index, false);
    for (int row = kFirstPlanRow; row < plan_.RowCount(); ++row) {
        if (plan_.Objects(0, row) != nullptr)
            FreePlanRow(row);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i) + kFirstPlanRow;
        if (row >= plan_.RowCount())
            break;
        if (!rows[i].Recipe)
            continue;
        // Owned by the plan like every plan entry (PutRecipe), so it is freed with the plan.
        auto entry = std::make_unique<TGridInfo1>();
        entry->CopyFrom(rows[i].Recipe);
        entry->InPlan = 1;
        entry->PortionText = rows[i].PortionText;
        plan_.SetObjects(0, row, entry.get());
        planEntries_.push_back(std::move(entry));
        FillPlanRow(row);
        plan_.SetCell(plancols::kPlanPortions, row, rows[i].PortionText);
    }
    // Marks the list rows of the planned recipes (every entry is in the list, none drops out).
    Reconcile();
    Recompute();
    if (hooks_.previewRefreshNeeded)
        hooks_.previewRefreshNeeded();
}

void MenuPlan::ClearRequirements()
{
    for (int row = kFirstPlanRow; row < requirements_.RowCount(); ++row)
        requirements_.SetObjects(0, row, nullptr);
    requirementRows_.clear();
}

void MenuPlan::Recompute()
{
    ClearRequirements();
    requirements_.SetRowCount(2);

    std::vector<PlanRow> plan;
    for (int row = kFirstPlanRow; row < plan_.RowCount(); ++row)
        plan.push_back(PlanRow{PlanEntry(row), plan_.GetCell(plancols::kPlanPortions, row)});
    RequirementsList list;
    const bool alternatives = ComputeRequirements(proz_, plan, list);

    requirementRows_ = list.TakeRows();
    requirements_.SetRowCount(1 + std::max<int>(1, static_cast<int>(requirementRows_.size())));
    for (std::size_t i = 0; i < requirementRows_.size(); ++i)
        requirements_.SetObjects(0, static_cast<int>(i) + kFirstPlanRow, requirementRows_[i].get());

    alternativesFound_ = alternatives;
    // Only a change of visibility touches the panel: showing it again would relayout.
    if (alternativePanel_ && alternativePanel_->isHidden() == alternatives)
        alternativePanel_->setVisible(alternatives);

    // The cells are filled after this returns, one posted message per row.
    if (hooks_.postFillRequirementRow) {
        for (int row = kFirstPlanRow; row < requirements_.RowCount(); ++row)
            hooks_.postFillRequirementRow(row);
    }
    requirements_.Repaint();
}

void MenuPlan::FillRequirementRow(int row)
{
    if (row < kFirstPlanRow || row >= requirements_.RowCount())
        return;
    if (const auto* entry = dynamic_cast<const TBedarfsGridinfo*>(requirements_.Objects(0, row))) {
        requirements_.SetCell(plancols::kQuantity, row, RequirementQuantityText(entry->Quantity));
        requirements_.SetCell(plancols::kUnit, row, entry->UnitName);
        requirements_.SetCell(plancols::kArticle, row, entry->Article);
        return;
    }
    for (int col = 0; col < plancols::kRequirementColumns; ++col)
        requirements_.SetCell(col, row, {});
}

} // namespace kovanta
