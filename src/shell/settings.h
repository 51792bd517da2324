#pragma once

#include "app/programplaces.h"
#include "app/searchpaths.h"
#include "app/searchpathsini.h"

#include <QString>

#include <string>

class QStatusBar;
class QWidget;

namespace kovanta {

class SettingsStore;
class TFormPosSaver;
class TabWorkArea;

// The program's stored switches; the search path list's INI file is app/searchpathsini.h.
//
// Switches live in the settings store (the registry stand-in) under "Software\Kovanta\Settings"
// as "1"/"0"; a missing value, or one that is not a number, gives the default (true), any
// number other than 0 is true.
namespace settings {

inline constexpr const char* kRegistryKey = "Software\\Kovanta\\Settings";

struct Switches {
    bool autosave = true;
    bool zeilenfinder = true;
    bool maxWindow = true;
};

// Reads "Autosave", "Zeilenfinder" and "MaxWindow".
Switches readSwitches(const SettingsStore& store);

// Writes "Autosave" and "Zeilenfinder" (the values saved on close); false when the store
// could not be written.
bool writeCloseSwitches(SettingsStore& store, bool autosave, bool zeilenfinder);

// Writes "MaxWindow" at once; false when the store could not be written.
bool writeMaxWindow(SettingsStore& store, bool maxWindow);

// After a failed write of the store: its file and why, for a message
// (".../registry.conf kann nicht geschrieben werden (keine Berechtigung)").
QString storeWriteProblem(const SettingsStore& store);

// The message when saving on close failed; problems holds one "file reason" line per file.
QString closeSaveFailedText(const QString& problems);
// The message when "Maximale Fenstergröße" could not be stored.
QString maxWindowNotSavedText(const QString& problem);

// Shows a settings failure in a warning box with an OK button (object name
// "SettingsNotSaved"), and writes it to standard error as well. When a termination signal
// closes the program (the end of a session), only standard error has it: no box holds up the
// exit.
void reportNotSaved(QWidget* parent, const QString& text);

// A search path list that cannot be used counts as missing: a note in the status bar says so
// for the whole run, since the search paths shown are then not the saved ones and changes to
// them cannot be saved either. note: why (UTF-8, from ShellSettings::loadSearchPaths()).
void showNotLoadedNote(QStatusBar& status, const std::string& note, const QString& iniFileName);

} // namespace settings

// What the main window keeps between runs besides the grids' column widths: the search path
// list with its INI file, the switches written on close, and where the program keeps its files
// (next to the program or per user, programplaces.h). Needs no window.
//
// Life: made with the program directory; the first show loads the search path list
// (loadSearchPaths) and creates the web recipe directory; the list is changed in place by the
// dialogs (markSearchPathsChanged) and saved on close only when it changed (save).
class ShellSettings {
public:
    // programDirectory: the directory of the program file, "/"-terminated.
    explicit ShellSettings(const QString& programDirectory);

    const QString& programDirectory() const { return programDirectory_; }
    const ProgramPlaces& places() const { return places_; }

    // "Autosave", "Zeilenfinder" and "MaxWindow" from the settings store; Autosave is kept
    // for save().
    settings::Switches readSwitches();

    SearchPathList& searchPaths() { return searchPaths_; }
    const SearchPathList& searchPaths() const { return searchPaths_; }
    bool searchPathsChanged() const { return searchPathsChanged_; }
    void markSearchPathsChanged() { searchPathsChanged_ = true; }

    // First show: the search path list from the INI file. One that cannot be used counts as
    // missing; the returned note (UTF-8, empty when there is none) says why. An installed
    // program's first run starts with the bundled samples as an active directory.
    std::string loadSearchPaths();
    QString iniFileName() const { return iniFileName_; }

    // First show: the web recipe directory, made with its parents when missing (a directory
    // that cannot be made is simply missing). "/"-terminated, as the file system spells it;
    // empty before.
    void createWebRecipeDirectory();
    QString webRecipeDirectory() const { return webRecipeDirectory_; }
    // Recipes were imported: the web recipe directory becomes active, appended active when it
    // is not listed (a fresh installation); either way a change of the search paths, so that
    // the imported recipes are still listed after a restart.
    void activateWebRecipeDirectory();

    // Close: the switches to the settings store and the search path list to the INI file,
    // merged with what another instance saved there meanwhile. One "file reason" line per
    // file that could not be written; a file that failed is as it was. Nothing before the
    // list was loaded.
    QString save(bool rowFinder);

private:
    QString programDirectory_;
    ProgramPlaces places_;
    QString iniFileName_;
    QString webRecipeDirectory_;
    SearchPathList searchPaths_;
    // The list as the INI file held it at the first show: what another instance changed in the
    // file since then is merged, not overwritten, when this one saves.
    SearchPathList searchPathsAsRead_;
    bool searchPathsChanged_ = false;
    bool autosave_ = true;
};

// MSG_RESTORE_PANELS: the stored widths of the side panels (requirements, preview, menu plan),
// each brought into 100-400 designed pixels. A panel without a stored width keeps fitting what
// it shows.
void restoreSidePanelWidths(const TFormPosSaver& saver, TabWorkArea& tabs);

} // namespace kovanta
