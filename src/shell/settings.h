#pragma once

#include "searchpaths.h"

#include <string>

namespace kovanta {

class SettingsStore;

// The program's stored switches and its search path list.
//
// Switches live in the settings store (the registry stand-in) under "Software\Kovanta\Settings"
// as "1"/"0"; a missing value, or one that is not a number, gives the default (true), any
// number other than 0 is true.
//
// The search path list lives in the profile file "<program dir>/kovanta.INI", section
// "SuchPfade": keys "1".."N" in list order, each value "1" (active) or "0" (inactive) directly
// followed by the directory path as the file system spells it.
namespace settings {

inline constexpr const char* kRegistryKey = "Software\\Kovanta\\Settings";
inline constexpr const char* kSection = "SuchPfade";
inline constexpr const char* kProfileName = "kovanta.INI";

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

// The profile file of a program directory ("/"-terminated or not).
std::string profileFileName(const std::string& programDir);

// Replaces list with the entries of section "SuchPfade" of the profile file, in file order.
// Each value: a leading "1" or "0" is the active flag and is removed; a value that begins
// with neither is taken whole as the path of an INACTIVE entry, so that an edited file never
// makes the program scan a directory the user did not switch on. A path is added only when it
// is not in the list yet (exact comparison), so the first of two equal paths wins with its
// flag. Empty paths are skipped. A missing file leaves the list empty. A file that cannot be
// used (unreadable, a directory, a FIFO, larger than 1 MiB) is treated as missing and the
// result says why, for a note to the user ("kovanta.INI ist ein Verzeichnis"; UTF-8); the
// result is empty otherwise.
std::string loadSearchPaths(const std::string& profileFile, SearchPathList& list);

// Rewrites section "SuchPfade" so that it holds exactly list; every other line of the file
// stays as it was. Paths holding a line break cannot be stored in a profile line and are left
// out. Throws std::runtime_error when the file cannot be read or written (the caller on close
// swallows it).
void saveSearchPaths(const std::string& profileFile, const SearchPathList& list);

} // namespace settings
} // namespace kovanta
