// The main window's hook points: the places where the settings, the directory scan, the
// views, printing and the web import plug into the window. Each function names the layer that
// gives it its work; until that layer is wired, it does the least that keeps the window sound.

#include "recipe/rezeptimportproz.h"
#include "recipelistmodel.h"
#include "recipeloader.h"
#include "tsdiappform.h"
#include "views/previewcontroller.h"
#include "views/recipelistview.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTableView>
#include <QTextEdit>

namespace kovanta {

// --- Settings ------------------------------------------------------------------------------

// Window creation: "Autosave", "Zeilenfinder" and "MaxWindow" from the settings store. Until
// the settings are wired, the defaults of a first start apply.
void TSDIAppForm::readSettings()
{
    autosave_ = true;
    rowFinder_ = true;
    maxWindow_ = true;
}

// First show: the search path list from the program's INI file.
void TSDIAppForm::loadSearchPaths()
{
    iniFileName_ = programDirectory_ + QStringLiteral("kovanta.INI");
}

// Close query, only when the search paths changed. May throw; the caller swallows it.
void TSDIAppForm::saveSettings() {}

// MSG_RESTORE_PANELS: the stored side-panel widths (default 200, clamped to 100-400).
void TSDIAppForm::restoreSidePanelWidths() {}

// A side panel was resized by the user after the widths were restored.
void TSDIAppForm::storeSidePanelWidth(SidePanel, int) {}

// "Maximale Fenstergröße" toggled: written at once.
void TSDIAppForm::storeMaxWindow(bool) {}

// --- Directory scan ------------------------------------------------------------------------

// Rebuilds the recipe list. For now: every REZ*.DAT of the program directory.
void TSDIAppForm::readAllRecipes()
{
    QTableView* grid = tabs_->recipeGrid();
    grid->hide();
    // The previous entries are freed before the new read begins.
    recipeList_->clear();
    RecipeLoader::Entries entries = RecipeLoader::readAll(
        *proz_, programDirectory_.toStdString(), [] { QCoreApplication::processEvents(); });
    recipeList_->setEntries(std::move(entries));
    grid->show();
}

// MSG_IMPORT_NOTIFY (recipes stored): make the web recipe directory active if it is listed.
void TSDIAppForm::activateWebRecipeDirectory() {}

// "Öffnen...": add a recipe directory by browsing.
void TSDIAppForm::openDirectory() {}

// "Verzeichnisse", HemisphereButton2: the search-path dialog.
void TSDIAppForm::editSearchPaths() {}

// --- Views -----------------------------------------------------------------------------------

// After every read: keep the plan entries found again, mark them in the new list.
void TSDIAppForm::reconcileMenuPlan() {}

// MSG_APPLY_ROWFINDER: the row finder on the recipe list and menu plan grids (never on the
// requirements list).
void TSDIAppForm::applyRowFinder()
{
    ApplyRowFinder(*tabs_->recipeGrid(), rowFinder_);
    ApplyRowFinder(*tabs_->planGrid(), rowFinder_);
}

// The preview of recipe list row (0-based; -1 or a row without entry clears it), for the
// portions of the first menu plan row holding the same recipe (column 1, "Portionen").
void TSDIAppForm::showPreview(int row)
{
    const QAbstractItemModel* plan = tabs_->planGrid()->model();
    PreviewController preview(
        *proz_, tabs_->preview(), this, {previewedRow_, previewRefreshPending_},
        [this](int r) -> const TImpListInfo* { return recipeList_->entry(r); },
        [plan](const TImpListInfo& recipe) {
            return PlanPortionsInModel(recipe, plan, RecipeListModel::EntryRole, 1);
        });
    preview.ShowPreview(row);
}

// "Bedarfsliste" became current: recompute the requirements of the plan.
void TSDIAppForm::recomputeRequirements() {}

// MSG_FILL_REQUIREMENT_ROW: fill one requirements row.
void TSDIAppForm::fillRequirementRow(int) {}

// MSG_TOGGLE_PLAN: as a double-click on the recipe list.
void TSDIAppForm::togglePlan() {}

// --- Printing and clipboard ----------------------------------------------------------------

// HemisphereButton4: print what the current tab shows.
void TSDIAppForm::printCurrentTab() {}

// HemisphereButton5: the whole preview to the clipboard, formatted and as plain text.
void TSDIAppForm::copyWholePreview()
{
    QTextEdit* preview = tabs_->preview();
    auto* mime = new QMimeData;
    mime->setHtml(preview->document()->toHtml());
    mime->setText(preview->document()->toPlainText());
    QApplication::clipboard()->setMimeData(mime);
}

// --- Web import ----------------------------------------------------------------------------

// First use of "Web-Rezepte...": the import window, parented to this window, or nullptr while
// the import is not available.
QWidget* TSDIAppForm::createImportWindow()
{
    return nullptr;
}

} // namespace kovanta
