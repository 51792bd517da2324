#pragma once

#include "app/programplaces.h"
#include "app/recipescan.h"
#include "app/searchpaths.h"
#include "mainactions.h"
#include "tablayout.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <atomic>
#include <cstddef>
#include <memory>

class QTextEdit;
class QTimer;
template <typename T> class QFutureWatcher;

namespace kovanta {

class PlanFileActions;
class PreviewController;
class RecipeListModel;
class StartPage;
class TFormPosSaver;
class TImpListInfo;
class TRezeptImportProz;
class ToolColumn;
class ViewMenu;
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

// The main window SDIAppForm: start page, tab area with tool column, status bar, and the window
// messages of messages.h, handled in event() in the order they were posted. The menus, their
// actions and the tool buttons' handlers live in MainActions (mainactions.h), which reaches the
// window only through MainWindowPort.
//
// Life: created with the start page hidden-until-shown and nothing read; the first show
// creates the web recipe directory and shows the start page (later shows repeat nothing);
// Timer1 enables "Programmstart", which posts MSG_RELOAD_RECIPES; its handler shows the tabs
// and starts reading all recipes. Closing first asks whether to save a changed menu plan
// (refused on "Abbrechen"), then saves the settings when the search paths changed; a failure
// is reported in a message box and the window closes all the same.
//
// Reading all recipes runs on a worker thread (docs/main-window.md): the window stays
// responsive, the status bar counts the recipes read, and the finished list is handed to the
// recipe list in one batch on this thread, followed by reconciling the menu plan. A reload
// asked for while a read runs is kept and runs once after it.
//
// Ownership: the window owns the recipe processor, the search path list, the recipe list with
// its entries (recipeList()), the action handler, the plan file and print objects, and the
// import window once created. Destroying the window during
// a read stops the worker after its current file and waits for it.
class TSDIAppForm : public QMainWindow, private MainWindowPort {
    Q_OBJECT
public:
    explicit TSDIAppForm(const ShellOptions& options = {}, QWidget* parent = nullptr);
    ~TSDIAppForm() override;

    // --- Parts for the views, the grid, printing, settings and the web import ---------------
    RecipeListModel* recipeList() const { return recipeList_; }
    // The entry of the recipe list grid's current row (its row object), or nullptr.
    const TImpListInfo* currentRecipe() const;
    // Brings the preview up to the current row, as choosing the row does (rebuilt only when it
    // shows another recipe or the plan's portions changed). True when the preview then shows
    // the current row's recipe; false when there is none or its file cannot be read (the
    // preview keeps what it showed, the status bar says why).
    bool previewCurrentRecipe();
    const TRezeptImportProz& importProz() const { return *proz_; }
    TabWorkArea* tabs() const { return tabs_; }
    ToolColumn* toolColumn() const { return tools_; }
    // "/"-terminated, exactly as the file system spells it; empty before the first show.
    QString webRecipeDirectory() const { return webRecipeDirectory_; }
    // The menu plan's warning strip ("alternatives") is shown.
    bool alternativesFound() const { return alternativesFound_; }

    // The program's first show: maximised when the "Maximale Fenstergröße" mark is set.
    void showInitially();

    // Starts reading all recipes again (the menu plan is reconciled when the read is done).
    // While a read runs, the request is kept and a new read starts once after it.
    void reloadRecipes();
    // True from the start of a read until its entries are in the recipe list.
    bool readingRecipes() const;

    // The program's search path list: the settings load it, the dialogs edit it, reads copy it.
    SearchPathList& searchPaths() { return searchPaths_; }
    const SearchPathList& searchPaths() const { return searchPaths_; }

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
    SearchPathList& portSearchPaths() override { return searchPaths_; }
    void markSearchPathsChanged() override { searchPathsChanged_ = true; }
    QString portWebRecipeDirectory() const override { return webRecipeDirectory_; }
    void requestReload() override;
    void rowFinderChanged() override;
    void showWebImport() override;
    QTextEdit* previewText() override;

    // Re-evaluates the print button for the current tab (call when plan marks change).
    void updatePrintButton();
    // Shows the start page: tab area hidden (it keeps its tab), product text rebuilt.
    void showStartPage();
    // As a changed portion count in the menu plan does: the next preview request rebuilds.
    void markPreviewPortionsChanged();
    void onTimer();
    void onStart();
    // "Programmstart" in the menu acts while its button on the start page can be clicked.
    void updateStartAction();
    void onTabChanged(int tab, int previous);
    // The keyboard focus to the grid of the current tab (TabWorkArea::gridOfTab).
    void focusTabGrid();
    void firstShow();
    void handleReload();
    void handleImportNotify(long long wParam);

    // Hook points, each wired by the layer named beside it (tsdiappform_hooks.cpp).
    void readSettings();                              // settings
    void loadSearchPaths();                           // settings
    QString saveSettings();                           // settings; what failed, or empty
    void restoreSidePanelWidths();                    // settings (position saver)
    void storeSidePanelWidth(SidePanel panel, int w); // settings (position saver)
    void readAllRecipes();                            // directory scan: starts the worker
    void takeOverRecipes();                           // directory scan: the worker is done
    void showReadProgress();                          // directory scan
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
    QString iniFileName_;
    bool panelWidthsRestored_ = false;
    bool shownOnce_ = false;
    bool alternativesFound_ = false; // kept by the menu plan's alternativesChanged
    QString webRecipeDirectory_;
    QString programDirectory_;
    // Where the INI file and the web recipes live (next to the program or per user).
    ProgramPlaces places_;
    QString importDefaultDirectory_;
    SearchPathList searchPaths_;
    // The list as the INI file held it at the first show: what another instance changed in the
    // file since then is merged, not overwritten, when this one saves.
    SearchPathList searchPathsAsRead_;
    // The read running on a worker thread: its result, its progress and its stop request,
    // shared with the worker so that they outlive the window's part in them.
    using ScanResult = std::shared_ptr<RecipeScan::Entries>;
    QFutureWatcher<ScanResult>* scanWatcher_ = nullptr;
    std::shared_ptr<std::atomic<std::size_t>> scanProgress_;
    std::shared_ptr<std::atomic<bool>> scanStop_;
    QTimer* progressTimer_ = nullptr;
    bool reading_ = false;     // from the start of a read until its hand-over
    bool reloadAgain_ = false; // a reload was asked for during the read

    RecipeListModel* recipeList_ = nullptr;
    StartPage* startPage_ = nullptr;
    ToolColumn* tools_ = nullptr;
    TabWorkArea* tabs_ = nullptr;
    QTimer* timer1_ = nullptr;
    // The menus and their actions, with the tool column's buttons (a child).
    MainActions* actions_ = nullptr;
    // "Ansicht": start, re-read, tabs and sorting for the keyboard (a child).
    ViewMenu* viewMenu_ = nullptr;
    // The preview's state and its rebuilding, for the life of the window (a child).
    PreviewController* previewer_ = nullptr;
    // The window position saver (a child), made when the settings are read.
    TFormPosSaver* posSaver_ = nullptr;
    // The last preview request met a recipe file that cannot be read.
    bool previewUnreadable_ = false;
    // The menu plan with its grid adapters; destroyed before the grids (tsdiappform_plan.cpp).
    std::unique_ptr<MenuPlanParts> menuPlan_;
    PlanFileActions* planFiles_ = nullptr; // child; uses menuPlan_; in actions_' "Datei"
};

} // namespace kovanta
