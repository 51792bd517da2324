#include "gridsetup.h"

#include "grid/astringgrid.h"
#include "grid/astringgridmodel.h"
#include "recipelistmodel.h"
#include "views/menuplangrids.h"
#include "views/recipelistview.h"

#include <QTableView>

#include <algorithm>
#include <string>

namespace kovanta {

namespace {

// All three grids share these; the rest comes from the defaults of the grid.
void configureCommon(TAStringGrid& g)
{
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
    TAStringGridModel& cells = *grid.GridModel();
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
    // Before a reset the list frees its entries: the grid must not point at them meanwhile.
    QObject::connect(m, &RecipeListModel::aboutToReset, g, [g] {
        for (int row = 1; row < g->RowCount(); ++row)
            g->SetObjects(0, row, nullptr);
    });
    QObject::connect(m, &RecipeListModel::reset, g, [g, m] { loadRecipeList(*g, *m); });
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
