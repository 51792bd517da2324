#pragma once

#include "app/searchpaths.h"

#include <string>

// The search path list in the profile file kovanta.INI (where that file lives:
// programplaces.h), section "SuchPfade": keys "1".."N" in list order, each value "1" (active)
// or "0" (inactive) directly followed by the directory path as the file system spells it.
namespace kovanta::settings {

inline constexpr const char* kSection = "SuchPfade";
inline constexpr const char* kProfileName = "kovanta.INI";

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

// Rewrites section "SuchPfade" with list; every other line of the file stays as it is now.
// asRead is the list as loadSearchPaths() gave it at the start: when the section holds
// something else by now (another instance of the program saved meanwhile), the changes made
// since then on both sides are merged (mergeSearchPaths) instead of this list overwriting the
// other's. Paths holding a line break cannot be stored in a profile line and are left out.
// Returns why the file could not be written, as the end of a sentence that starts with the file
// name (German, UTF-8: "ist ein Verzeichnis", "kann nicht geschrieben werden (Datenträger
// voll)"), or an empty string on success; after a failure the file is as it was.
std::string saveSearchPaths(const std::string& profileFile, const SearchPathList& list,
                            const SearchPathList& asRead);

} // namespace kovanta::settings
