#include "views/recipelistview.h"

#include "platform/codepage.h"
#include "platform/qt/ansiqstring.h"
#include "views/menuplangrids.h"
#include "views/previewcontroller.h"

#include <QHeaderView>

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
    const std::string texts[kRecipeListColumns - 1] = {
        e->InPlan == 1 ? "1" : "0",
        e->ShortName,
        e->GroupName,
        std::to_string(e->Portions),
        std::to_string(e->Kcal),
        std::to_string(e->KJ),
        std::to_string(e->BE),
        std::to_string(e->Chol),
        std::to_string(e->WorkMinutes),
        std::to_string(e->WaitMinutes),
        // Paths are kept as the file system spells them (UTF-8); grid texts are ANSI.
        codepage::utf8ToAnsi(e->FileName),
        std::to_string(e->EntryIndex),
    };
    for (int col = 1; col < kRecipeListColumns; ++col)
        list.SetCell(col, row, texts[col - 1]);
}

int CurrentRowAfterRead(const GridAccess& list, const TImpListInfo* previous)
{
    int first = 0;
    for (int row = 1; row < list.RowCount(); ++row) {
        const auto* e = dynamic_cast<const TImpListInfo*>(list.Objects(0, row));
        if (!e)
            continue;
        if (!previous || e->SameRecipe(*previous))
            return row;
        if (first == 0)
            first = row;
    }
    return first;
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

std::int32_t PlanPortionsInGrid(const TImpListInfo& recipe, const GridAccess& plan)
{
    return PlanPortions(
        recipe, plan.RowCount() - 1,
        [&](int row) { return dynamic_cast<const TImpListInfo*>(plan.Objects(0, row + 1)); },
        [&](int row) { return plan.GetCell(plancols::kPlanPortions, row + 1); });
}

} // namespace kovanta
