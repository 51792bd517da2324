#include "gridsetup.h"

#include "grid/astringgrid.h"
#include "grid/stringgridmodel.h"
#include "platform/gui/uifont.h"
#include "recipelistmodel.h"
#include "views/menuplangrids.h"
#include "views/recipelistview.h"

#include <QTableView>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

namespace kovanta {

namespace {

// All three grids share these; the rest comes from the defaults of the grid.
void configureCommon(TAStringGrid& g)
{
    // Designed for a smaller system font: widths and heights grow with today's UI font.
    g.SetUiScale(applicationUiScale());
    g.SetDefaultRowHeight(18);
    g.SetMitZeilenFinder(true);
    g.SetZeilFindColor(15132390);
    g.SaveSettings.SaveHeight = false;
    g.SaveSettings.SaveWidth = false;
    g.SetKeyCalkMwst(false);
    g.SetKeyCalkSkonto(false);
    g.SetKeyCalkEUR(false);
    g.SetKeyCalkATS(false);
    g.MinusIgnore = false;
    // Until the user sizes them, the columns follow their texts and the window.
    g.SetAutoColumnWidths(true);
}

constexpr GridOptions kEditingOptions = goFixedVertLine | goFixedHorzLine | goVertLine |
                                        goHorzLine | goDrawFocusSelected | goRowMoving | goEditing |
                                        goTabs | goAlwaysShowEditor | goThumbTracking;

void configureRecipeList(TAStringGrid& g)
{
    g.SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goDrawFocusSelected |
                 goTabs | goRowSelect | goThumbTracking);
    g.SetColCount(13);
    g.SetRowCount(30);
    g.AutoColResize = false;
    // clHighlight: the selection keeps its colour while the list has no focus.
    g.HideSelColor = clHighlight;
    g.SetColNames(TColNames(RecipeListColNames()));
}

void configureMenuPlan(TAStringGrid& g)
{
    g.SetOptions(kEditingOptions);
    g.SetRowCount(51);
    g.SetColNames(TColNames{"|20|0|1|1|", "Portionen|50|0|||Anzahl der Portionen",
                            "Rezept|80|L|1||Bezeichnung f\xFCr den Speiseplan",
                            "Gruppe|80|L|1||Gruppenzuordnung oder zweite Zeile der Bezeichnung",
                            "|200|L|1|0|"});
    // A portion count is refused at entry beyond what the cell shows (and what the
    // requirements computation can take).
    g.OnGetMinMaxValue = [](TAStringGrid*, int col, int, double& lowest, double& highest,
                            bool& limited) {
        if (col != plancols::kPlanPortions)
            return;
        lowest = -kMaxPlanPortions;
        highest = kMaxPlanPortions;
        limited = true;
    };
}

void configureRequirements(TAStringGrid& g)
{
    g.SetOptions(kEditingOptions);
    g.SetRowCount(51);
    g.SetColNames(TColNames{"|20|0|1|1|", "Menge|60|3|0||Ben\xF6tigte Menge",
                            "Einheit|80|L|1||Einheit f\xFCr die Menge",
                            "Artikel|80|L|1||der ben\xF6tigte Artikel", "|200|L|1|0|"});
}

} // namespace

TAStringGrid* CreateListGrid(const QString& name, QWidget* parent)
{
    auto* g = new TAStringGrid(parent);
    g->setObjectName(name);
    configureCommon(*g);
    if (name == QLatin1String("StringGrid1"))
        configureRecipeList(*g);
    else if (name == QLatin1String("StringGrid2"))
        configureMenuPlan(*g);
    else
        configureRequirements(*g);
    g->Loaded();
    return g;
}

TAStringGrid* AsListGrid(QTableView* view)
{
    return qobject_cast<TAStringGrid*>(view);
}

namespace {

void loadRecipeList(TAStringGrid& grid, const RecipeListModel& model)
{
    const int count = model.entryCount();
    ListGridRef access(&grid);
    // The grid keeps at least one data row below its header.
    grid.SetRowCount(std::max(2, count + 1));
    // Twenty thousand rows of twelve cells: one change notice for the whole list instead of
    // one per cell.
    StringGridModel& cells = *grid.GridModel();
    cells.beginBatch();
    for (int row = 1; row < grid.RowCount(); ++row) {
        grid.SetObjects(0, row, row - 1 < count ? model.entry(row - 1) : nullptr);
        FillRecipeListRow(access, row);
    }
    cells.endBatch();
}

} // namespace

void BindRecipeList(TAStringGrid& grid, const RecipeListModel& list)
{
    TAStringGrid* g = &grid;
    const RecipeListModel* m = &list;
    loadRecipeList(grid, list);
    // The recipe that was current before a read, so that a re-read still holding it keeps it.
    // A read empties the list first and fills it when the worker is done: the recipe is kept
    // over the empty list in between.
    auto current = std::make_shared<std::optional<TImpListInfo>>();
    // Before a reset the list frees its entries: the grid must not point at them meanwhile.
    QObject::connect(m, &RecipeListModel::aboutToReset, g, [g, current] {
        if (g->currentIndex().isValid())
            if (const auto* e = dynamic_cast<const TImpListInfo*>(g->Objects(0, g->Row())))
                current->emplace(*e);
        // One change notice for the whole list: a view that re-reads the list on each notice
        // (the quick filter) would otherwise do so once per row.
        StringGridModel& cells = *g->GridModel();
        cells.beginBatch();
        for (int row = 1; row < g->RowCount(); ++row)
            g->SetObjects(0, row, nullptr);
        cells.endBatch();
    });
    QObject::connect(m, &RecipeListModel::reset, g, [g, m, current] {
        loadRecipeList(*g, *m);
        if (m->entryCount() == 0)
            return;
        // Every read leaves a current row, so that the preview has a recipe to show at once.
        const ListGridRef access(g);
        int row = CurrentRowAfterRead(access, *current ? &**current : nullptr);
        // A row the quick filter hides (it has filtered the new rows by now) is no choice: the
        // first shown row is, and with nothing shown there is no current row.
        if (row > 0 && g->isRowHidden(row - TAStringGrid::FixedRows)) {
            row = 0;
            for (int r = TAStringGrid::FixedRows; r < g->RowCount() && row == 0; ++r) {
                if (!g->isRowHidden(r - TAStringGrid::FixedRows) && g->Objects(0, r))
                    row = r;
            }
        }
        if (row > 0)
            g->SetCurrentCell(TAStringGrid::FixedCols, row);
        current->reset();
    });
    QObject::connect(m, &RecipeListModel::entryChanged, g, [g](const TImpListInfo* e) {
        for (int row = 1; row < g->RowCount(); ++row) {
            if (g->Objects(0, row) == e) {
                ListGridRef access(g);
                FillRecipeListRow(access, row);
                return;
            }
        }
    });
}

} // namespace kovanta
