// The main window's hook points: the places where the settings, the directory scan, the
// views, printing and the web import plug into the window. Each function names the layer that
// gives it its work; until that layer is wired, it does the least that keeps the window sound.

#include "gridsetup.h"
#include "recipe/rezeptimportproz.h"
#include "recipelistmodel.h"
#include "tsdiappform.h"
#include "views/menuplangrids.h"
#include "views/previewcontroller.h"
#include "views/recipelistview.h"

#include <QStatusBar>
#include <QTableView>
#include <QTextEdit>

namespace kovanta {

// Settings and the directory scan: tsdiappform_settings.cpp; the menu plan and the
// requirements list: tsdiappform_plan.cpp; the web import: tsdiappform_import.cpp.

namespace {
const QString kUnreadable = QStringLiteral("Rezeptdatei nicht lesbar: ");

// What the status bar says when a recipe's file cannot be read for the preview.
QString unreadableRecipeMessage(const TImpListInfo& recipe)
{
    return kUnreadable +
           QString::fromUtf8(recipe.FileName.data(), static_cast<qsizetype>(recipe.FileName.size()));
}
} // namespace

// --- Views -----------------------------------------------------------------------------------

// MSG_APPLY_ROWFINDER: the row finder on the recipe list and menu plan grids (never on the
// requirements list).
void TSDIAppForm::applyRowFinder()
{
    ApplyGridRowFinder(*AsListGrid(tabs_->recipeGrid()), actions_->rowFinder());
    ApplyGridRowFinder(*AsListGrid(tabs_->planGrid()), actions_->rowFinder());
}

// The preview of recipe list row (0-based; -1 or a row without entry clears it), for the
// portions of the first menu plan row holding the same recipe (column 1, "Portionen").
void TSDIAppForm::showPreview(int row)
{
    if (!previewer_) {
        TAStringGrid* list = AsListGrid(tabs_->recipeGrid());
        TAStringGrid* plan = AsListGrid(tabs_->planGrid());
        previewer_ = new PreviewController(
            *proz_, tabs_->preview(), this,
            [list](int r) -> const TImpListInfo* {
                return list ? dynamic_cast<const TImpListInfo*>(
                                  list->Objects(0, r + TAStringGrid::FixedRows))
                            : nullptr;
            },
            [plan](const TImpListInfo& recipe) {
                return PlanPortionsInGrid(recipe, ListGridRef(plan));
            },
            this);
        // The previous text stays when the file is gone (the row is tried again when picked
        // again); the status bar says why it did not change.
        previewer_->SetOnUnreadable([this](const TImpListInfo& recipe) {
            previewUnreadable_ = true;
            statusBar()->showMessage(unreadableRecipeMessage(recipe));
        });
    }
    previewUnreadable_ = false;
    previewer_->ShowPreview(row);
    // Once the preview shows the selected row (again), the message is out of date.
    if (!previewUnreadable_ && statusBar()->currentMessage().startsWith(kUnreadable))
        statusBar()->clearMessage();
}

const TImpListInfo* TSDIAppForm::currentRecipe() const
{
    const TAStringGrid* list = AsListGrid(tabs_->recipeGrid());
    const QModelIndex current = tabs_->recipeGrid()->currentIndex();
    if (!list || !current.isValid())
        return nullptr;
    return dynamic_cast<const TImpListInfo*>(
        list->Objects(0, current.row() + TAStringGrid::FixedRows));
}

bool TSDIAppForm::previewCurrentRecipe()
{
    const QModelIndex current = tabs_->recipeGrid()->currentIndex();
    if (!current.isValid() || !currentRecipe())
        return false;
    showPreview(current.row());
    return !previewUnreadable_ && previewer_ && previewer_->PreviewedRow() == current.row();
}

void TSDIAppForm::markPreviewPortionsChanged()
{
    if (previewer_)
        previewer_->MarkPortionsChanged();
}

// The preview text, for the copy button.
QTextEdit* TSDIAppForm::previewText()
{
    return tabs_->preview();
}

} // namespace kovanta
