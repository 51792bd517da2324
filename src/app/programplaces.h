#pragma once

#include <functional>
#include <string>

// Where the program keeps its search path list (kovanta.INI) and its web recipes.
//
// A program run from its build tree, or unpacked into a directory of its own that it may write
// to, keeps both next to the program file, as it always has. An installed program (the program
// directory has the installation's "../share/kovanta/" beside it) or one whose directory cannot
// be written keeps them per user, following the XDG base directories:
//   kovanta.INI   $XDG_CONFIG_HOME/Kovanta/kovanta.INI  (default ~/.config/Kovanta/kovanta.INI)
//   web recipes   $XDG_DATA_HOME/Kovanta/internet/       (default ~/.local/share/Kovanta/internet/)
// An installed program is treated so even when it runs as root, which could write below /usr:
// settings and downloads of one user never belong into the installation.
namespace kovanta {

// The parts of the process environment the places depend on; empty means unset.
struct PlaceEnvironment {
    std::string home;
    std::string xdgConfigHome;
    std::string xdgDataHome;

    // HOME, XDG_CONFIG_HOME and XDG_DATA_HOME of this process.
    static PlaceEnvironment fromProcess();
};

struct ProgramPlaces {
    std::string programDir;   // "/"-terminated
    std::string iniFile;      // the search path list's profile file
    std::string webRecipeDir; // "/"-terminated; created at the first show
    // The installed sample recipes ("<prefix>/share/kovanta/samples/"), empty when the program
    // does not run from an installation.
    std::string samplesDir;
    bool perUser = false; // iniFile and webRecipeDir are the per-user places
};

// True when the effective user may create files in directory (it exists and is writable).
bool directoryWritable(const std::string& directory);

// The places for a program directory ("/"-terminated or not). writable decides whether an
// uninstalled program keeps its files next to itself; it is asked only then (tests hand in
// their own answer). Relative or empty XDG variables are ignored, as the XDG rules say; with
// neither HOME nor the XDG variables the per-user places fall back to the program directory.
ProgramPlaces programPlaces(const std::string& programDir, const PlaceEnvironment& env,
                            const std::function<bool(const std::string&)>& writable =
                                directoryWritable);

} // namespace kovanta
