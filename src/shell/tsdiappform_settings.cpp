// The main window's settings and directory-scan hooks: the stored switches, the window
// position saver with the side-panel widths, the search path list with its INI file, the
// web recipe directory and reading all recipes. The menu items that edit the list are in
// mainactions.cpp.

#include "formpossaver.h"
#include "messages.h"
#include "platform/qt/settingsstore.h"
#include "platform/qt/qtstrings.h"
#include "app/recipescan.h"
#include "app/searchpaths.h"
#include "recipe/rezeptimportproz.h"
#include "recipelistmodel.h"
#include "settings.h"
#include "tsdiappform.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QStatusBar>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStringList>
#include <QTableView>

#include <algorithm>

namespace kovanta {
namespace {

// Registry key of the position saver: "Software\kovanta\SDIAppForm", after the program file.
const QString kProgramName = QStringLiteral("kovanta");

// Side-panel widths: none stored, least and most.
constexpr int kNotStored = -1;
constexpr int kPanelMin = 100;
constexpr int kPanelMax = 400;

} // namespace

// --- Settings ------------------------------------------------------------------------------

// Window creation: "Autosave", "Zeilenfinder" and "MaxWindow", and the position saver.
void TSDIAppForm::readSettings()
{
    const SettingsStore store;
    const settings::Switches s = settings::readSwitches(store);
    autosave_ = s.autosave;
    actions_->setSwitches(s.zeilenfinder, s.maxWindow);

    // The saver restores position, size and a stored maximised state on the first show;
    // "MaxWindow" itself is applied by showInitially(), which the program uses to show the
    // window.
    posSaver_ = new TFormPosSaver(this, kProgramName);
    posSaver_->setObjectName(QStringLiteral("FormPosSaver1"));
}

// First show: the search path list from the program's INI file. One that cannot be used counts
// as missing; a note in the status bar says so for the whole run, since the search paths shown
// are then not the saved ones and changes to them cannot be saved either. It sits among the
// status bar's permanent widgets, so the hints of whatever lies under the mouse (the start page
// is full of them) do not cover it.
void TSDIAppForm::loadSearchPaths()
{
    iniFileName_ = displayPath(places_.iniFile);
    const std::string ini = fsPath(iniFileName_);
    const bool firstRun = !QFile::exists(iniFileName_);
    const std::string note = settings::loadSearchPaths(ini, searchPaths_);
    searchPathsAsRead_ = searchPaths_;
    if (!note.empty()) {
        auto* label = new QLabel(statusBar());
        label->setObjectName(QStringLiteral("SettingsNote"));
        label->setText(QStringLiteral("<b>\u26A0 %1 \u2013 Suchpfade nicht geladen</b>")
                           .arg(QString::fromUtf8(note.data(), static_cast<qsizetype>(note.size()))
                                    .toHtmlEscaped()));
        label->setStyleSheet(QStringLiteral("QLabel { color: #b00000; }"));
        label->setToolTip(QStringLiteral("%1\nÄnderungen der Suchpfade können nicht gespeichert "
                                         "werden.")
                              .arg(iniFileName_));
        statusBar()->addPermanentWidget(label);
    }
    // An installed program finds no recipes next to itself: its first run starts with the
    // bundled samples as an active directory, kept in the user's INI file when it closes.
    if (firstRun && !places_.samplesDir.empty() &&
        searchPaths_.add(places_.samplesDir, true))
        searchPathsChanged_ = true;
}

// Close query, only when the search paths changed: the switches to the settings store, the
// search path list to the INI file, merged with what another instance saved there meanwhile.
// Returns one "file reason" line per file that could not be written; a file that failed is as
// it was.
QString TSDIAppForm::saveSettings()
{
    if (iniFileName_.isEmpty())
        return {};
    QStringList problems;
    SettingsStore store;
    if (!settings::writeCloseSwitches(store, autosave_, actions_->rowFinder()))
        problems << settings::storeWriteProblem(store);
    // The per-user configuration directory may not exist yet; next to the program it does.
    if (places_.perUser)
        QDir().mkpath(QFileInfo(iniFileName_).absolutePath());
    const std::string error =
        settings::saveSearchPaths(fsPath(iniFileName_), searchPaths_, searchPathsAsRead_);
    if (!error.empty())
        problems << iniFileName_ + QLatin1Char(' ') + QString::fromStdString(error);
    return problems.join(QLatin1Char('\n'));
}

// MSG_RESTORE_PANELS: requirements, preview, menu plan, each brought into 100-400. A panel
// without a stored width keeps fitting what it shows.
void TSDIAppForm::restoreSidePanelWidths()
{
    const TFormPosSaver* saver = posSaver_;
    if (!saver)
        return;
    for (const SidePanel panel :
         {SidePanel::Requirements, SidePanel::Preview, SidePanel::MenuPlan}) {
        const int stored = saver->GetValue(static_cast<int>(panel), kNotStored, 0, 0);
        if (stored != kNotStored)
            tabs_->setSidePanelWidth(panel, std::clamp(stored, kPanelMin, kPanelMax));
    }
}

// A side panel was resized by the user after the widths were restored: stored at once.
void TSDIAppForm::storeSidePanelWidth(SidePanel panel, int width)
{
    if (posSaver_)
        posSaver_->SetValue(static_cast<int>(panel), width);
}

// --- Directory scan ------------------------------------------------------------------------

// Rebuilds the recipe list from the program directory (while not listed) and the active
// search directories. The previous entries are freed and the list is hidden before the read
// begins; the worker reads on a copy of the search paths, so the dialogs may change the list
// meanwhile. takeOverRecipes() finishes the read on this thread.
void TSDIAppForm::readAllRecipes()
{
    reading_ = true;
    tabs_->recipeGrid()->hide();
    recipeList_->clear();
    scanProgress_->store(0);
    showReadProgress();
    progressTimer_->start();
    const TRezeptImportProz* proz = proz_.get();
    scanWatcher_->setFuture(QtConcurrent::run(
        [proz, programDir = fsPath(programDirectory_), paths = searchPaths_,
         progress = scanProgress_, stop = scanStop_]() -> ScanResult {
            RecipeScan scan(*proz, programDir);
            scan.setStopFlag(stop.get());
            return std::make_shared<RecipeScan::Entries>(scan.readAll(
                paths, [&progress](std::size_t n) { progress->store(n, std::memory_order_relaxed); }));
        }));
}

// The worker is done: its entries become the recipe list in one batch, the list is shown and
// the menu plan reconciled; a reload asked for meanwhile starts now.
void TSDIAppForm::takeOverRecipes()
{
    progressTimer_->stop();
    reading_ = false;
    const ScanResult result = scanWatcher_->result();
    recipeList_->setEntries(std::move(*result));
    tabs_->recipeGrid()->show();
    statusBar()->clearMessage();
    reconcileMenuPlan();
    updatePrintButton();
    emit recipesRead();
    if (reloadAgain_) {
        reloadAgain_ = false;
        readAllRecipes();
    }
}

// "12.345 Rezepte gelesen..." while a read runs.
void TSDIAppForm::showReadProgress()
{
    statusBar()->showMessage(
        QString::fromStdString(scanProgressText(scanProgress_->load(std::memory_order_relaxed))));
}

// MSG_IMPORT_NOTIFY (recipes stored): the web recipe directory becomes active, and that is a
// change of the search paths, saved on close: the imported recipes must still be listed after a
// restart. When it is not listed at all (a fresh installation), it is appended active.
void TSDIAppForm::activateWebRecipeDirectory()
{
    SearchPathList& paths = searchPaths_;
    const int index = paths.indexOf(fsPath(webRecipeDirectory_));
    if (index >= 0) {
        if (!paths.entries()[static_cast<std::size_t>(index)].active) {
            paths.setActive(static_cast<std::size_t>(index), true);
            searchPathsChanged_ = true;
        }
    } else if (!webRecipeDirectory_.isEmpty() && paths.add(fsPath(webRecipeDirectory_), true)) {
        searchPathsChanged_ = true;
    }
}

} // namespace kovanta
