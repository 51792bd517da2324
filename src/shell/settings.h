#pragma once

#include "app/searchpathsini.h"

#include <QString>

#include <string>

class QWidget;

namespace kovanta {

class SettingsStore;

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

} // namespace settings
} // namespace kovanta
