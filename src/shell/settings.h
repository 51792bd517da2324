#pragma once

#include "app/searchpathsini.h"

#include <string>

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

} // namespace settings
} // namespace kovanta
