#pragma once

#include "mainactions.h"
#include "menuplanparts.h"
#include "planfileactions.h"
#include "printactions.h"
#include "recipereader.h"
#include "settings.h"
#include "tablayout.h"
#include "views/recipelistview.h"
#include "webimportlink.h"

#include <QMainWindow>
#include <QObject>
#include <QString>

#include <memory>

class QTextEdit;

namespace kovanta {

class PreviewController;
class RecipeListModel;
class SearchPathList;
class StartPage;
class TAStringGrid;
class TFormPosSaver;
class TRezeptImportProz;
class ToolColumn;
class ViewMenu;

// What the main window is told at creation. Tests set a temporary program directory and a
// short (or very long) start delay.
struct ShellOptions {
    // Directory of the program file, ending in "/"; empty: the running executable's directory.
    QString programDirectory;
    // Milliseconds from creation until "Programmstart" becomes clickable.
    int startDelayMs = 3000;
    // The import window's default directory, ending in "/"; empty: <temp>/kovanta/.
    QString importDefaultDirectory;
};

// The main window SDIAppForm (docs/main-window.md): the composition of the window's parts and
// the window messages of messages.h, handled in event() in the order they were posted. Each
// part is an object of its own that needs no window: the settings (ShellSettings), the read of
// all recipes (RecipeReader) into the recipe list (RecipeListModel) and its grid
// (RecipeListView), the menu plan (MenuPlanParts), the preview (PreviewController), the web
// import (WebImportLink), the menus (MainActions), the plan files (PlanFileActions) and
// printing (PrintActions); the last three reach the window only through its ports.
//
// Life: created with the start page hidden-until-shown and nothing read; the first show
// creates the web recipe directory and shows the start page (later shows repeat nothing);
// Timer1 enables "Programmstart", which posts MSG_RELOAD_RECIPES; its handler shows the tabs
// and starts reading all recipes. Closing first asks whether to save a changed menu plan
// (refused on "Abbrechen"), then saves the settings when the search paths changed; a failure
// is reported in a message box and the window closes all the same.
//
// Ownership: the parts are members, each made after the parts it uses, so each goes before
// them; the connections between parts have a context that goes first of all; the widgets go
// last (as children), and no widget holds more than a guarded pointer to a part.
class TSDIAppForm : public QMainWindow,
                    private MainWindowPort,
                    private PrintPort,
                    private PlanFilePort {
    Q_OBJECT
public:
    explicit TSDIAppForm(const ShellOptions& options = {}, QWidget* parent = nullptr);
    ~TSDIAppForm() override;

    // The program's first show: maximised when the "Maximale Fenstergröße" mark is set.
    void showInitially();

    // Starts reading all recipes again (the menu plan is reconciled when the read is done).
    // While a read runs, the request is kept and a new read starts once after it.
    void reloadRecipes() { reader_->reload(); }
    // True from the start of a read until its entries are in the recipe list.
    bool readingRecipes() const { return reader_->reading(); }

    // The parts others work with.
    RecipeListModel* recipeList() const { return recipes_.get(); }
    // The program's search path list: the settings load it, the dialogs edit it, reads copy it.
    SearchPathList& searchPaths() { return settings_->searchPaths(); }
    TabWorkArea* tabs() const { return tabs_; }
    ToolColumn* toolColumn() const { return tools_; }
    MainActions& mainActions() const { return *actions_; }
    PreviewController& previewer() const { return *preview_; }
    PlanFileActions& planFiles() const { return *planFiles_; }
    PrintActions& printActions() const { return *print_; }
    // "/"-terminated, exactly as the file system spells it; empty before the first show.
    QString webRecipeDirectory() const { return settings_->webRecipeDirectory(); }
    // The menu plan's warning strip ("alternatives") is shown.
    bool alternativesFound() const { return plan_->menuPlan.alternativesFound(); }

signals:
    // A read is done: the entries are in the recipe list and the menu plan is reconciled.
    void recipesRead();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // MainWindowPort: what the menu actions (mainactions.h) ask of the window.
    QWidget* portWidget() override { return this; }
    SearchPathList& portSearchPaths() override { return searchPaths(); }
    void markSearchPathsChanged() override { settings_->markSearchPathsChanged(); }
    QString portWebRecipeDirectory() const override { return webRecipeDirectory(); }
    void requestReload() override;
    void rowFinderChanged() override;
    void showWebImport() override { importLink_->show(webRecipeDirectory()); }
    QTextEdit* previewText() override { return tabs_->preview(); }
    // PrintPort (printactions.h).
    QWidget* printWindow() override { return this; }
    int printTab() const override { return tabs_->isHidden() ? -1 : tabs_->currentIndex(); }
    std::vector<const TImpListInfo*> shownRecipes() const override
    {
        return listView_->shownEntries();
    }
    const MenuPlan& printPlan() const override { return plan_->menuPlan; }
    const TImpListInfo* currentRecipe() const override { return listView_->currentEntry(); }
    bool previewCurrentRecipe() override;
    const TRezeptImportProz& printProz() const override { return *proz_; }
    // PlanFilePort (planfileactions.h).
    QWidget* planFileWindow() override { return this; }
    MenuPlan& planOfWindow() override { return plan_->menuPlan; }
    const RecipeListModel& listedRecipes() const override { return *recipes_; }
    bool recipesReadOnce() const override { return recipesReadOnce_; }
    bool requirementsTabCurrent() const override
    {
        return tabs_->currentIndex() == TabRequirements;
    }
    void showPlan() override;

    void createWidgets();
    void createParts(const ShellOptions& options);
    void connectParts();
    TAStringGrid* recipeGrid() const;

    // Re-evaluates the print button and print items for the current tab.
    void updatePrintButton();
    // Shows the start page: tab area hidden (it keeps its tab), product text rebuilt.
    void showStartPage();
    void onStart();
    // "Programmstart" in the menu acts while its button on the start page can be clicked.
    void updateStartAction();
    void onTabChanged(int tab);
    // The keyboard focus to the grid of the current tab (TabWorkArea::gridOfTab).
    void focusTabGrid();
    void firstShow();
    void handleReload();
    void readFinished();
    // The preview of recipe list row (0-based view row; -1 or a row without entry clears it).
    void showPreview(int row);
    // MSG_APPLY_ROWFINDER: the recipe list and the menu plan, never the requirements list.
    void applyRowFinder();
    void togglePlan();

    // The window's state.
    bool panelWidthsRestored_ = false;
    bool shownOnce_ = false;
    bool recipesReadOnce_ = false;

    // Widgets, children of the window.
    StartPage* startPage_ = nullptr;
    ToolColumn* tools_ = nullptr;
    TabWorkArea* tabs_ = nullptr;
    ViewMenu* viewMenu_ = nullptr;
    TFormPosSaver* posSaver_ = nullptr;

    // Parts, each after what it uses.
    std::unique_ptr<TRezeptImportProz> proz_;
    std::unique_ptr<ShellSettings> settings_;
    std::unique_ptr<RecipeListModel> recipes_;
    std::unique_ptr<RecipeListView> listView_;
    std::unique_ptr<RecipeReader> reader_;
    std::unique_ptr<MenuPlanParts> plan_;
    std::unique_ptr<PreviewController> preview_;
    std::unique_ptr<WebImportLink> importLink_;
    std::unique_ptr<MainActions> actions_;
    std::unique_ptr<PlanFileActions> planFiles_;
    std::unique_ptr<PrintActions> print_;
    // The context of every connection the window makes to a part: it goes first, so no signal
    // reaches a part that is gone.
    std::unique_ptr<QObject> wiring_ = std::make_unique<QObject>();
};

} // namespace kovanta
