#pragma once

#include "tablayout.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <memory>

class QAction;
class QTimer;

namespace kovanta {

class PlanFileActions;
class PrintActions;
class RecipeListModel;
class StartPage;
class TImpListInfo;
class TRezeptImportProz;
class ToolColumn;
struct MenuPlanParts;

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

// The main window SDIAppForm: start page, tab area with tool column, menus, status bar, and the
// window messages of messages.h, handled in event() in the order they were posted.
//
// Life: created with the start page hidden-until-shown and nothing read; the first show
// creates the web recipe directory and shows the start page (later shows repeat nothing);
// Timer1 enables "Programmstart", which posts MSG_RELOAD_RECIPES; its handler reads all recipes
// into the recipe list and shows the tabs. Closing first asks whether to save a changed menu
// plan (refused on "Abbrechen"), then saves the settings when the search paths changed (errors
// are swallowed).
//
// Ownership: the window owns the recipe processor, the recipe list with its entries
// (recipeList()) and the import window once created.
class TSDIAppForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TSDIAppForm(const ShellOptions& options = {}, QWidget* parent = nullptr);
    ~TSDIAppForm() override;

    // --- Parts for the views, the grid, printing, settings and the web import ---------------
    RecipeListModel* recipeList() const { return recipeList_; }
    // The recipe list index of the entry shown in a row of the recipe list view, or -1.
    int currentRecipeIndex(const QModelIndex& current) const;
    const TRezeptImportProz& importProz() const { return *proz_; }
    StartPage* startPage() const { return startPage_; }
    TabWorkArea* tabs() const { return tabs_; }
    ToolColumn* toolColumn() const { return tools_; }
    // "/"-terminated, exactly as the file system spells them.
    QString programDirectory() const { return programDirectory_; }
    QString webRecipeDirectory() const { return webRecipeDirectory_; }

    bool startPageShown() const;
    bool shownOnce() const { return shownOnce_; }
    bool panelWidthsRestored() const { return panelWidthsRestored_; }
    bool searchPathsChanged() const { return searchPathsChanged_; }
    void setSearchPathsChanged(bool changed) { searchPathsChanged_ = changed; }
    bool rowFinder() const { return rowFinder_; }
    bool autosave() const { return autosave_; }
    // The "Maximale Fenstergröße" mark: the window opens maximised (see showInitially()).
    bool maxWindow() const { return maxWindow_; }
    int previewedRow() const { return previewedRow_; }
    bool previewRefreshPending() const { return previewRefreshPending_; }
    void setPreviewRefreshPending(bool pending) { previewRefreshPending_ = pending; }
    bool alternativesFound() const { return alternativesFound_; }
    QString lastAddedDirectory() const { return lastAddedDirectory_; }
    QString iniFileName() const { return iniFileName_; }
    int printPosition() const { return printPosition_; }
    // "Speiseplan öffnen/speichern...", "Bedarfsliste exportieren..." (planfileactions.h).
    PlanFileActions* planFiles() const { return planFiles_; }

    // What the status bar says when a recipe's file cannot be read for the preview:
    // "Rezeptdatei nicht lesbar: " and the file name.
    static QString unreadableRecipeMessage(const TImpListInfo& recipe);

    // The program's first show: maximised when the "Maximale Fenstergröße" mark is set.
    void showInitially();

    // Re-evaluates the print button for the current tab (call when plan marks change).
    void updatePrintButton();
    // Shows the start page: tab area hidden (it keeps its tab), product text rebuilt.
    void showStartPage();
    // Reads all recipes again and reconciles the menu plan, at once.
    void reloadRecipes();

public slots:
    // Menu and button actions.
    void openDirectory();   // "Öffnen...": add a recipe directory by browsing
    void openWebImport();   // "Web-Rezepte...", HemisphereButton6
    void editSearchPaths(); // "Verzeichnisse", HemisphereButton2
    void toggleRowFinder();
    void toggleMaxWindow();
    void printCurrentTab();  // HemisphereButton4
    void copyWholePreview(); // HemisphereButton5
    void showAbout();        // "Info..."

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void onTimer();
    void onStart();
    void onTabChanged(int tab, int previous);
    // The keyboard focus to the grid of the current tab (TabWorkArea::gridOfTab).
    void focusTabGrid();
    void firstShow();
    void handleReload();
    void handleImportNotify(long long wParam);

    // Hook points, each wired by the layer named beside it (tsdiappform_hooks.cpp).
    void readSettings();                              // settings
    void loadSearchPaths();                           // settings
    void saveSettings();                              // settings; may throw, caller swallows
    void restoreSidePanelWidths();                    // settings (position saver)
    void storeSidePanelWidth(SidePanel panel, int w); // settings (position saver)
    void storeMaxWindow(bool on);                     // settings
    void readAllRecipes();                            // directory scan
    void activateWebRecipeDirectory();                // directory scan
    void reconcileMenuPlan();                         // menu plan view
    void applyRowFinder();                            // grid / recipe list view
    void showPreview(int row);                        // preview
    void recomputeRequirements();                     // requirements view
    void fillRequirementRow(int row);                 // requirements view
    void togglePlan();                                // menu plan view
    void setUpMenuPlan();                             // menu plan view
    void setUpPlanFiles();                            // plan files, after setUpMenuPlan
    QWidget* createImportWindow();                    // web import

    // State, in the order the window keeps it.
    QPointer<QWidget> importWindow_;
    std::unique_ptr<TRezeptImportProz> proz_;
    bool searchPathsChanged_ = false;
    bool autosave_ = true;
    QString lastAddedDirectory_;
    QString iniFileName_;
    bool panelWidthsRestored_ = false;
    bool shownOnce_ = false;
    int printPosition_ = 0;
    bool alternativesFound_ = false;
    int previewedRow_ = -1;
    bool previewRefreshPending_ = false;
    QString webRecipeDirectory_;
    QString programDirectory_;
    QString importDefaultDirectory_;
    bool rowFinder_ = true;
    bool maxWindow_ = true;
    bool reloading_ = false;
    bool reloadAgain_ = false;

    RecipeListModel* recipeList_ = nullptr;
    StartPage* startPage_ = nullptr;
    ToolColumn* tools_ = nullptr;
    TabWorkArea* tabs_ = nullptr;
    QTimer* timer1_ = nullptr;
    QAction* rowFinderAction_ = nullptr;
    QAction* maxWindowAction_ = nullptr;
    // The menu plan with its grid adapters; destroyed before the grids (tsdiappform_plan.cpp).
    std::unique_ptr<MenuPlanParts> menuPlan_;
    PlanFileActions* planFiles_ = nullptr; // child; uses menuPlan_
    // Printing and print preview (printactions.h); a child of the window.
    PrintActions* printActions_ = nullptr;
};

} // namespace kovanta
