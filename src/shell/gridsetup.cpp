#include "gridsetup.h"

#include "grid/astringgrid.h"
#include "grid/stringgridmodel.h"
#include "platform/gui/uifont.h"
#include "views/menuplan.h"
#include "views/recipelistview.h"

#include <QTableView>

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

} // namespace kovanta
