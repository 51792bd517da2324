#include "tsdiappform.h"

#include "gridsetup.h"
#include "hemispherebutton.h"
#include "menuplanparts.h"
#include "messages.h"
#include "planfileactions.h"
#include "platform/gui/uifont.h"
#include "platform/qt/qtstrings.h"
#include "printactions.h"
#include "recipe/rezeptimportproz.h"
#include "recipelistmodel.h"
#include "settings.h"
#include "startpage.h"
#include "startup.h"
#include "toolcolumn.h"
#include "updateslock.h"
#include "viewmenu.h"
#include "views/recipelistview.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFutureWatcher>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>

namespace kovanta {

TSDIAppForm::TSDIAppForm(const ShellOptions& options, QWidget* parent)
    : QMainWindow(parent), proz_(std::make_unique<TRezeptImportProz>())
{
    setObjectName(QStringLiteral("SDIAppForm"));
    setWindowTitle(mainWindowCaption());
    setWindowIcon(programIcon());
    setMinimumSize(600, 400);
    // The designed size, grown with the UI font like everything inside it.
    const UiScale scale = applicationUiScale();
    resize(scale.px(736), scale.px(515));

    programDirectory_ =
        withTrailingSlash(options.programDirectory.isEmpty() ? QCoreApplication::applicationDirPath()
                                                     : options.programDirectory);
    places_ = programPlaces(QFile::encodeName(programDirectory_).toStdString(),
                            PlaceEnvironment::fromProcess());
    importDefaultDirectory_ = options.importDefaultDirectory;

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    setStatusBar(status);
    actions_ = new MainActions(*this, menuBar(), this);

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

    recipeList_ = new RecipeListModel(this);
    QTableView* list = tabs_->recipeGrid();
    // The list grid shows the model's entries as row objects; sorting moves them in the grid.
    BindRecipeList(*AsListGrid(list), *recipeList_);

    // "Ansicht" between "Datei" and "Optionen".
    viewMenu_ = new ViewMenu(tabs_, menuBar(), menuBar()->actions().value(1), this);
    connect(viewMenu_, &ViewMenu::startRequested, this, [this] {
        // The shortcut acts where the button can be clicked.
        if (!startPage_->isHidden() && startPage_->startButton()->isEnabled())
            onStart();
    });
    connect(viewMenu_, &ViewMenu::reloadRequested, this, &TSDIAppForm::reloadRecipes);
    connect(startPage_, &StartPage::startRequested, this, &TSDIAppForm::onStart);
    connect(startPage_, &StartPage::quitRequested, this, &QWidget::close);
    connect(startPage_, &StartPage::linkFailed, this,
            [this](const QString& message) { statusBar()->showMessage(message); });
    connect(tools_, &ToolColumn::quitRequested, this, &QWidget::close);
    connect(tools_, &ToolColumn::searchPathsRequested, actions_, &MainActions::editSearchPaths);
    connect(tools_, &ToolColumn::reloadRequested, this, &TSDIAppForm::reloadRecipes);
    connect(tools_, &ToolColumn::printRequested, actions_, &MainActions::printCurrentTab);
    connect(tools_, &ToolColumn::webImportRequested, actions_, &MainActions::openWebImport);
    connect(tools_, &ToolColumn::copyRequested, actions_, &MainActions::copyWholePreview);
    connect(tabs_, &TabWorkArea::tabChanged, this, &TSDIAppForm::onTabChanged);
    connect(tabs_, &TabWorkArea::informationChosen, this, &TSDIAppForm::showStartPage);
    connect(tabs_, &TabWorkArea::sidePanelResized, this, [this](SidePanel panel, int width) {
        // Until the stored widths are back, a resize is layout settling, not the user.
        if (panelWidthsRestored_)
            storeSidePanelWidth(panel, width);
    });
    // Every cell selection, not only a change of row: picking the shown row again (another
    // cell of it) must rebuild the preview once the plan's portions changed meanwhile, e.g.
    // when "Rezepte neu einlesen" dropped the recipe from the plan while "Vorschau" was open.
    connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (tabs_->currentIndex() == TabPreview)
                    showPreview(current.isValid() ? current.row() : -1);
            });
    // After a read the list has a current row again (BindRecipeList); on "Vorschau" the
    // preview follows it even when the row number stayed the same.
    connect(recipeList_, &RecipeListModel::reset, this, [this] {
        // Not for the empty list a read starts with: the preview keeps its text until the
        // read is done.
        if (!reading_ && tabs_->currentIndex() == TabPreview && !tabs_->isHidden()) {
            const QModelIndex current = tabs_->recipeGrid()->currentIndex();
            showPreview(current.isValid() ? current.row() : -1);
        }
    });
    // Space key and double-click toggle the recipe in the menu plan, after the current event.
    InstallTogglePlanTriggers(*AsListGrid(list),
                              [this] { postWindowMessage(this, MSG_TOGGLE_PLAN); });
    setUpMenuPlan();
    setUpPlanFiles();
    actions_->setPrintActions(new PrintActions(*this));

    readSettings();
    applyRowFinder();

    scanProgress_ = std::make_shared<std::atomic<std::size_t>>(0);
    scanStop_ = std::make_shared<std::atomic<bool>>(false);
    scanWatcher_ = new QFutureWatcher<ScanResult>(this);
    connect(scanWatcher_, &QFutureWatcherBase::finished, this, &TSDIAppForm::takeOverRecipes);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this, &TSDIAppForm::showReadProgress);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setSingleShot(true);
    timer1_->setInterval(options.startDelayMs);
    connect(timer1_, &QTimer::timeout, this, &TSDIAppForm::onTimer);
    timer1_->start();
}

TSDIAppForm::~TSDIAppForm()
{
    // The worker reads with the processor: it must be done before proz_ goes.
    scanStop_->store(true);
    scanWatcher_->disconnect(this);
    scanWatcher_->waitForFinished();
    // The recipe entries go with the model (a child), the processor with proz_.
    if (importWindow_)
        importWindow_->close();
}

void TSDIAppForm::onTimer()
{
    timer1_->stop();
    startPage_->enableStart();
    updateStartAction();
}

void TSDIAppForm::onStart()
{
    postWindowMessage(this, MSG_RELOAD_RECIPES);
    startPage_->hide();
    updateStartAction();
}

void TSDIAppForm::updateStartAction()
{
    viewMenu_->startAction()->setEnabled(!startPage_->isHidden() &&
                                         startPage_->startButton()->isEnabled());
}

void TSDIAppForm::showStartPage()
{
    const UpdatesLock lock(this);
    startPage_->show();
    tabs_->hide();
    startPage_->rebuildProductText();
    updateStartAction();
}

void TSDIAppForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shownOnce_)
        firstShow();
}

void TSDIAppForm::firstShow()
{
    loadSearchPaths();
    postWindowMessage(this, MSG_RESTORE_PANELS);
    webRecipeDirectory_ = QFile::decodeName(QByteArray::fromStdString(places_.webRecipeDir));
    // A directory that cannot be made is simply missing; nothing is reported.
    QDir().mkpath(webRecipeDirectory_);
    startPage_->showGuideText(1);
    showStartPage();
    shownOnce_ = true;
}

bool TSDIAppForm::event(QEvent* event)
{
    const auto* message = dynamic_cast<const WindowMessage*>(event);
    switch (static_cast<int>(event->type())) {
    case MSG_RESTORE_PANELS:
        restoreSidePanelWidths();
        QCoreApplication::processEvents();
        panelWidthsRestored_ = true;
        return true;
    case MSG_APPLY_ROWFINDER:
        applyRowFinder();
        return true;
    case MSG_RELOAD_RECIPES:
        handleReload();
        return true;
    case MSG_FILL_REQUIREMENT_ROW:
        fillRequirementRow(message ? static_cast<int>(message->wParam()) : 0);
        return true;
    case MSG_TOGGLE_PLAN:
        togglePlan();
        return true;
    case MSG_IMPORT_NOTIFY:
        handleImportNotify(message ? message->wParam() : 0);
        return true;
    default:
        return QMainWindow::event(event);
    }
}

void TSDIAppForm::handleReload()
{
    // Let the window show its new state before the long work.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    reloadRecipes();
    viewMenu_->reloadAction()->setEnabled(true);
    if (tabs_->isHidden()) {
        tabs_->show();
        focusTabGrid();
    }
}

void TSDIAppForm::reloadRecipes()
{
    // A reload asked for during a read (several, even) runs once after it, on the search paths
    // as they are then; it must not free the entries the running read hands over.
    if (readingRecipes()) {
        reloadAgain_ = true;
        return;
    }
    readAllRecipes();
}

bool TSDIAppForm::readingRecipes() const
{
    return reading_;
}

void TSDIAppForm::onTabChanged(int tab, int)
{
    const UpdatesLock lock(this);
    tools_->setCopyVisible(tab == TabPreview);
    updatePrintButton();
    if (tab == TabPreview) {
        const QModelIndex current = tabs_->recipeGrid()->currentIndex();
        showPreview(current.isValid() ? current.row() : -1);
    } else if (tab == TabRequirements) {
        recomputeRequirements();
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
    tools_->setPrintEnabled(printEnabledOnTab(tabs_->currentIndex(), recipeList_->anyInPlan()));
}

void TSDIAppForm::handleImportNotify(long long wParam)
{
    if (wParam == IMPORT_WINDOW_CLOSES) {
        if (importWindow_) {
            importWindow_->setWindowFlag(Qt::WindowStaysOnTopHint, false);
            importWindow_->hide();
        }
        setWindowFlag(Qt::WindowStaysOnTopHint, false);
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        raise();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
        return;
    }
    activateWebRecipeDirectory();
    postWindowMessage(this, MSG_RELOAD_RECIPES);
}

void TSDIAppForm::showWebImport()
{
    if (!importWindow_)
        importWindow_ = createImportWindow();
    if (!importWindow_)
        return;
    importWindow_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    importWindow_->show();
    hide();
}

void TSDIAppForm::rowFinderChanged()
{
    // Until the panels are restored the grids are still being set up; MSG_RESTORE_PANELS's
    // turn comes first and the row finder is applied at creation.
    if (panelWidthsRestored_)
        postWindowMessage(this, MSG_APPLY_ROWFINDER);
}

void TSDIAppForm::requestReload()
{
    postWindowMessage(this, MSG_RELOAD_RECIPES);
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
    if (planFiles_ && !planFiles_->confirmDiscard()) {
        event->ignore();
        return;
    }
    // A settings file that cannot be written is reported; it never keeps the program open.
    if (searchPathsChanged_) {
        const QString problems = saveSettings();
        if (!problems.isEmpty())
            settings::reportNotSaved(this, settings::closeSaveFailedText(problems));
    }
    event->accept();
}

} // namespace kovanta
