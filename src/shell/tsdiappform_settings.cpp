// The main window's settings and directory-scan hooks: the stored switches, the window
// position saver with the side-panel widths, the search path list with its INI file, the
// search-path dialog, "Öffnen..." and reading all recipes.

#include "dialogs/durchsuchen.h"
#include "dialogs/pfaddatendefinition.h"
#include "formpossaver.h"
#include "messages.h"
#include "platform/qt/settingsstore.h"
#include "recipelistmodel.h"
#include "recipescan.h"
#include "searchpaths.h"
#include "settings.h"
#include "tsdiappform.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QTableView>

namespace kovanta {
namespace {

// Paths are kept as the file system's bytes; the window holds them as QStrings.
std::string fsPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString displayPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

TFormPosSaver* posSaver(const QObject* window)
{
    return window->findChild<TFormPosSaver*>(QStringLiteral("FormPosSaver1"),
                                             Qt::FindDirectChildrenOnly);
}

// Registry key of the position saver: "Software\kovanta\SDIAppForm", after the program file.
const QString kProgramName = QStringLiteral("kovanta");
const QString kOpenCaption = QStringLiteral("Rezeptdatenpfad hinzuf\u00fcgen");
const QString kOpenMask = QStringLiteral("REZ0*.DAT");

// Side-panel widths: default, least and most.
constexpr int kPanelDefault = 200;
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
    rowFinder_ = s.zeilenfinder;
    maxWindow_ = s.maxWindow;

    // The saver restores position, size and a stored maximised state on the first show;
    // "MaxWindow" itself is applied by showInitially(), which the program uses to show the
    // window.
    auto* saver = new TFormPosSaver(this, kProgramName);
    saver->setObjectName(QStringLiteral("FormPosSaver1"));
}

// First show: the search path list from the program's INI file.
void TSDIAppForm::loadSearchPaths()
{
    iniFileName_ = programDirectory_ + QString::fromLatin1(settings::kProfileName);
    settings::loadSearchPaths(fsPath(iniFileName_), programSearchPaths());
}

// Close query, only when the search paths changed. Throws when the INI file cannot be
// written; the caller swallows it.
void TSDIAppForm::saveSettings()
{
    if (iniFileName_.isEmpty())
        return;
    SettingsStore store;
    settings::writeCloseSwitches(store, autosave_, rowFinderAction_->isChecked());
    settings::saveSearchPaths(fsPath(iniFileName_), programSearchPaths());
}

// MSG_RESTORE_PANELS: requirements, preview, menu plan, each brought into 100-400.
void TSDIAppForm::restoreSidePanelWidths()
{
    const TFormPosSaver* saver = posSaver(this);
    if (!saver)
        return;
    for (const SidePanel panel : {SidePanel::Requirements, SidePanel::Preview, SidePanel::MenuPlan})
        tabs_->setSidePanelWidth(
            panel, saver->GetValue(static_cast<int>(panel), kPanelDefault, kPanelMin, kPanelMax));
}

// A side panel was resized by the user after the widths were restored: stored at once.
void TSDIAppForm::storeSidePanelWidth(SidePanel panel, int width)
{
    if (TFormPosSaver* saver = posSaver(this))
        saver->SetValue(static_cast<int>(panel), width);
}

// "Maximale Fenstergröße" toggled: written at once.
void TSDIAppForm::storeMaxWindow(bool on)
{
    SettingsStore store;
    settings::writeMaxWindow(store, on);
}

// --- Directory scan ------------------------------------------------------------------------

// Rebuilds the recipe list from the program directory (while not listed) and the active
// search directories. The list is hidden while it is filled; the event queue is served each
// time it grows (reloadRecipes() keeps a reload asked for meanwhile until this one is done).
void TSDIAppForm::readAllRecipes()
{
    QTableView* grid = tabs_->recipeGrid();
    grid->hide();
    // The previous entries are freed before the new read begins.
    recipeList_->clear();
    RecipeScan scan(*proz_, fsPath(programDirectory_));
    RecipeScan::Entries entries =
        scan.readAll(programSearchPaths(), [](std::size_t) { QCoreApplication::processEvents(); });
    recipeList_->setEntries(std::move(entries));
    grid->show();
}

// MSG_IMPORT_NOTIFY (recipes stored): the web recipe directory becomes active if it is
// listed; activating is no change of the search paths, nothing is saved for it. When it is not
// listed at all (a fresh installation), it is appended active and saved with the settings, or
// the imported recipes would never reach the recipe list.
void TSDIAppForm::activateWebRecipeDirectory()
{
    SearchPathList& paths = programSearchPaths();
    const int index = paths.indexOf(fsPath(webRecipeDirectory_));
    if (index >= 0)
        paths.setActive(static_cast<std::size_t>(index), true);
    else if (!webRecipeDirectory_.isEmpty() && paths.add(fsPath(webRecipeDirectory_), true))
        searchPathsChanged_ = true;
}

// "Öffnen...": a directory holding REZ0*.DAT files, appended inactive when not listed yet.
// The recipes are not read again.
void TSDIAppForm::openDirectory()
{
    const std::optional<QString> chosen =
        BrowseDirectory(lastAddedDirectory_, kOpenCaption, kOpenMask, true, this);
    if (!chosen)
        return;
    const std::string dir = withTrailingSlash(fsPath(*chosen));
    if (!programSearchPaths().add(dir, false))
        return;
    lastAddedDirectory_ = displayPath(dir);
    searchPathsChanged_ = true;
}

// "Verzeichnisse", HemisphereButton2: the search-path dialog on a copy of the list. OK
// replaces the list and re-reads the recipes; in any case the web recipe directory is listed
// afterwards (inactive when it was missing).
void TSDIAppForm::editSearchPaths()
{
    SearchPathList& paths = programSearchPaths();
    {
        TPfaddatendefinition dialog(this);
        std::vector<TPfaddatendefinition::Entry> copy;
        for (const SearchPath& p : paths.entries())
            copy.push_back({p.path, p.active});
        dialog.setEntries(copy);
        if (dialog.exec() == QDialog::Accepted) {
            std::vector<SearchPath> result;
            for (const TPfaddatendefinition::Entry& e : dialog.entries())
                result.push_back({e.path, e.active});
            paths.assign(result);
            searchPathsChanged_ = true;
            postWindowMessage(this, MSG_RELOAD_RECIPES);
        }
    }
    if (!webRecipeDirectory_.isEmpty() && paths.add(fsPath(webRecipeDirectory_), false))
        searchPathsChanged_ = true;
}

} // namespace kovanta
