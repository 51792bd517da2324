#include "tsdiappform.h"

#include "app/recipescan.h"
#include "formpossaver.h"
#include "gridsetup.h"
#include "hemispherebutton.h"
#include "messages.h"
#include "platform/gui/uifont.h"
#include "platform/qt/qtstrings.h"
#include "recipe/rezeptimportproz.h"
#include "recipefilterbar.h"
#include "startpage.h"
#include "startup.h"
#include "toolcolumn.h"
#include "updateslock.h"
#include "viewmenu.h"
#include "views/previewcontroller.h"
#include "views/recipelistmodel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

namespace kovanta {

namespace {

const QString kUnreadable = QStringLiteral("Rezeptdatei nicht lesbar: ");

QString programDirectoryOf(const ShellOptions& options)
{
    return withTrailingSlash(options.programDirectory.isEmpty()
                                 ? QCoreApplication::applicationDirPath()
                                 : options.programDirectory);
}

} // namespace

TSDIAppForm::TSDIAppForm(const ShellOptions& options, QWidget* parent)
    : QMainWindow(parent), proz_(std::make_unique<TRezeptImportProz>()),
      settings_(std::make_unique<ShellSettings>(programDirectoryOf(options))),
      recipes_(std::make_unique<RecipeListModel>())
{
    setObjectName(QStringLiteral("SDIAppForm"));
    setWindowTitle(mainWindowCaption());
    setWindowIcon(programIcon());
    setMinimumSize(600, 400);
    // The designed size, grown with the UI font like everything inside it.
    const UiScale scale = applicationUiScale();
    resize(scale.px(736), scale.px(515));

    createWidgets();
    createParts(options);
    connectParts();

    const settings::Switches switches = settings_->readSwitches();
    actions_->setSwitches(switches.zeilenfinder, switches.maxWindow);
    // The saver restores position, size and a stored maximised state on the first show;
    // "MaxWindow" itself is applied by showInitially().
    posSaver_ = new TFormPosSaver(this, QStringLiteral("kovanta"));
    posSaver_->setObjectName(QStringLiteral("FormPosSaver1"));
    applyRowFinder();

    startPage_->enableStartAfter(options.startDelayMs);
}

// The members go in the reverse order of their making: the connections first, then each part
// before the parts it uses; the widgets follow as the window's children.
TSDIAppForm::~TSDIAppForm() = default;

void TSDIAppForm::createWidgets()
{
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    setStatusBar(status);
    actions_ = std::make_unique<MainActions>(static_cast<MainWindowPort&>(*this), menuBar());

    // The start page and the tab area share the client area; each is shown or hidden alone.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto* grid = new QGridLayout(client);
    grid->setContentsMargins(0, 0, 0, 0);
    tools_ = new ToolColumn(client);
    tabs_ = new TabWorkArea(tools_, client);
    startPage_ = new StartPage(client);
    grid->addWidget(tabs_, 0, 0);
    grid->addWidget(startPage_, 0, 0);
    setCentralWidget(client);
    tabs_->hide();
    startPage_->hide();

    // "Ansicht" between "Datei" and "Optionen".
    viewMenu_ = new ViewMenu(tabs_, menuBar(), menuBar()->actions().value(1), this);
}

void TSDIAppForm::createParts(const ShellOptions& options)
{
    listView_ = std::make_unique<RecipeListView>(recipeGrid(), *recipes_);
    tabs_->recipeFilter()->setList(listView_.get());
    reader_ = std::make_unique<RecipeReader>(*proz_, fsPath(settings_->programDirectory()),
                                             settings_->searchPaths(), *recipes_);

    MenuPlan::Hooks hooks;
    hooks.planTabCurrent = [this] { return tabs_->currentIndex() == TabMenuPlan; };
    hooks.currentRecipe = [this] { return listView_->currentIndex(); };
    hooks.planMarksChanged = [this] { updatePrintButton(); };
    hooks.previewRefreshNeeded = [this] { preview_->MarkPortionsChanged(); };
    hooks.postFillRequirementRow = [this](int row) {
        postWindowMessage(this, MSG_FILL_REQUIREMENT_ROW, row);
    };
    hooks.showMessage = [this](const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("PlanMessage"));
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
    };
    plan_ = std::make_unique<MenuPlanParts>(*proz_, *recipes_, AsListGrid(tabs_->planGrid()),
                                            AsListGrid(tabs_->requirementsGrid()),
                                            tabs_->alternativePanel(), std::move(hooks));

    preview_ = std::make_unique<PreviewController>(
        *proz_, tabs_->preview(), this,
        [this](int row) {
            return recipes_->entry(listView_->indexOfRow(row + TAStringGrid::FixedRows));
        },
        [this](const TImpListInfo& recipe) { return plan_->menuPlan.plannedPortions(recipe); });
    // The previous text stays when the file is gone (the row is tried again when picked
    // again); the status bar says why it did not change.
    preview_->SetOnUnreadable([this](const TImpListInfo& recipe) {
        statusBar()->showMessage(kUnreadable + displayPath(recipe.FileName));
    });

    importLink_ = std::make_unique<WebImportLink>(this, options.importDefaultDirectory);
    planFiles_ = std::make_unique<PlanFileActions>(static_cast<PlanFilePort&>(*this));
    actions_->insertFileGroup(planFiles_->actions());
    print_ = std::make_unique<PrintActions>(static_cast<PrintPort&>(*this));
    actions_->insertFileGroup({print_->printAction(), print_->previewAction()});
}

void TSDIAppForm::connectParts()
{
    QObject* wiring = wiring_.get();
    connect(viewMenu_, &ViewMenu::startRequested, wiring, [this] {
        // The shortcut acts where the button can be clicked.
        if (startPage_->canStart())
            onStart();
    });
    connect(startPage_, &StartPage::startEnabled, wiring, [this] { updateStartAction(); });
    connect(viewMenu_, &ViewMenu::reloadRequested, wiring, [this] { reloadRecipes(); });
    connect(startPage_, &StartPage::startRequested, wiring, [this] { onStart(); });
    connect(startPage_, &StartPage::quitRequested, this, &QWidget::close);
    connect(startPage_, &StartPage::linkFailed, this,
            [this](const QString& message) { statusBar()->showMessage(message); });
    connect(tools_, &ToolColumn::quitRequested, this, &QWidget::close);
    connect(tools_, &ToolColumn::searchPathsRequested, actions_.get(),
            &MainActions::editSearchPaths);
    connect(tools_, &ToolColumn::reloadRequested, wiring, [this] { reloadRecipes(); });
    connect(tools_, &ToolColumn::printRequested, print_.get(), &PrintActions::print);
    connect(tools_, &ToolColumn::webImportRequested, actions_.get(), &MainActions::openWebImport);
    connect(tools_, &ToolColumn::copyRequested, actions_.get(), &MainActions::copyWholePreview);
    connect(tabs_, &TabWorkArea::tabChanged, wiring, [this](int tab) { onTabChanged(tab); });
    connect(tabs_, &TabWorkArea::informationChosen, wiring, [this] { showStartPage(); });
    connect(tabs_, &TabWorkArea::sidePanelResized, wiring, [this](SidePanel panel, int width) {
        // Until the stored widths are back, a resize is layout settling, not the user.
        if (panelWidthsRestored_)
            posSaver_->SetValue(static_cast<int>(panel), width);
    });
    // Every cell selection, not only a change of row: picking the shown row again (another
    // cell of it) must rebuild the preview once the plan's portions changed meanwhile, e.g.
    // when "Rezepte neu einlesen" dropped the recipe from the plan while "Vorschau" was open.
    connect(recipeGrid()->selectionModel(), &QItemSelectionModel::currentChanged, wiring,
            [this](const QModelIndex& current) {
                if (tabs_->currentIndex() == TabPreview)
                    showPreview(current.isValid() ? current.row() : -1);
            });
    // Space key and double-click toggle the recipe in the menu plan, after the current event.
    InstallTogglePlanTriggers(*recipeGrid(), [this] { postWindowMessage(this, MSG_TOGGLE_PLAN); });

    connect(reader_.get(), &RecipeReader::started, wiring, [this] { recipeGrid()->hide(); });
    connect(reader_.get(), &RecipeReader::progress, wiring, [this](std::size_t entries) {
        statusBar()->showMessage(QString::fromStdString(scanProgressText(entries)));
    });
    connect(reader_.get(), &RecipeReader::finished, wiring, [this] { readFinished(); });
    connect(importLink_.get(), &WebImportLink::recipesStored, wiring, [this] {
        settings_->activateWebRecipeDirectory();
        postWindowMessage(this, MSG_RELOAD_RECIPES);
    });
    connect(tabs_, &TabWorkArea::tabChanged, wiring, [this] { planFiles_->updateActions(); });
    connect(actions_->fileMenu(), &QMenu::aboutToShow, wiring,
            [this] { planFiles_->updateActions(); });
}

TAStringGrid* TSDIAppForm::recipeGrid() const
{
    return AsListGrid(tabs_->recipeGrid());
}

void TSDIAppForm::onStart()
{
    postWindowMessage(this, MSG_RELOAD_RECIPES);
    startPage_->hide();
    updateStartAction();
}

void TSDIAppForm::updateStartAction()
{
    viewMenu_->startAction()->setEnabled(startPage_->canStart());
}

void TSDIAppForm::showStartPage()
{
    const UpdatesLock lock(this);
    startPage_->show();
    tabs_->hide();
    startPage_->rebuildProductText();
    updateStartAction();
    updatePrintButton();
}

void TSDIAppForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shownOnce_)
        firstShow();
}

void TSDIAppForm::firstShow()
{
    if (const std::string note = settings_->loadSearchPaths(); !note.empty())
        settings::showNotLoadedNote(*statusBar(), note, settings_->iniFileName());
    postWindowMessage(this, MSG_RESTORE_PANELS);
    settings_->createWebRecipeDirectory();
    startPage_->showGuideText(1);
    showStartPage();
    shownOnce_ = true;
}

bool TSDIAppForm::event(QEvent* event)
{
    const auto* message = dynamic_cast<const WindowMessage*>(event);
    const long long wParam = message ? message->wParam() : 0;
    const QEvent::Type type = event->type();
    if (type == MSG_RESTORE_PANELS) {
        restoreSidePanelWidths(*posSaver_, *tabs_);
        // The layout settles in the events queued meanwhile; a resize after them is the user's.
        QMetaObject::invokeMethod(
            wiring_.get(), [this] { panelWidthsRestored_ = true; }, Qt::QueuedConnection);
    } else if (type == MSG_APPLY_ROWFINDER) {
        applyRowFinder();
    } else if (type == MSG_RELOAD_RECIPES) {
        handleReload();
    } else if (type == MSG_FILL_REQUIREMENT_ROW) {
        plan_->menuPlan.FillRequirementRow(static_cast<int>(wParam));
    } else if (type == MSG_TOGGLE_PLAN) {
        togglePlan();
    } else if (type == MSG_IMPORT_NOTIFY) {
        importLink_->notify(wParam);
    } else {
        return QMainWindow::event(event);
    }
    return true;
}

void TSDIAppForm::handleReload()
{
    reloadRecipes();
    viewMenu_->reloadAction()->setEnabled(true);
    if (tabs_->isHidden()) {
        tabs_->show();
        focusTabGrid();
        updatePrintButton();
    }
}

// The entries are in the list: the list shows again, the plan keeps what it finds again, and
// on "Vorschau" the preview follows the list's current row.
void TSDIAppForm::readFinished()
{
    recipesReadOnce_ = true;
    recipeGrid()->show();
    statusBar()->clearMessage();
    plan_->menuPlan.Reconcile();
    updatePrintButton();
    planFiles_->updateActions();
    if (tabs_->currentIndex() == TabPreview && !tabs_->isHidden()) {
        const QModelIndex current = recipeGrid()->currentIndex();
        showPreview(current.isValid() ? current.row() : -1);
    }
    emit recipesRead();
}

void TSDIAppForm::onTabChanged(int tab)
{
    const UpdatesLock lock(this);
    tools_->setCopyVisible(tab == TabPreview);
    updatePrintButton();
    if (tab == TabPreview) {
        const QModelIndex current = recipeGrid()->currentIndex();
        showPreview(current.isValid() ? current.row() : -1);
    } else if (tab == TabRequirements) {
        plan_->menuPlan.Recompute();
    }
    focusTabGrid();
}

void TSDIAppForm::focusTabGrid()
{
    // The widget that had the focus may just have been hidden with its panel; Qt would pass
    // the focus on to whatever comes next in the chain.
    if (QTableView* grid = tabs_->gridOfTab(tabs_->currentIndex()))
        grid->setFocus(Qt::OtherFocusReason);
}

void TSDIAppForm::updatePrintButton()
{
    const bool enabled = printEnabledOnTab(tabs_->currentIndex(), recipes_->anyInPlan());
    tools_->setPrintEnabled(enabled);
    print_->setAvailable(enabled && !tabs_->isHidden());
}

void TSDIAppForm::showPreview(int row)
{
    preview_->ShowPreview(row);
    // Once the preview shows the selected row (again), the message is out of date.
    if (!preview_->LastUnreadable() && statusBar()->currentMessage().startsWith(kUnreadable))
        statusBar()->clearMessage();
}

void TSDIAppForm::applyRowFinder()
{
    ApplyGridRowFinder(*recipeGrid(), actions_->rowFinder());
    ApplyGridRowFinder(*AsListGrid(tabs_->planGrid()), actions_->rowFinder());
}

// MSG_TOGGLE_PLAN: as a double-click on the recipe list.
void TSDIAppForm::togglePlan()
{
    // A row the quick filter hides is no choice of the cook's (while nothing is shown the grid
    // still names its first row as current).
    if (!tabs_->recipeFilter()->rowShown(recipeGrid()->Row()))
        return;
    plan_->menuPlan.TogglePlan();
}

void TSDIAppForm::requestReload()
{
    postWindowMessage(this, MSG_RELOAD_RECIPES);
}

void TSDIAppForm::rowFinderChanged()
{
    // Until the panels are restored the grids are still being set up; MSG_RESTORE_PANELS's
    // turn comes first and the row finder is applied at creation.
    if (panelWidthsRestored_)
        postWindowMessage(this, MSG_APPLY_ROWFINDER);
}

bool TSDIAppForm::previewCurrentRecipe()
{
    const QModelIndex current = recipeGrid()->currentIndex();
    if (!current.isValid() || !currentRecipe())
        return false;
    showPreview(current.row());
    return !preview_->LastUnreadable() && preview_->PreviewedRow() == current.row();
}

void TSDIAppForm::showPlan()
{
    if (tabs_->currentIndex() != TabMenuPlan && tabs_->currentIndex() != TabRequirements)
        tabs_->setCurrentIndex(TabMenuPlan);
}

void TSDIAppForm::showInitially()
{
    if (actions_->maxWindow())
        showMaximized();
    else
        show();
}

void TSDIAppForm::closeEvent(QCloseEvent* event)
{
    // A changed plan is saved, dropped or keeps the program open, as the cook answers.
    if (!planFiles_->confirmDiscard()) {
        event->ignore();
        return;
    }
    // A settings file that cannot be written is reported; it never keeps the program open.
    if (settings_->searchPathsChanged()) {
        const QString problems = settings_->save(actions_->rowFinder());
        if (!problems.isEmpty())
            settings::reportNotSaved(this, settings::closeSaveFailedText(problems));
    }
    event->accept();
}

} // namespace kovanta
